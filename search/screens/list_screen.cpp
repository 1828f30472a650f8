#include "search/screens/list_screen.h"

#include "card/html_pane.h"
#include "ce.h"
#include "resources/dernolo/dernolo_ids.h"
#include "search/screens/firm_card.h"
#include "shell/button_bar.h"
#include "shell/screen_frame.h"
#include "shell/shell_state.h"
#include "win32/controls.h"

namespace {

// The list draws its text this far in from its left edge; the extent includes both margins.
constexpr int lineMargins = 4;
// Nearly all text of an edition is Latin and Cyrillic: their widths are kept by character.
constexpr WCHAR keptWidths = 0x500;

// The line after the selected one, the first after the last or when none is selected. The new
// line, or -1 for an empty list.
int selectNextLine(HWND list)
{
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    if (count <= 0)
        return -1;
    const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    const LRESULT next = selected < 0 || selected + 1 >= count ? 0 : selected + 1;
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(next), 0);
    return static_cast<int>(next);
}

void openSelectedFirm(HWND dialog, ListScreen& screen)
{
    HWND list = GetDlgItem(dialog, screen.firmListId);
    const LRESULT line = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (line < 0)
        return;
    const LRESULT value = SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(line), 0);
    if (value < 0 || value > 0xFFFFFFFF)
        return;
    if (readFirmForCard(static_cast<uint32_t>(value)) != 0)
        return;
    setInputPanel(dialog, inputPanelLower);
    screen.layout(dialog);
    ++screen.busy;
    openFirmCard(dialog);
    --screen.busy;
    if (closeIfReturningHome(dialog, screen.frame)) {
        screen.closed = true;
        return;
    }
    endBusy(dialog, screen);
}

void relayout(HWND dialog)
{
    RECT client;
    GetClientRect(dialog, &client);
    SendMessageW(dialog, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

void onBarAction(HWND dialog, ListScreen& screen, int iconId)
{
    if (pageBarAction(dialog, iconId))
        return;
    switch (iconId) {
    case IDI_BAR_FORWARD:
        // Only the selection moves: the card opens from the card's own forward button.
        selectNextLine(GetDlgItem(dialog, screen.firmListId));
        break;
    case IDI_BAR_BACK:
        closeListScreen(dialog, screen, false);
        break;
    case IDI_BAR_HOME:
        closeListScreen(dialog, screen, true);
        break;
    case IDI_BAR_HELP:
        openScreenHelp(dialog, screen.helpAnchor);
        break;
    case IDI_BAR_EXIT:
        screen.closed = true;
        endProgram(dialog, screen.frame);
        break;
    case IDI_BAR_KEYBOARD:
        setInputPanel(dialog, setInputPanel(shellState.mainWindow, inputPanelQuery) != 0 ? inputPanelLower
                                                                                         : inputPanelRaise);
        relayout(dialog);
        break;
    default:
        break;
    }
}

void onNextFirm(HWND dialog, const ListScreen& screen)
{
    if (pageOpen()) {
        historyForward(*pageViewer.currentPane);
        return;
    }
    HWND list = GetDlgItem(dialog, screen.firmListId);
    if (selectNextLine(list) >= 0)
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(screen.firmListId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

} // namespace

ListBoxSink::ListBoxSink(HWND box, bool measure) : list(box)
{
    if (!measure)
        return;
    dc = GetDC(list);
    if (dc != nullptr) {
        widths.assign(keptWidths, -1);
        auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0));
        if (font != nullptr)
            previousFont = SelectObject(dc, font);
    }
}

ListBoxSink::~ListBoxSink()
{
    if (dc == nullptr)
        return;
    if (previousFont != nullptr)
        SelectObject(dc, previousFont);
    ReleaseDC(list, dc);
}

bool ListBoxSink::addLine(const WCHAR* text, ItemValue value)
{
    const LRESULT line = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (line == LB_ERRSPACE || line == LB_ERR)
        return false;
    SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(line), static_cast<LPARAM>(value));
    if (dc == nullptr)
        return true;
    if (const int width = lineWidth(text); width >= 0 && width + lineMargins > widest) {
        widest = width + lineMargins;
        SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest), 0);
    }
    return true;
}

int ListBoxSink::lineWidth(const WCHAR* text)
{
    int width = 0;
    for (const WCHAR* c = text; *c != 0; ++c) {
        int one = *c < keptWidths ? widths[*c] : -1;
        if (one < 0) {
            one = characterWidth(*c);
            if (one < 0)
                return -1;
            if (*c < keptWidths)
                widths[*c] = one;
        }
        width += one;
    }
    return width;
}

int ListBoxSink::characterWidth(WCHAR character)
{
    SIZE size = {};
    return GetTextExtentPoint32W(dc, &character, 1, &size) ? static_cast<int>(size.cx) : -1;
}

void ListBoxSink::selectLine(int32_t index)
{
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int ScreenBoxHooks::messageBox(const WCHAR* text, const WCHAR* caption, UINT type)
{
    return MessageBoxW(owner, text, caption, type);
}

void ScreenBoxHooks::showWaitCursor()
{
    // Operations show the wait cursor again in their inner steps: only the cursor from before the
    // first is the one to restore.
    HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    HCURSOR before = SetCursor(wait);
    if (before != wait)
        previous = before;
}

void ScreenBoxHooks::restoreCursor()
{
    SetCursor(previous != nullptr ? previous : LoadCursorW(nullptr, IDC_ARROW));
}

void ScreenBoxHooks::pumpMessages()
{
    ::pumpMessages();
}

void listArea(HWND dialog, RECT& area)
{
    contentRect(dialog, area);
    if (setInputPanel(shellState.mainWindow, inputPanelQuery) == 0)
        return;
    SIPINFO info = {};
    info.cbSize = sizeof info;
    if (SipGetInfo(&info))
        area.bottom -= info.rcSipRect.bottom - info.rcSipRect.top;
    if (area.bottom < area.top)
        area.bottom = area.top;
}

void beginBusy(ListScreen& screen)
{
    ++screen.busy;
}

void endBusy(HWND dialog, ListScreen& screen)
{
    if (screen.busy > 0)
        --screen.busy;
    if (screen.busy > 0 || !screen.openPending || screen.closed)
        return;
    screen.openPending = false;
    openSelectedFirm(dialog, screen);
}

void onFirmLineChosen(HWND dialog, ListScreen& screen)
{
    if (screen.closed)
        return;
    if (screen.busy > 0) {
        screen.openPending = true;
        return;
    }
    openSelectedFirm(dialog, screen);
}

void closeListScreen(HWND dialog, ListScreen& screen, bool home)
{
    screen.closed = true;
    if (home)
        closeScreenHome(dialog, screen.frame);
    else
        closeScreen(dialog, screen.frame, IDOK);
}

bool listScreenMessage(HWND dialog, ListScreen& screen, UINT message, WPARAM wParam, LPARAM lParam,
                       void (*close)(HWND dialog))
{
    switch (message) {
    case WM_PAINT:
        return paintScreenFrame(dialog);
    case WM_SIZE:
        screen.layout(dialog);
        return true;
    case WM_LBUTTONDOWN:
        pressBarAt(dialog, stylusX(lParam), stylusY(lParam));
        return true;
    case WM_LBUTTONUP:
        if (const int iconId = releaseBarAt(dialog, stylusX(lParam), stylusY(lParam)); iconId != 0)
            onBarAction(dialog, screen, iconId);
        return true;
    case cardNextFirmMessage:
        onNextFirm(dialog, screen);
        return true;
    default:
        return screenFrameMessage(dialog, message, wParam, lParam, close);
    }
}
