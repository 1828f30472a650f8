// Full screen: the task bar strip and the input panel's button come and go.
#include "platform/shell/shell_state.h"

using shell::shellState;

BOOL WINAPI SHFullScreen(HWND hwndRequester, DWORD dwState)
{
    if (!IsWindow(hwndRequester)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    shell::ShellState& s = shellState();
    if (!s.running) return TRUE;
    if ((GetWindowLongW(hwndRequester, GWL_STYLE) & WS_CHILD) == 0) shell::trackWindow(hwndRequester);
    if ((dwState & SHFS_SHOWTASKBAR) && (dwState & SHFS_HIDETASKBAR)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if ((dwState & SHFS_SHOWSIPBUTTON) && (dwState & SHFS_HIDESIPBUTTON)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (dwState & (SHFS_SHOWTASKBAR | SHFS_HIDETASKBAR)) {
        const bool shown = (dwState & SHFS_SHOWTASKBAR) != 0;
        if (s.taskBarShown != shown) {
            s.taskBarShown = shown;
            shell::showShellWindow(s.taskBar, shown);
            shell::applyWorkArea();
        }
    }
    if (dwState & (SHFS_SHOWSIPBUTTON | SHFS_HIDESIPBUTTON)) {
        s.panelButtonShown = (dwState & SHFS_SHOWSIPBUTTON) != 0;
        shell::showShellWindow(s.panelButton, s.panelButtonShown);
    }
    shell::refreshTaskBar();
    return TRUE;
}
