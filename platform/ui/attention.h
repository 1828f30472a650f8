// How a request from another host process reaches a program that is waiting: the presenters wait
// on the descriptor as well as on their own input, and the SDL presenter lets the window manager
// raise its host window. Header-only, so that the presenters need not link the window manager.
#pragma once

namespace ui {

struct Attention {
    // Readable while another process's request waits to be served; -1 while none can come.
    int descriptor = -1;
    // Brings the presenter's host window to the front; null without a visible one.
    void (*raiseHostWindow)() = nullptr;
};

inline Attention& attention()
{
    static Attention shared;
    return shared;
}

} // namespace ui
