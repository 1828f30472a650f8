#include "search/screens/firm_list_screen.h"

#include "db/database_program.h"
#include "resources/dernolo/dernolo_ids.h"
#include "search/firm_lists.h"
#include "search/screens/list_screen.h"
#include "search/search_state.h"
#include "shell/shell_state.h"
#include "win32/controls.h"

namespace {

// Posted at opening: the list fills once the screen shows, so that it paints as it grows.
constexpr UINT fillMessage = WM_APP + 1;
// Scroll bars that stay (disabled) when there is nothing to scroll.
constexpr LONG listBars = WS_HSCROLL | LBS_DISABLENOSCROLL;
// The device's list also reports a stylus lifted on a line, with this code.
constexpr WORD lineLifted = 514;

void layout(HWND dialog);

// The one firm list while it is open.
ListScreen firmList;

void layout(HWND dialog)
{
    RECT area;
    listArea(dialog, area);
    MoveWindow(GetDlgItem(dialog, IDC_FIRM_LIST), area.left, area.top, area.right - area.left,
               area.bottom - area.top, TRUE);
}

void closeFirmList(HWND dialog)
{
    closeListScreen(dialog, firmList, false);
}

void fill(HWND dialog)
{
    DirectoryDatabase* db = databaseProgram.current;
    if (db == nullptr)
        return;
    beginBusy(firmList);
    {
        ListBoxSink lines(GetDlgItem(dialog, IDC_FIRM_LIST), true);
        ScreenBoxHooks hooks(dialog);
        fillRubricFirmList(*db, searchState.firmListRequest.firmListRef, lines, hooks);
    }
    endBusy(dialog, firmList);
}

void keepListBars(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_FIRM_LIST);
    const LONG style = GetWindowLongW(list, GWL_STYLE);
    if ((style & listBars) == listBars)
        return;
    SetWindowLongW(list, GWL_STYLE, style | listBars);
    InvalidateRect(list, nullptr, TRUE);
}

} // namespace

INT_PTR CALLBACK firmListScreenProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        firmList = ListScreen{};
        firmList.firmListId = IDC_FIRM_LIST;
        firmList.layout = layout;
        openScreen(dialog, firmList.frame);
        layout(dialog);
        PostMessageW(dialog, fillMessage, 0, 0);
        return TRUE;
    case fillMessage:
        fill(dialog);
        return TRUE;
    case WM_PAINT:
        keepListBars(dialog);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_FIRM_LIST) {
            // A tap, a double tap or a key that moves the selection: each opens the card.
            const WORD code = HIWORD(wParam);
            if (code == LBN_SELCHANGE || code == LBN_DBLCLK || code == lineLifted)
                onFirmLineChosen(dialog, firmList);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return listScreenMessage(dialog, firmList, message, wParam, lParam, closeFirmList) ? TRUE : FALSE;
}

void openFirmListScreen(HWND owner)
{
    DialogBoxParamW(shellState.instanceHandle, MAKEINTRESOURCEW(IDD_FIRM_LIST), owner, firmListScreenProc, 0);
}
