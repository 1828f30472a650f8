// What the conformance program observes and how it prints it: one line per fact, grouped under a
// "case NAME" line, in UTF-8 on standard output. Windows are named by labels the cases give them.
#pragma once

#include "conformance/portable.h"

#include <functional>
#include <string>

namespace conformance {

// Prints one fact line (printf formatting), unless recording is paused.
void fact(const char* format, ...)
#ifdef __GNUC__
    __attribute__((format(printf, 1, 2)))
#endif
    ;
void beginCase(const char* name);
// Setup traffic that no case is about (creating the windows under test) is not printed.
void setRecording(bool on);
bool recording();

std::string utf8(const WCHAR* text);
std::string windowText(HWND window);

void nameWindow(HWND window, const char* label);
std::string windowLabel(HWND window);

// A case answers a message in its own way (owner drawing, custom draw, refusing a change) by
// setting this (until it sets another); it returns true with the result when it handled the message.
using Answer = std::function<bool(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;
void setAnswer(Answer answer);

// The class "ConformanceFrame": a window that prints the messages it receives.
extern const WCHAR frameClassName[];
bool registerFrameClass(HINSTANCE instance);
HINSTANCE programInstance();
HWND createFrame(const char* label, DWORD style, int x, int y, int width, int height, HWND owner = nullptr);
HWND createChild(const char* label, const WCHAR* className, const WCHAR* text, DWORD style, int x, int y,
                 int width, int height, HWND parent, int id);
// Prints the messages the control itself receives too, by replacing its procedure.
void watchControl(HWND control);

// The face every case's controls are given, so that sizes depend on it and not on each
// control's default font.
HFONT caseFont();
void useCaseFont(HWND control);

// Stylus and keys as the control receives them (sent, as the window manager would dispatch them).
void tap(HWND control, int x, int y);
void pressKey(HWND control, WPARAM key);
void typeCharacter(HWND control, WCHAR character);

// Destroys a window that a case is done with, without printing what that causes.
void discardWindow(HWND window);

// A message sent to a control, its answer as a number; a text as a message's LPARAM.
long send(HWND control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
LPARAM text(const WCHAR* value);

// Dispatches everything queued, the synthesised paints and timers included.
void pump();
void pumpQuietly();

// The name and the meaningful parameters of a message, or an empty text for one not printed.
std::string describeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
std::string notificationName(HWND control, int code);

} // namespace conformance
