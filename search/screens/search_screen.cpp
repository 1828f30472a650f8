#include "search/screens/search_screen.h"

#include "card/business_card.h"
#include "card/html_pane.h"
#include "db/database_program.h"
#include "resources/dernolo/dernolo_ids.h"
#include "search/completion.h"
#include "search/search_run.h"
#include "search/search_state.h"
#include "search/street_list.h"
#include "search/screens/list_screen.h"
#include "search/screens/rubric_tree_screen.h"
#include "search/screens/search_screen_sinks.h"
#include "shell/button_bar.h"
#include "shell/screen_frame.h"
#include "shell/shell_state.h"
#include "win32/controls.h"

namespace {

// Posted when the theme box's first line is picked: the tree opens once the box has closed its
// list, not from inside the box's own notification.
constexpr UINT chooseThemeMessage = WM_APP + 2;
constexpr int phoneDigits = 9;
// The fields as the search reads them: 99, 39 and 15 characters.
constexpr int nameCapacity = 100;
constexpr int streetCapacity = 40;
constexpr int phoneCapacity = 16;

struct SearchScreen {
    ListScreen list;
    // A search is running: the screen's own input is ignored until it ends (see searchScreenProc).
    bool searching;
    int boxHeight;  // the mode box's field, as created
    int buttonWidth, buttonHeight;
};

// The one search screen while it is open.
SearchScreen search;

DirectoryDatabase* database()
{
    return databaseProgram.current;
}

HWND control(HWND dialog, int id)
{
    return GetDlgItem(dialog, id);
}

void layout(HWND dialog)
{
    if (search.boxHeight <= 0)
        return;
    RECT content;
    contentRect(dialog, content);
    ControlPlace places[searchPlaceCount];
    searchLayout({content.right - content.left, content.bottom, search.boxHeight, search.buttonWidth,
                  search.buttonHeight},
                 places);
    for (const ControlPlace& p : places)
        MoveWindow(control(dialog, p.controlId), content.left + p.x, content.top + p.y, p.width, p.height, TRUE);
}

// The sizes the template gave the mode box's field and the buttons, before any layout moves them.
void measureTemplate(HWND dialog)
{
    RECT r;
    GetWindowRect(control(dialog, IDC_SEARCH_MODE), &r);
    search.boxHeight = r.bottom - r.top;
    GetWindowRect(control(dialog, IDC_SEARCH_CLEAR), &r);
    search.buttonWidth = r.right - r.left;
    search.buttonHeight = r.bottom - r.top;
}

void resetSearchChoices(HWND dialog)
{
    HWND modes = control(dialog, IDC_SEARCH_MODE);
    for (int32_t mode = 0; mode < searchModeCount; ++mode)
        SendMessageW(modes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(searchModeText(mode)));
    SendMessageW(modes, CB_SETCURSEL, modeNameBegins, 0);
    HWND themes = control(dialog, IDC_SEARCH_THEME);
    SendMessageW(themes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W("<<выбрать тему>>")));
    SendMessageW(themes, CB_SETCURSEL, 0, 0);
    if (DirectoryDatabase* db = database(); db != nullptr)
        loadStreetList(streetList, *db);
}

int32_t currentMode(HWND dialog)
{
    const LRESULT mode = SendMessageW(control(dialog, IDC_SEARCH_MODE), CB_GETCURSEL, 0, 0);
    return mode >= 0 && mode < searchModeCount ? static_cast<int32_t>(mode) : modeNameBegins;
}

void closeSearch(HWND dialog)
{
    closeListScreen(dialog, search.list, false);
}

