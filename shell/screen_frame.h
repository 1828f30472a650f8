// What every screen of the handheld program shares: its content area above the button bar, the
// soft input panel, the system-error box, the message pump of long operations, the gradient.
#pragma once

#include "win32.h"

// The client rectangle less the button bar's height at its bottom.
void contentRect(HWND window, RECT& rect);

constexpr int inputPanelLower = 0;
constexpr int inputPanelQuery = 1;
constexpr int inputPanelRaise = -1;
// Query: 1 when the panel is shown, else 0. Lower and raise return 0. A panel whose state
// cannot be read is taken as down and left alone.
int setInputPanel(HWND window, int mode);

// The platform's text of the thread's last error in a stop box with `caption`. -1 when a box
// was shown; 0 when there was no error and force was false.
int showSystemError(LPCWSTR caption, bool force);

// Handles every message waiting for the thread, without accelerators, then returns. A request to
// end the program stops the pump and stays queued for the main loop (a long scan that pumps must
// not swallow it): false then.
bool pumpMessages();

// From colour 1 at the top to colour 2 at the bottom; with `gradient` false, or when the platform
// cannot, the flat average of the two.
void fillGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom, bool gradient);

// The shell asked for full screen without the task bar and the input-panel button, as every screen
// does on paint while the panel is down.
void hideShellBars(HWND window);
