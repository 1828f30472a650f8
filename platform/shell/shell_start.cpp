// Starting and stopping the shell, and following the screen when it turns.
#include "platform/shell/shell.h"

#include "platform/shell/shell_state.h"
#include "platform/ui/window_manager.h"

namespace shell {

namespace {

HFONT makeFont(int pixels, int weight)
{
    return CreateFontW(-pixels, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0,
                       u"Tahoma");
}

// Turning clears the framebuffer: every window draws itself again, frame included, and so does
// the desktop where no window covers it (the strip above a full-screen program, say).
void repaintEverything()
{
    struct Repaint {
        static BOOL CALLBACK one(HWND window, LPARAM)
        {
            if (IsWindowVisible(window))
                SetWindowPos(window, nullptr, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            return TRUE;
        }
    };
    EnumWindows(&Repaint::one, 0);
    InvalidateRect(nullptr, nullptr, TRUE);
}

void destroyShellWindow(HWND& window)
{
    const HWND doomed = window;
    window = nullptr;
    if (IsWindow(doomed)) DestroyWindow(doomed);
}

void releaseFonts(ShellState& s)
{
    if (s.captionFont) DeleteObject(s.captionFont);
    if (s.keyFont) DeleteObject(s.keyFont);
    s.captionFont = nullptr;
    s.keyFont = nullptr;
}

}  // namespace

void startShell()
{
    stopShell();
    ShellState& s = shellState();
    s.running = true;
    // Captions are the strip's on the device: windows no longer draw their own.
    ui::setCaptionStrips(false);
    s.captionFont = makeFont(12, FW_BOLD);
    s.keyFont = makeFont(11, FW_NORMAL);
    registerTaskBarClass();
    registerPanelClasses();
    s.taskBar = createTaskBar();
    s.panel = createPanel();
    s.panelButton = createPanelButton();
    applyWorkArea();
    refreshTaskBar();
}

void stopShell()
{
    ShellState& s = shellState();
    destroyShellWindow(s.taskBar);
    destroyShellWindow(s.panel);
    destroyShellWindow(s.panelButton);
    releaseFonts(s);
    // Windows that outlive the shell stay subclassed: their records keep the procedures they chain to.
    std::vector<ShellWindow> windows;
    for (const ShellWindow& w : s.windows)
        if (IsWindow(w.window)) windows.push_back(w);
    s = ShellState{};
    s.windows = std::move(windows);
    ui::setWorkArea(RECT{0, 0, 0, 0});
    ui::setCaptionStrips(true);
}

bool shellRunning() { return shellState().running; }

void screenTurned(int, int)
{
    ShellState& s = shellState();
    if (!s.running) return;
    placeShellWindows();
    applyWorkArea();
    resizeTrackedDialogs(false);
    announceSettingChange(SETTINGCHANGE_RESET);
    repaintEverything();
}

}  // namespace shell
