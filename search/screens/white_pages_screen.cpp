#include "search/screens/white_pages_screen.h"

#include "db/database_program.h"
#include "resources/dernolo/dernolo_ids.h"
#include "search/letter_index.h"
#include "search/screens/list_screen.h"
#include "win32/controls.h"

namespace {

struct WhitePages {
    ListScreen screen;
    // An index line chosen while the firms of another were being listed: listed once that ends.
    bool refillPending;
};

// The one white pages screen while it is open.
WhitePages whitePages;

void layout(HWND dialog)
{
    HWND index = GetDlgItem(dialog, IDC_LETTER_INDEX);
    RECT area;
    listArea(dialog, area);
    // Two rows of pairs, each column as wide as the widest pair is expected to be.
    SIZE pair = {};
    HDC dc = GetDC(index);
    if (dc != nullptr) {
        auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(index, WM_GETFONT, 0, 0));
        HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
        GetTextExtentPoint32W(dc, W("WW"), 2, &pair);
        if (previous != nullptr)
            SelectObject(dc, previous);
        ReleaseDC(index, dc);
    }
    const int width = area.right - area.left;
    const int indexHeight = 2 * pair.cy;
    MoveWindow(index, area.left, area.top, width, indexHeight, TRUE);
    if (pair.cx > 0)
        SendMessageW(index, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(pair.cx), 0);
    const int firmsTop = area.top + indexHeight;
    MoveWindow(GetDlgItem(dialog, IDC_LETTER_FIRMS), area.left, firmsTop, width,
               area.bottom > firmsTop ? area.bottom - firmsTop : 0, TRUE);
}

void closeWhitePages(HWND dialog)
{
    closeListScreen(dialog, whitePages.screen, false);
}

// The firms from the selected index line's first firm up to the next line's, or to the end of the
// firm table after the last line.
void listLetterFirms(HWND dialog)
{
    DirectoryDatabase* db = databaseProgram.current;
    HWND index = GetDlgItem(dialog, IDC_LETTER_INDEX);
    HWND firms = GetDlgItem(dialog, IDC_LETTER_FIRMS);
    if (db == nullptr)
        return;
    if (whitePages.screen.busy > 0) {
        whitePages.refillPending = true;
        return;
    }
    beginBusy(whitePages.screen);
    do {
        whitePages.refillPending = false;
        const LRESULT line = SendMessageW(index, LB_GETCURSEL, 0, 0);
        if (line < 0)
            break;
        const LRESULT lines = SendMessageW(index, LB_GETCOUNT, 0, 0);
        const auto start = static_cast<uint32_t>(SendMessageW(index, LB_GETITEMDATA, static_cast<WPARAM>(line), 0));
        const uint32_t end = line + 1 < lines ? static_cast<uint32_t>(SendMessageW(
                                                    index, LB_GETITEMDATA, static_cast<WPARAM>(line + 1), 0))
                                              : tableLength(*db, tableFirms);
        SendMessageW(firms, LB_RESETCONTENT, 0, 0);
        // A line chosen in the old list is gone with it.
        whitePages.screen.openPending = false;
        ListBoxSink sink(firms, false);
        ScreenBoxHooks hooks(dialog);
        fillLetterFirms(*db, start, end, sink, hooks);
    } while (whitePages.refillPending && !whitePages.screen.closed);
    endBusy(dialog, whitePages.screen);
}

void onInit(HWND dialog)
{
    whitePages = WhitePages{};
    ListScreen& screen = whitePages.screen;
    screen.firmListId = IDC_LETTER_FIRMS;
    screen.helpAnchor = "#t31";
    screen.layout = layout;
    openScreen(dialog, screen.frame);
    layout(dialog);
    HWND index = GetDlgItem(dialog, IDC_LETTER_INDEX);
    if (DirectoryDatabase* db = databaseProgram.current; db != nullptr) {
        ListBoxSink lines(index, false);
        ScreenBoxHooks hooks(dialog);
        fillLetterIndex(*db, lines, hooks);
    }
    // The firms of the first pair show as soon as the screen does.
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_LETTER_INDEX, LBN_SELCHANGE), reinterpret_cast<LPARAM>(index));
}

} // namespace

INT_PTR CALLBACK whitePagesScreenProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        onInit(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_LETTER_INDEX) {
            if (HIWORD(wParam) == LBN_SELCHANGE && !whitePages.screen.closed)
                listLetterFirms(dialog);
            return TRUE;
        }
        if (LOWORD(wParam) == IDC_LETTER_FIRMS) {
            if (HIWORD(wParam) == LBN_SELCHANGE)
                onFirmLineChosen(dialog, whitePages.screen);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return listScreenMessage(dialog, whitePages.screen, message, wParam, lParam, closeWhitePages) ? TRUE : FALSE;
}
