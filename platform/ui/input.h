// The contract between the window manager (ui/) and whoever feeds it: the presenters of host/
// and the test driver of testing/.
//
// Input arrives in screen pixels of the device framebuffer (gdi::screen()); the window manager
// turns it into the platform's messages (WM_LBUTTONDOWN ..., WM_KEYDOWN, WM_CHAR) for the window
// under the stylus, the capture window or the focus window, and queues them.
//
// When the queue is empty and nothing is left to paint, GetMessage does not spin: it calls the
// idle handler, which shows the framebuffer and blocks until input or the next timer is due.
#pragma once

#include "win32/types.h"

namespace ui {

void stylusDown(int x, int y);
void stylusMove(int x, int y);
void stylusUp(int x, int y);
// Virtual-key codes (VK_*); the window manager keeps the key state GetKeyState reports.
void keyDown(UINT virtualKey);
void keyUp(UINT virtualKey);
// One typed character (after the host's own keyboard layout), sent as WM_CHAR to the focus.
void character(WCHAR ch);

// Milliseconds until the next timer is due, or -1 when no timer runs.
int msUntilNextTimer();

// The idle handler is called with the longest time it may block (-1: until input). It returns
// false when the host wants the program to end (its window was closed): the window manager then
// sends WM_CLOSE to the program's top-level windows.
using IdleHandler = bool (*)(int maxWaitMs);
IdleHandler setIdleHandler(IdleHandler handler);

// True while no message is queued, no window needs painting and no timer is due: the moment the
// test driver acts in.
bool queueIsIdle();

}  // namespace ui
