// The program's windows the shell keeps an eye on: dialogs initialised by SHInitDialog and
// windows with a Done button. Each is subclassed once, so that the task bar strip follows their
// activation, caption and end without any help from the window manager.
#include "platform/shell/shell_state.h"

#include <algorithm>

namespace shell {

namespace {

bool isEditFocusNote(WPARAM wParam)
{
    const WORD code = HIWORD(wParam);
    return code == EN_SETFOCUS || code == EN_KILLFOCUS || code == CBN_SETFOCUS || code == CBN_KILLFOCUS;
}

LRESULT CALLBACK trackedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ShellWindow* tracked = findShellWindow(window);
    const WNDPROC previous = tracked ? tracked->previousProc : nullptr;
    switch (message) {
    case WM_ACTIVATE:
    case WM_SETTEXT:
    case WM_SHOWWINDOW:
        requestTaskBarRefresh();
        break;
    case WM_COMMAND:
        if (tracked && tracked->sipPreference && isEditFocusNote(wParam))
            PostMessageW(tracked->sipPreference, focusMovedMessage, 0, 0);
        break;
    case WM_NCDESTROY: {
        auto& list = shellState().windows;
        list.erase(std::remove_if(list.begin(), list.end(), [window](const ShellWindow& w) { return w.window == window; }),
                   list.end());
        requestTaskBarRefresh();
        break;
    }
    default:
        break;
    }
    if (previous == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

}  // namespace

bool isShellWindow(HWND window)
{
    const ShellState& s = shellState();
    return window != nullptr && (window == s.taskBar || window == s.panel || window == s.panelButton);
}

ShellWindow* findShellWindow(HWND window)
{
    for (ShellWindow& w : shellState().windows)
        if (w.window == window) return &w;
    return nullptr;
}

ShellWindow* trackWindow(HWND window)
{
    if (!IsWindow(window)) return nullptr;
    if (ShellWindow* known = findShellWindow(window)) return known;
    ShellWindow record;
    record.window = window;
    record.previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongW(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&trackedWindowProc)));
    shellState().windows.push_back(record);
    return &shellState().windows.back();
}

RECT dialogRectFor(DWORD initFlags)
{
    const RECT screen = screenBounds();
    RECT r{0, taskBarHeight, screen.right, screen.bottom};
    if (!(initFlags & SHIDIF_FULLSCREENNOMENUBAR)) r.bottom -= menuBarHeight;
    if ((initFlags & SHIDIF_SIZEDLG) && !(initFlags & SHIDIF_SIZEDLGFULLSCREEN) && shellState().panelShown)
        r.bottom = std::min(r.bottom, panelRect().top);
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

void resizeTrackedDialogs(bool panelChangeOnly)
{
    // Copied first: a WM_SIZE handler may end a dialog and so change the list.
    const std::vector<ShellWindow> windows = shellState().windows;
    for (const ShellWindow& w : windows) {
        const DWORD flags = w.initFlags;
        if (!(flags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN))) continue;
        if (panelChangeOnly && !((flags & SHIDIF_SIZEDLG) && !(flags & SHIDIF_SIZEDLGFULLSCREEN))) continue;
        if (!IsWindow(w.window)) continue;
        const RECT r = dialogRectFor(flags);
        MoveWindow(w.window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
}

void announceSettingChange(WPARAM what)
{
    struct Collect {
        static BOOL CALLBACK add(HWND window, LPARAM list)
        {
            if (!isShellWindow(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        }
    };
    std::vector<HWND> tops;
    EnumWindows(&Collect::add, reinterpret_cast<LPARAM>(&tops));
    for (HWND top : tops) PostMessageW(top, WM_SETTINGCHANGE, what, 0);
}

}  // namespace shell
