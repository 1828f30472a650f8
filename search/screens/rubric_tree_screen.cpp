#include "search/screens/rubric_tree_screen.h"

#include "card/html_pane.h"
#include "db/database_program.h"
#include "resources/dernolo/dernolo_ids.h"
#include "search/rubric_table.h"
#include "search/screens/firm_list_screen.h"
#include "search/screens/list_screen.h"
#include "search/search_state.h"
#include "shell/button_bar.h"
#include "shell/favourites.h"
#include "shell/home_screen.h"
#include "shell/screen_frame.h"
#include "shell/screen_protocol.h"
#include "shell/shell_state.h"
#include "win32/commctrl.h"
#include "win32/controls.h"

namespace {

constexpr int itemTextCapacity = 128;  // 127 characters and the 0
constexpr int favouriteByteLimit = 1000;
constexpr int quarterPixels = 4;
constexpr int stylusSamples = 16;
constexpr COLORREF itemColour = RGB(150, 75, 150);
constexpr COLORREF itemBackground = RGB(255, 255, 255);
constexpr const char* helpAnchor = "#t32";

const WCHAR hintFormat[] = W("Коснитесь названия %s, чтобы выбрать её%s");
const WCHAR* const hintNoun[2] = {W("темы"), W("рубрики")};
const WCHAR* const hintTail[2] = {W(", а знака [+], чтобы раскрыть уровень."),
                                  W(", удерживайте прижатым стилус, чтобы выбрать несколько рубрик.")};
const WCHAR favouriteQuestion[] = W("Добавить в избранное\r\n'%s'?");
const WCHAR confirmCaption[] = W("ПОДТВЕРДИТЕ");

struct RubricTreeScreen {
    ScreenFrame frame;
    HWND tree;
    int bandHeight;              // the hint band above the tree in a choice, else 0
    bool clearSelectionPending;  // until the first background erase
    bool ignoreNextSelection;    // a flat-list tap selects its item itself
    WCHAR itemText[itemTextCapacity];
};

// The one rubric tree while it is open.
RubricTreeScreen screen;

// `format` with each "%s" replaced by the next argument, cut at the capacity.
void formatText(WCHAR* out, int capacity, const WCHAR* format, const WCHAR* first, const WCHAR* second = nullptr)
{
    const WCHAR* arguments[2] = {first, second};
    int next = 0;
    int length = 0;
    for (const WCHAR* f = format; *f != 0 && length < capacity - 1; ++f) {
        if (f[0] == '%' && f[1] == 's' && next < 2) {
            for (const WCHAR* a = arguments[next++]; a != nullptr && *a != 0 && length < capacity - 1; ++a)
                out[length++] = *a;
            ++f;
            continue;
        }
        out[length++] = *f;
    }
    out[length] = 0;
}

// The tree control as the rubric table's build fills it.
class ControlTree : public TreeSink {
public:
    explicit ControlTree(HWND control) : tree(control) {}

    TreeItem insertLastChild(TreeItem parent, const WCHAR* text) override
    {
        TVINSERTSTRUCTW insert = {};
        insert.hParent = parent == 0 ? TVI_ROOT : reinterpret_cast<HTREEITEM>(parent);
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<LPWSTR>(text);
        return reinterpret_cast<TreeItem>(TreeView_InsertItem(tree, &insert));
    }