void runSearchFromFields(HWND dialog)
{
    DirectoryDatabase* db = database();
    if (db == nullptr || search.searching || search.list.closed)
        return;
    setInputPanel(dialog, inputPanelLower);
    WCHAR name[nameCapacity] = {};
    WCHAR street[streetCapacity] = {};
    WCHAR phone[phoneCapacity] = {};
    GetDlgItemTextW(dialog, IDC_SEARCH_NAME, name, nameCapacity);
    GetDlgItemTextW(dialog, IDC_SEARCH_STREET, street, streetCapacity);
    GetDlgItemTextW(dialog, IDC_SEARCH_PHONE, phone, phoneCapacity);
    HWND results = control(dialog, IDC_SEARCH_RESULTS);
    SendMessageW(results, LB_RESETCONTENT, 0, 0);

    SearchRequest request;
    request.mode = currentMode(dialog);
    request.name = name;
    request.street = street;
    request.phone = phone;
    search.searching = true;
    beginBusy(search.list);
    int32_t found = 0;
    {
        ListBoxSink lines(results, false);
        ScreenBoxHooks hooks(dialog);
        found = runSearch(*db, request, lines, hooks);
    }
    search.searching = false;
    if (found == searchNeedsConditions)
        SetFocus(control(dialog, IDC_SEARCH_NAME));
    // A single firm is shown at once: its line is selected already.
    if (found == 1 && SendMessageW(results, LB_GETCOUNT, 0, 0) == 1)
        search.list.openPending = true;
    endBusy(dialog, search.list);
}

void clearFields(HWND dialog)
{
    for (int id : {IDC_SEARCH_MODE, IDC_SEARCH_NAME, IDC_SEARCH_THEME, IDC_SEARCH_STREET})
        SendMessageW(control(dialog, id), CB_RESETCONTENT, 0, 0);
    SendMessageW(control(dialog, IDC_SEARCH_RESULTS), LB_RESETCONTENT, 0, 0);
    SetDlgItemTextW(dialog, IDC_SEARCH_PHONE, W(""));
    resetSearchChoices(dialog);
    searchState.rubricChoice.marker = 0;
    SetFocus(control(dialog, IDC_SEARCH_NAME));
}

// The rubric tree asked for one rubric; the chosen title joins the theme box and filters.
void chooseThemeInTree(HWND dialog)
{
    HWND themes = control(dialog, IDC_SEARCH_THEME);
    SendMessageW(themes, CB_SHOWDROPDOWN, FALSE, 0);
    RubricChoice& choice = searchState.rubricChoice;
    choice.marker = choiceAsked;
    DialogBoxParamW(shellState.instanceHandle, MAKEINTRESOURCEW(IDD_RUBRIC_TREE), dialog, rubricTreeScreenProc, 0);
    if (closeIfReturningHome(dialog, search.list.frame)) {
        search.list.closed = true;
        return;
    }
    LRESULT line = CB_ERR;
    if (choice.marker == choiceMade) {
        line = SendMessageW(themes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.title));
        if (line >= 0)
            SendMessageW(themes, CB_SETITEMDATA, static_cast<WPARAM>(line), choice.index);
    }
    // Without a choice (or without room for its line) nothing filters, and the box says so rather
    // than showing an earlier theme that no longer applies.
    if (line < 0) {
        choice.marker = 0;
        line = 0;
    }
    SendMessageW(themes, CB_SETCURSEL, static_cast<WPARAM>(line), 0);
    SetFocus(control(dialog, IDC_SEARCH_RUN));
}

void onThemeSelected(HWND dialog)
{
    HWND themes = control(dialog, IDC_SEARCH_THEME);
    const LRESULT line = SendMessageW(themes, CB_GETCURSEL, 0, 0);
    if (line <= 0) {
        PostMessageW(dialog, chooseThemeMessage, 0, 0);
        return;
    }
    const LRESULT index = SendMessageW(themes, CB_GETITEMDATA, static_cast<WPARAM>(line), 0);
    selectTheme(static_cast<int32_t>(index));
    SendMessageW(themes, CB_SHOWDROPDOWN, FALSE, 0);
    SetFocus(control(dialog, IDC_SEARCH_RUN));
}

void onNameChanged(HWND dialog)
{
    if (DirectoryDatabase* db = database(); db != nullptr) {
        ComboCompletionSink box(control(dialog, IDC_SEARCH_NAME));
        completeName(*db, currentMode(dialog), box.typedText(), box);
    }
}

