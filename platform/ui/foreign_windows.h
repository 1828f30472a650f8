// The window manager's side of the windows shared between host processes on one device: its own
// top-level windows published as they come, change their text and go; the windows of the other
// processes as handles of their own; and the requests to come forward that they send.
#pragma once

#include "win32.h"

#include <string>

namespace ui {

// After a window was made or its text set: a top-level window is published, or published again
// with its new text. Anything else is left alone.
void publishTopLevel(HWND handle);
// Before its handle dies.
void withdrawTopLevel(HWND handle);

// At each wait: what is published follows the windows and the device root, and the requests of
// other processes are carried out. True when one was, so that the queue is looked at again before
// waiting.
bool serveOtherProcesses();

// A window of another process, found by class name (null: any) and text (null: any).
HWND findForeignWindow(const std::u16string* className, LPCWSTR text);
// A handle FindWindow gave for another process's window (never a local window's).
bool isForeignWindow(HWND handle);
bool foreignWindowLive(HWND handle);
// Asks the owner to bring the window (or its last active owned window) forward; TRUE when the
// request was delivered.
BOOL raiseForeignWindow(HWND handle, bool ownedPopup);

// The program starts: from here on its windows count as its own (the device's shell made its
// windows before) and nothing it raised before is remembered.
void programStarting();
// The class name of another process's window that the program brought forward without ever
// making a window of its own: a second copy that gave way to the first. Empty otherwise.
std::u16string anotherCopyRaised();

// A top-level window was activated: its owner remembers it.
void noteActivated(HWND top);
// What "the window | 1" brings forward: the window it owns that was active last, when that can
// still be active, else the window itself.
HWND lastActivePopupOf(HWND top);

} // namespace ui
