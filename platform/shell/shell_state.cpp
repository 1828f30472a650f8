// The shell's state and where its strips and panel lie on the screen.
#include "platform/shell/shell_state.h"

#include "platform/gdi/screen.h"
#include "platform/ui/window_manager.h"

namespace shell {

ShellState& shellState()
{
    static ShellState state;
    return state;
}

RECT screenBounds()
{
    const gdi::Framebuffer& screen = gdi::screen();
    return RECT{0, 0, screen.width, screen.height};
}

RECT taskBarRect()
{
    const RECT screen = screenBounds();
    return RECT{0, 0, screen.right, taskBarHeight};
}

// Above the menu bar's strip, as on the device: a screen's own bar at its foot stays reachable.
RECT panelRect()
{
    const RECT screen = screenBounds();
    const int bottom = screen.bottom - menuBarHeight;
    return RECT{0, bottom - sipHeight, screen.right, bottom};
}

RECT panelButtonRect()
{
    const RECT screen = screenBounds();
    return RECT{screen.right - sipButtonWidth, screen.bottom - menuBarHeight, screen.right, screen.bottom};
}

RECT visibleDesktop()
{
    const ShellState& s = shellState();
    RECT area = screenBounds();
    if (s.running && s.taskBarShown) area.top = taskBarHeight;
    if (s.running && s.panelShown) area.bottom = panelRect().top;
    return area;
}

void applyWorkArea()
{
    const ShellState& s = shellState();
    RECT area = screenBounds();
    if (s.running && s.taskBarShown) area.top = taskBarHeight;
    ui::setWorkArea(area);
}

void placeShellWindows()
{
    ShellState& s = shellState();
    const auto place = [](HWND window, const RECT& r) {
        if (IsWindow(window))
            SetWindowPos(window, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
    };
    place(s.taskBar, taskBarRect());
    place(s.panel, panelRect());
    place(s.panelButton, panelButtonRect());
}

}  // namespace shell
