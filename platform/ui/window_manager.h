// What the host, the device profiles and the test driver tell the window manager besides input
// (input.h), and what they read of it.
#pragma once

#include "win32.h"

#include <string>
#include <string_view>
#include <vector>

namespace ui {

// A presenter shows the screen: message boxes are then drawn as modal boxes instead of being
// written to standard error. A handler already installed with emu::setMessageBoxHandler (the test
// driver's) is kept: it sees every box first.
void setPresenterActive(bool active);
bool presenterActive();

// The drawn message box, for a handler that wants to show a box after looking at it.
int showMessageBox(HWND owner, std::u16string_view text, std::u16string_view caption, UINT style);

// True while the program has set the wait cursor (and not hidden the cursor): the presenter
// draws it over the screen.
bool waitCursorShown();

// Another program of the device comes to the front, or ours comes back. The active window is told
// to cancel its modes (WM_CANCELMODE) and loses activation; GetForegroundWindow gives null
// until programToForeground.
void programToBackground();
void programToForeground();

// Whether top-level windows with WS_CAPTION draw their caption strip themselves (the desktop) or
// leave it to the shell's task bar (the Pocket PC device).
void setCaptionStrips(bool drawn);
// The screen less the shell's bars: where CW_USEDEFAULT and centred windows go, and the full-screen
// metrics. An empty rectangle means the whole screen.
void setWorkArea(const RECT& area);
RECT workArea();

// A run of text a window drew into its client area and has not painted over since, in the order
// drawn, its cell on the screen.
struct ShownText {
    std::u16string text;
    RECT cell{};
};
std::vector<ShownText> shownTexts(HWND window);

// Destroys every window, empties the queue, kills the timers and forgets the program's classes and
// accelerator tables: a fresh window manager for the next test or the next program run.
void resetWindowManager();

}  // namespace ui
