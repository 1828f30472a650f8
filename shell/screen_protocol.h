// The protocol every modal screen follows, written once: opening as a full-screen page with the bar
// in the screens' layout, every way out, help in the page pane, painting while a page covers the
// screen, the bar's page buttons, unwinding to the home screen and the view's link notification.
// A screen's own procedure handles only its controls, its layout and its variants of bar actions.
#pragma once

#include "win32.h"

struct ScreenFrame {
    short savedBarMode;
};

// On WM_INITDIALOG: the shell's page with a Done button, sized to the screen, without a menu bar;
// the bar's mode saved and set to the screens' layout.
void openScreen(HWND dialog, ScreenFrame& frame);
// Every way out: the bar's mode put back, the page pane closed, the input panel lowered when it is
// up, the dialog ended with `result`.
void closeScreen(HWND dialog, const ScreenFrame& frame, INT_PTR result);
// Closed by the home button: the screens below close in turn.
void closeScreenHome(HWND dialog, const ScreenFrame& frame);
// The bar's exit button: every screen down to the home screen closes, and the program ends.
void endProgram(HWND dialog, const ScreenFrame& frame);
// After a nested screen returned: true (and this screen closed) when it was closed by home.
bool closeIfReturningHome(HWND dialog, const ScreenFrame& frame);

// Help in the page pane over the screen: help text 0 from its top as a new history entry, or
// scrolled to `anchor` ("#t41") without one. A pane that cannot be opened leaves the screen as it
// was.
void openScreenHelp(HWND dialog, const char* anchor);

// On WM_PAINT while a page is open over the screen: the bar drawn, the focus given to the page's
// view. True when the caller leaves the rest to the default painting.
bool paintUnderPage(HWND dialog);

// A screen's WM_PAINT while no page covers it: with the input panel down, the full screen asked for
// again (and inputPanelUp cleared); painting begun and the bar drawn. Null when painting could not
// begin; otherwise the caller draws its own part and ends the painting.
HDC beginScreenPaint(HWND dialog, PAINTSTRUCT& paint);
// WM_PAINT of a screen whose controls draw all it shows: under a page, or the frame and the bar.
// True when the paint was handled, false to leave it to the default painting.
bool paintScreenFrame(HWND dialog);
// The panel-down rule alone, for a screen that draws its bar only on some paints.
void keepFullScreen(HWND dialog);

// The bar's forward, back and home while a page is open: forward in the history; back and home
// move in it while there is an earlier place and close the page at the first, the keys going back
// to the screen. True when handled.
bool pageBarAction(HWND dialog, int iconId);

// WM_NOTIFY: a link tapped in the page pane goes to the pane. Always 0, so that the view also
// follows the link itself.
LRESULT forwardPageLink(LPARAM lParam);

// The messages every screen answers alike: the view's link notification goes to the pane, and the
// Done button, Esc and a close request leave through `close` (which releases the screen's own
// things and calls closeScreen). False for any other message, which the screen then answers.
bool screenFrameMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, void (*close)(HWND dialog));

// A stylus message's point in client pixels.
inline int stylusX(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
inline int stylusY(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

// The stylus's bar slot: pressed on down; released on up, giving the slot's action or 0.
void pressBarAt(HWND window, int x, int y);
int releaseBarAt(HWND window, int x, int y);
