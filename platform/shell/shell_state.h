// The shell's program-wide state, in one record, and the operations its files share. One thread
// uses it.
#pragma once

#include "ce.h"
#include "win32/controls.h"
#include "platform/shell/sip_layouts.h"

#include <string>
#include <vector>

namespace shell {

// The task bar strip at the top and the menu bar's strip at the bottom (kept free by the panel)
// are as high as the device's bars.
constexpr int taskBarHeight = 26;
constexpr int menuBarHeight = 26;
constexpr int sipHeight = 80;
constexpr int sipButtonWidth = 28;

// Private messages of the shell's windows.
constexpr UINT refreshMessage = WM_USER + 1;      // task bar: look at the foreground window again
constexpr UINT lowerPanelMessage = WM_USER + 2;  // panel: a deferred SIP_DOWN is due
constexpr UINT focusMovedMessage = WM_USER + 3;  // preference control: the focus moved

// A window the shell has met through SHInitDialog or SHDoneButton.
struct ShellWindow {
    HWND window = nullptr;
    DWORD initFlags = 0;
    bool doneButton = false;
    WNDPROC previousProc = nullptr;
    // The dialog's input-panel preference control, told when the focus moves between controls.
    HWND sipPreference = nullptr;
};

struct ShellState {
    bool running = false;
    HWND taskBar = nullptr;
    HWND panel = nullptr;
    HWND panelButton = nullptr;
    HFONT captionFont = nullptr;
    HFONT keyFont = nullptr;

    bool taskBarShown = true;
    bool panelButtonShown = true;
    bool panelShown = false;
    bool lowerPending = false;

    SipLayout layout = SipLayout::russian;
    bool shift = false;
    KeyHit pressedKey;
    bool okPressed = false;
    bool panelButtonPressed = false;

    // What the strip shows now, to repaint only when it changes.
    HWND shownWindow = nullptr;
    std::u16string shownCaption;
    bool shownDone = false;

    std::vector<ShellWindow> windows;
};

ShellState& shellState();

// ---- geometry (shell_state.cpp) -------------------------------------------------------------

RECT screenBounds();
RECT panelRect();
RECT taskBarRect();
RECT panelButtonRect();
// The screen less the shown strip and the shown panel.
RECT visibleDesktop();
// The work area follows the strip: below it while shown, the whole screen while hidden.
void applyWorkArea();
// Moves the shell's windows to where the screen's size puts them.
void placeShellWindows();

// ---- windows the shell tracks (shell_windows.cpp) -------------------------------------------

bool isShellWindow(HWND window);
ShellWindow* findShellWindow(HWND window);
// Tracks the window (subclassing it once, so the strip hears of its activation, caption and end).
ShellWindow* trackWindow(HWND window);
// Where SHInitDialog's flags put a dialog on the screen now.
RECT dialogRectFor(DWORD initFlags);
// Resizes every dialog sized to the screen (after a turn or a panel change).
void resizeTrackedDialogs(bool panelChangeOnly);
// Posts WM_SETTINGCHANGE to the program's top-level windows.
void announceSettingChange(WPARAM what);

// ---- the task bar strip (task_bar.cpp) ------------------------------------------------------

void registerTaskBarClass();
HWND createTaskBar();
// Repaints the strip when the foreground window, its caption or its Done button changed.
void refreshTaskBar();
void requestTaskBarRefresh();

// ---- the input panel (sip_panel.cpp, sip_button.cpp, sip_api.cpp) ---------------------------

void registerPanelClasses();
void registerPanelButtonClass();
HWND createPanel();
HWND createPanelButton();
// Raises or lowers the panel; tells the program when that changed something.
void showPanel(bool up);
void showShellWindow(HWND window, bool shown);

}  // namespace shell
