// The helpers programs call from WM_ACTIVATE and WM_SETTINGCHANGE: each window gets back the
// input panel and the focus it had, and full-screen windows follow the panel and the screen.
#include "platform/shell/shell_state.h"

#include <algorithm>

using shell::shellState;

namespace {

bool isChildOf(HWND parent, HWND child) { return child != nullptr && IsChild(parent, child) != FALSE; }

bool isTopLevel(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0; }

}  // namespace

BOOL WINAPI SHHandleWMActivate(HWND hwnd, WPARAM wParam, LPARAM, SHACTIVATEINFO* psai, DWORD)
{
    if (psai == nullptr || !IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // From now on the strip also hears of this window's caption and of its later switches.
    if (isTopLevel(hwnd)) shell::trackWindow(hwnd);
    const bool panelUp = shellState().panelShown;
    if (LOWORD(wParam) == WA_INACTIVE) {
        psai->fActive = 0;
        psai->fSipOnDeactivation = panelUp ? 1 : 0;
        psai->fSipUp = panelUp ? 1 : 0;
        const HWND focus = GetFocus();
        if (isChildOf(hwnd, focus)) psai->hwndLastFocus = focus;
    } else {
        psai->fActive = 1;
        if (shellState().running && (psai->fSipOnDeactivation != 0) != panelUp)
            SHSipPreference(hwnd, psai->fSipOnDeactivation ? SIP_UP : SIP_FORCEDOWN);
        psai->fSipUp = shellState().panelShown ? 1 : 0;
        if (isChildOf(hwnd, psai->hwndLastFocus) && IsWindowVisible(psai->hwndLastFocus))
            SetFocus(psai->hwndLastFocus);
    }
    shell::requestTaskBarRefresh();
    return TRUE;
}

BOOL WINAPI SHHandleWMSettingChange(HWND hwnd, WPARAM wParam, LPARAM, SHACTIVATEINFO* psai)
{
    if (psai == nullptr || !IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const shell::ShellState& s = shellState();
    psai->fSipUp = s.panelShown ? 1 : 0;
    if (!s.running || !isTopLevel(hwnd)) return TRUE;
    if (wParam != SPI_SETSIPINFO && wParam != SETTINGCHANGE_RESET) return TRUE;
    // A window behind another is not squeezed by a panel raised for the one in front.
    if (wParam == SPI_SETSIPINFO && GetActiveWindow() != hwnd) return TRUE;
    RECT r{};
    GetWindowRect(hwnd, &r);
    if (wParam == SETTINGCHANGE_RESET) {
        const RECT screen = shell::screenBounds();
        r.left = screen.left;
        r.right = screen.right;
        r.top = std::min<LONG>(r.top, std::max<LONG>(screen.bottom - 1, 0));
    }
    r.bottom = s.panelShown ? shell::panelRect().top : shell::screenBounds().bottom;
    if (r.bottom < r.top) r.bottom = r.top;
    MoveWindow(hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    return TRUE;
}