void onStreetChanged(HWND dialog)
{
    if (DirectoryDatabase* db = database(); db != nullptr) {
        ComboCompletionSink box(control(dialog, IDC_SEARCH_STREET));
        completeStreet(*db, box.typedText(), box);
    }
}

// True when the command was the screen's own.
bool onCommand(HWND dialog, WORD id, WORD code)
{
    switch (id) {
    case IDC_SEARCH_RUN:
        if (code == BN_CLICKED)
            runSearchFromFields(dialog);
        return true;
    case IDC_SEARCH_CLEAR:
        if (code == BN_CLICKED)
            clearFields(dialog);
        return true;
    case IDC_SEARCH_CHOOSE_THEME:
        if (code == BN_CLICKED)
            chooseThemeInTree(dialog);
        return true;
    case IDC_SEARCH_THEME:
        if (code == CBN_SELCHANGE)
            onThemeSelected(dialog);
        return true;
    case IDC_SEARCH_NAME:
        if (code == CBN_EDITCHANGE)
            onNameChanged(dialog);
        return true;
    case IDC_SEARCH_STREET:
        if (code == CBN_EDITCHANGE)
            onStreetChanged(dialog);
        return true;
    case IDC_SEARCH_RESULTS:
        if (code == LBN_SELCHANGE)
            onFirmLineChosen(dialog, search.list);
        return true;
    default:
        return false;
    }
}

// While a search runs, the message pump it calls still delivers the user's taps and keys. A second
// search, a theme choice, a completion or a card would move the firm table under the running scan,
// and a close would end the screen whose list it is filling: all of these are ignored until the
// search ends. A result line tapped meanwhile opens once it has ended, as in every list screen.
bool ignoredWhileSearching(UINT message, WPARAM wParam)
{
    switch (message) {
    case WM_COMMAND:
        return LOWORD(wParam) != IDC_SEARCH_RESULTS;
    case WM_CLOSE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case chooseThemeMessage:
    case cardNextFirmMessage:
        return true;
    default:
        return false;
    }
}

// Help is read with the input panel down.
void lowerPanelBeforeHelp(HWND dialog, LPARAM lParam)
{
    const int slot = hitTestBar(buttonBar, stylusX(lParam), stylusY(lParam));
    if (slot >= 0 && buttonBar.slots[slot].iconId == IDI_BAR_HELP && !pageOpen())
        setInputPanel(dialog, inputPanelLower);
}

} // namespace

INT_PTR CALLBACK searchScreenProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (search.searching && ignoredWhileSearching(message, wParam))
        return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        search = SearchScreen{};
        search.list.firmListId = IDC_SEARCH_RESULTS;
        search.list.helpAnchor = "#t35";
        search.list.layout = layout;
        measureTemplate(dialog);
        openScreen(dialog, search.list.frame);
        resetSearchChoices(dialog);
        SendDlgItemMessageW(dialog, IDC_SEARCH_PHONE, EM_LIMITTEXT, phoneDigits, 0);
        searchState.rubricChoice.marker = 0;
        layout(dialog);
        // The name is typed first: its box takes the focus, which keeps the raised panel up. The
        // dialog is not active yet, so the dialog manager is told which control to focus when it is.
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control(dialog, IDC_SEARCH_NAME)), TRUE);
        setInputPanel(dialog, inputPanelRaise);
        return FALSE;
    case chooseThemeMessage:
        chooseThemeInTree(dialog);
        return TRUE;
    case WM_COMMAND:
        if (onCommand(dialog, LOWORD(wParam), HIWORD(wParam)))
            return TRUE;
        break;
    case WM_LBUTTONUP:
        lowerPanelBeforeHelp(dialog, lParam);
        break;
    case WM_DESTROY:
        // The street list is loaded for this screen's completions; it goes with the screen.
        freeStreetList(streetList);
        return FALSE;
    default:
        break;
    }
    return listScreenMessage(dialog, search.list, message, wParam, lParam, closeSearch) ? TRUE : FALSE;
}
