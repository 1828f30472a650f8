// Dialog initialisation and the Done button.
#include "platform/shell/shell_state.h"

using shell::shellState;

BOOL WINAPI SHInitDialog(PSHINITDLGINFO pshidi)
{
    if (pshidi == nullptr || !IsWindow(pshidi->hDlg)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!(pshidi->dwMask & SHIDIM_FLAGS)) return TRUE;
    const DWORD flags = pshidi->dwFlags;
    shell::ShellWindow* tracked = shell::trackWindow(pshidi->hDlg);
    if (tracked == nullptr) return FALSE;
    tracked->initFlags = flags;
    tracked->doneButton = (flags & SHIDIF_DONEBUTTON) != 0;
    if (flags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN)) {
        const RECT r = shell::dialogRectFor(flags);
        MoveWindow(pshidi->hDlg, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    }
    if (flags & SHIDIF_SIPDOWN) SHSipPreference(pshidi->hDlg, SIP_FORCEDOWN);
    shell::requestTaskBarRefresh();
    return TRUE;
}

BOOL WINAPI SHDoneButton(HWND hwndRequester, DWORD dwState)
{
    if (!IsWindow(hwndRequester) || (dwState != SHDB_SHOW && dwState != SHDB_HIDE)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    shell::ShellWindow* tracked = shell::trackWindow(hwndRequester);
    if (tracked == nullptr) return FALSE;
    tracked->doneButton = dwState == SHDB_SHOW;
    shell::refreshTaskBar();
    return TRUE;
}