    void sortChildren(TreeItem parent) override
    {
        const HTREEITEM item = parent == 0 ? TVI_ROOT : reinterpret_cast<HTREEITEM>(parent);
        SendMessageW(tree, TVM_SORTCHILDREN, FALSE, reinterpret_cast<LPARAM>(item));
    }

private:
    HWND tree;
};

bool flatList() { return searchState.flatMode == 1; }
bool choiceAskedFor() { return searchState.rubricChoice.marker == choiceAsked; }

void layout(HWND dialog)
{
    RECT content;
    contentRect(dialog, content);
    screen.bandHeight = choiceAskedFor() ? (content.bottom - content.top) / 6 : 0;
    RECT above;
    listArea(dialog, above);
    const int height = above.bottom > screen.bandHeight ? above.bottom - screen.bandHeight : 0;
    MoveWindow(screen.tree, content.left, screen.bandHeight, content.right - content.left, height, TRUE);
    if (screen.bandHeight > 0) {
        const RECT band = {0, 0, content.right, screen.bandHeight};
        InvalidateRect(dialog, &band, TRUE);
    }
}

// The text of `item` (at most 127 characters) into screen.itemText; false for no item.
bool fetchItemText(HTREEITEM item)
{
    screen.itemText[0] = 0;
    if (item == nullptr)
        return false;
    TVITEMW fields = {};
    fields.mask = TVIF_TEXT;
    fields.hItem = item;
    fields.pszText = screen.itemText;
    fields.cchTextMax = itemTextCapacity;
    return TreeView_GetItem(screen.tree, &fields) != FALSE;
}

// The item under the stylus's latest point: the digitizer reports quarter pixels of the screen.
HTREEITEM itemUnderStylus()
{
    POINT samples[stylusSamples];
    UINT count = 0;
    if (!GetMouseMovePoints(samples, stylusSamples, &count) || count == 0)
        return nullptr;
    TVHITTESTINFO hit = {};
    hit.pt = POINT{samples[count - 1].x / quarterPixels, samples[count - 1].y / quarterPixels};
    ScreenToClient(screen.tree, &hit.pt);
    return TreeView_HitTest(screen.tree, &hit);
}

void closeTree(HWND dialog)
{
    closeScreen(dialog, screen.frame, IDOK);
}

// The firm list of searchState.firmListRequest over this screen, which closes too when the list
// was left by the home button.
void showFirmList(HWND dialog)
{
    openFirmListScreen(dialog);
    closeIfReturningHome(dialog, screen.frame);
}

// A tap opened the item whose text is in screen.itemText: a choice, a firm list, or nothing.
void openItem(HWND dialog, HTREEITEM item)
{
    switch (openRubric(findRubricEntry(reinterpret_cast<TreeItem>(item)), screen.itemText)) {
    case rubricChosen:
        closeTree(dialog);
        break;
    case rubricFirmList:
        setInputPanel(dialog, inputPanelLower);
        layout(dialog);
        showFirmList(dialog);
        break;
    default:
        break;
    }
}

// Right or Enter: the selected rubric's firm list in every mode, a choice included; a heading
// leaves the key to the tree (Right opens its level).
void onTreeKey(HWND dialog, WORD key)
{
    if (key != VK_RIGHT && key != VK_RETURN)
        return;
    const HTREEITEM selected = TreeView_GetSelection(screen.tree);
    if (openRubricFirmList(findRubricEntry(reinterpret_cast<TreeItem>(selected))) == rubricFirmList)
        showFirmList(dialog);
}

// In the flat list a tap opens its item even when it is selected already, so the screen answers the
// click itself. True when the tree must not select by itself.
bool onFlatClick(HWND dialog)
{
    const HTREEITEM item = itemUnderStylus();
    if (item == nullptr)
        return false;
    fetchItemText(item);
    screen.ignoreNextSelection = true;
    TreeView_SelectItem(screen.tree, item);
    // A tap on the selected item changes nothing and so has no notification to swallow.
    screen.ignoreNextSelection = false;
    openItem(dialog, item);
    return true;
}

void onSelectionChanged(HWND dialog, const NMTREEVIEWW& change)
{
    if (screen.ignoreNextSelection) {
        screen.ignoreNextSelection = false;
        return;
    }
    if (flatList() || change.action != TVC_BYMOUSE || change.itemNew.hItem == nullptr)
        return;
    fetchItemText(change.itemNew.hItem);
    openItem(dialog, change.itemNew.hItem);
}

// Tap-and-hold in the flat list: the rubric under the stylus, else the selected one, after a
// question; the screen stays open whatever the answer.
void offerFavourite(HWND dialog)
{
    const HTREEITEM item = itemUnderStylus();
    if (item == nullptr && TreeView_GetSelection(screen.tree) == nullptr)
        return;
    if (item != nullptr)
        fetchItemText(item);
    WCHAR question[itemTextCapacity + 64];
    formatText(question, sizeof question / sizeof question[0], favouriteQuestion, screen.itemText);
    if (MessageBoxW(dialog, question, confirmCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (appendFavourite(screen.itemText, favouriteByteLimit) != favouriteWritten)
        return;
    loadFavourites();
    layoutTiles(shellState.mainWindow);
}

LRESULT onCustomDraw(NMTVCUSTOMDRAW& draw)
{
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        SelectObject(draw.nmcd.hdc, textStyle(3).font);
        draw.clrText = itemColour;
        draw.clrTextBk = itemBackground;
        return CDRF_NEWFONT;
    default:
        return CDRF_DODEFAULT;
    }
}

LRESULT onTreeNotify(HWND dialog, NMHDR& header)
{
    if (header.code == NM_CUSTOMDRAW)
        return onCustomDraw(reinterpret_cast<NMTVCUSTOMDRAW&>(header));
    // The selected rubric's text first: a hold outside any item offers it.
    fetchItemText(TreeView_GetSelection(screen.tree));
    switch (header.code) {
    case TVN_SELCHANGEDW:
        onSelectionChanged(dialog, reinterpret_cast<const NMTREEVIEWW&>(header));
        return 0;
    case NM_CLICK:
        return flatList() && onFlatClick(dialog) ? 1 : 0;
    case TVN_KEYDOWN:
        onTreeKey(dialog, reinterpret_cast<const NMTVKEYDOWN&>(header).wVKey);
        return 0;
    case GN_CONTEXTMENU:
        if (flatList())
            offerFavourite(dialog);
        return 0;
    default:
        return 0;
    }
}

void paintBand(HDC dc, int width)
{
    const TextStyle& style = textStyle(6);
    HGDIOBJ previousPen = SelectObject(dc, style.pen);
    HGDIOBJ previousBrush = SelectObject(dc, style.brush);
    Rectangle(dc, 0, 0, width, screen.bandHeight);

    const int flat = flatList() ? 1 : 0;
    WCHAR hint[200];
    formatText(hint, sizeof hint / sizeof hint[0], hintFormat, hintNoun[flat], hintTail[flat]);
    HGDIOBJ previousFont = SelectObject(dc, style.font);
    SetBkMode(dc, TRANSPARENT);
    const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
    RECT measured = {0, 0, width, screen.bandHeight};
    DrawTextW(dc, hint, -1, &measured, format | DT_CALCRECT);
    const int textHeight = measured.bottom - measured.top;
    RECT text = {0, (screen.bandHeight - textHeight) / 2, width, 0};
    text.bottom = text.top + textHeight;
    DrawTextW(dc, hint, -1, &text, format);
    SelectObject(dc, previousFont);
    SelectObject(dc, previousBrush);
    SelectObject(dc, previousPen);
}

bool onPaint(HWND dialog)
{
    if (paintUnderPage(dialog))
        return false;
    PAINTSTRUCT paint;
    HDC dc = beginScreenPaint(dialog, paint);
    if (dc == nullptr)
        return true;
    if (screen.bandHeight > 0) {
        RECT client;
        GetClientRect(dialog, &client);
        paintBand(dc, client.right - client.left);
    }
    EndPaint(dialog, &paint);
    return true;
}

void selectNextVisible()
{
    const HTREEITEM selected = TreeView_GetSelection(screen.tree);
    const HTREEITEM next = selected != nullptr ? TreeView_GetNextVisible(screen.tree, selected) : nullptr;
    if (next != nullptr)
        TreeView_SelectItem(screen.tree, next);
}

void onBarAction(HWND dialog, int iconId)
{
    if (pageBarAction(dialog, iconId))
        return;
    switch (iconId) {
    case IDI_BAR_FORWARD:
        selectNextVisible();
        break;
    case IDI_BAR_BACK:
        closeTree(dialog);
        break;
    case IDI_BAR_HOME:
        closeScreenHome(dialog, screen.frame);
        break;
    case IDI_BAR_HELP:
        if (!pageOpen())
            openScreenHelp(dialog, helpAnchor);
        break;
    case IDI_BAR_EXIT:
        endProgram(dialog, screen.frame);
        break;
    case IDI_BAR_KEYBOARD:
        setInputPanel(dialog, setInputPanel(shellState.mainWindow, inputPanelQuery) != 0 ? inputPanelLower
                                                                                        : inputPanelRaise);
        layout(dialog);
        break;
    default:
        break;
    }
}

void onInit(HWND dialog)
{
    screen = RubricTreeScreen{};
    screen.tree = GetDlgItem(dialog, IDC_RUBRIC_TREE);
    openScreen(dialog, screen.frame);
    setInputPanel(dialog, inputPanelLower);
    // Rows as high as the items' own font.
    SendMessageW(screen.tree, WM_SETFONT, reinterpret_cast<WPARAM>(textStyle(3).font), FALSE);
    layout(dialog);
    if (DirectoryDatabase* db = databaseProgram.current; db != nullptr) {
        ControlTree sink(screen.tree);
        ScreenBoxHooks hooks(dialog);
        buildRubricTable(*db, &sink, hooks);
    }
    // The first tap on any item, the first one included, must be a selection change.
    screen.clearSelectionPending = true;
}

} // namespace

INT_PTR CALLBACK rubricTreeScreenProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        // TRUE: the dialog gives the keys to its first control, the tree.
        onInit(dialog);
        return TRUE;
    case WM_SIZE:
        if (screen.tree != nullptr)
            layout(dialog);
        return TRUE;
    case WM_DESTROY:
        screen.tree = nullptr;
        return FALSE;
    case WM_ERASEBKGND:
        if (screen.clearSelectionPending) {
            screen.clearSelectionPending = false;
            TreeView_SelectItem(screen.tree, nullptr);
        }
        return FALSE;
    case WM_PAINT:
        return onPaint(dialog) ? TRUE : FALSE;
    case WM_LBUTTONDOWN:
        pressBarAt(dialog, stylusX(lParam), stylusY(lParam));
        return TRUE;
    case WM_LBUTTONUP:
        if (const int iconId = releaseBarAt(dialog, stylusX(lParam), stylusY(lParam)); iconId != 0)
            onBarAction(dialog, iconId);
        return TRUE;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header == nullptr || header->hwndFrom != screen.tree || screen.tree == nullptr)
            return screenFrameMessage(dialog, message, wParam, lParam, closeTree) ? TRUE : FALSE;
        SetWindowLongW(dialog, DWL_MSGRESULT, static_cast<LONG>(onTreeNotify(dialog, *header)));
        return TRUE;
    }
    default:
        return screenFrameMessage(dialog, message, wParam, lParam, closeTree) ? TRUE : FALSE;
    }
}
