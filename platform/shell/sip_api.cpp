// Raising and lowering the input panel, and the calls programs use for it.
#include "platform/shell/shell_state.h"

#include <cstddef>

namespace shell {

namespace {

// The device's record ends with a 32-bit pointer: 48 bytes.
constexpr DWORD deviceSipInfoSize = 48;

bool acceptedSize(DWORD size) { return size == deviceSipInfoSize || size == sizeof(SIPINFO); }

}  // namespace

void showShellWindow(HWND window, bool shown)
{
    if (!IsWindow(window)) return;
    if ((IsWindowVisible(window) != FALSE) == shown) return;
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void showPanel(bool up)
{
    ShellState& s = shellState();
    s.lowerPending = false;
    if (!s.running || s.panelShown == up) return;
    s.panelShown = up;
    if (!up) {
        s.shift = false;
        s.pressedKey = KeyHit{};
    }
    showShellWindow(s.panel, up);
    resizeTrackedDialogs(true);
    announceSettingChange(SPI_SETSIPINFO);
}

}  // namespace shell

using shell::shellState;

BOOL WINAPI SipGetInfo(SIPINFO* pSipInfo)
{
    if (pSipInfo == nullptr || !shellState().running || !shell::acceptedSize(pSipInfo->cbSize)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    pSipInfo->fdwFlags = SIPF_DOCKED | (shellState().panelShown ? SIPF_ON : SIPF_OFF);
    pSipInfo->rcVisibleDesktop = shell::visibleDesktop();
    pSipInfo->rcSipRect = shell::panelRect();
    pSipInfo->dwImDataSize = 0;
    if (pSipInfo->cbSize >= offsetof(SIPINFO, pvImData) + sizeof(void*)) pSipInfo->pvImData = nullptr;
    return TRUE;
}

BOOL WINAPI SipSetInfo(SIPINFO* pSipInfo)
{
    if (pSipInfo == nullptr || !shellState().running || !shell::acceptedSize(pSipInfo->cbSize)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    shell::showPanel((pSipInfo->fdwFlags & SIPF_ON) != 0);
    return TRUE;
}

BOOL WINAPI SipShowIM(DWORD dwFlag)
{
    if (!shellState().running) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    shell::showPanel((dwFlag & SIPF_ON) != 0);
    return TRUE;
}

BOOL WINAPI SHSipPreference(HWND hwnd, SIPSTATE st)
{
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    shell::ShellState& s = shellState();
    if (!s.running) return TRUE;
    switch (st) {
    case SIP_UP:
    case SIP_FORCEUP:
        shell::showPanel(true);
        break;
    case SIP_DOWN:
        if (s.panelShown && !s.lowerPending && IsWindow(s.panel)) {
            s.lowerPending = true;
            PostMessageW(s.panel, shell::lowerPanelMessage, 0, 0);
        }
        break;
    case SIP_FORCEDOWN:
        shell::showPanel(false);
        break;
    case SIP_UNCHANGED:
    case SIP_INPUTDIALOG:
    default:
        break;
    }
    return TRUE;
}
