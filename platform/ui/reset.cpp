// A fresh window manager: what tests and a new program run start from.
#include "platform/ui/ui_state.h"
#include "platform/ui/window_manager.h"

namespace ui {

void resetWindowManager()
{
    UiState& s = uiState();
    // Every top-level window goes the platform's way (its procedure sees WM_DESTROY).
    for (int round = 0; round < 8; ++round) {
        const std::vector<HWND> tops = desktopWindow().children;
        if (tops.empty())
            break;
        for (HWND h : tops)
            if (peekWindow(h) != nullptr)
                DestroyWindow(h);
    }
    desktopWindow().children.clear();
    forgetModalDialogs();
    for (const LiveDC& live : s.liveDCs)
        gdi::releaseWindowDC(live.dc);
    s.liveDCs.clear();
    s.posted.clear();
    s.quitPosted = false;
    s.quitCode = 0;
    s.timers.clear();
    s.nextTimerId = 1;
    s.focus = nullptr;
    s.active = nullptr;
    s.capture = nullptr;
    s.inForeground = true;
    s.lastActiveBeforeBackground = nullptr;
    for (BYTE& key : s.keys)
        key = 0;
    for (BYTE& key : s.asyncKeys)
        key = 0;
    s.stylusIsDown = false;
    s.captionPressWindow = nullptr;
    s.captionPressHit = HTNOWHERE;
    s.cursorPos = POINT{0, 0};
    s.cursor = nullptr;
    s.cursorShowCount = 0;
    s.closedForLackOfInput = false;
    s.lastMessageTime = 0;
    s.lastMessagePos = POINT{0, 0};
    // The program's classes go; the window manager's own (named "#...") stay.
    for (WindowClass& c : s.classes) {
        if (!c.name.empty() && c.name[0] == u'#')
            continue;
        c.live = false;
        c.windows = 0;
    }
    resetAcceleratorTables();
    Window& desktop = desktopWindow();
    desktop.invalid.clear();
    desktop.frameDirty = false;
    s.paintMayBePending = true;
}

} // namespace ui
