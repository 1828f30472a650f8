// The contract between the window manager (ui/) and drawing (gdi/).
//
// Drawing knows nothing of windows: a window's device context is a view of the one
// screen framebuffer with an origin (where the window's client (0, 0) lies on the screen)
// and a clip (the parts of the screen where the window may draw). The window manager
// computes both and asks for the context; the presenters read the framebuffer.
#pragma once

#include "win32/types.h"
#include <cstdint>
#include <string_view>
#include <vector>

struct tagRECT;

namespace gdi {

// One 32-bit screen: pixels are 0x00RRGGBB, row-major, top row first.
struct Framebuffer {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// The device screen. Resizing (rotation) clears it.
Framebuffer& screen();
void resizeScreen(int width, int height);

// Screen rectangles, left/top inclusive, right/bottom exclusive, in screen pixels.
struct ClipRect {
    int left, top, right, bottom;
};

// A device context that draws into the screen at the given origin, clipped to the union of
// the given rectangles (screen coordinates). The window manager creates one for
// GetDC / BeginPaint and gives it back with releaseWindowDC.
HDC createWindowDC(int originX, int originY, const std::vector<ClipRect>& clip);
// Replaces the origin and clip of a live window context (the window moved or was uncovered).
void updateWindowDC(HDC dc, int originX, int originY, const std::vector<ClipRect>& clip);
void releaseWindowDC(HDC dc);

// Told of every run of text drawn through a window context onto the part of the screen the
// context may draw on: the run's cell (origin, advance width, ascent and descent) in screen
// coordinates. The window manager keeps, per window, what it shows as text.
using TextDrawn = void (*)(HDC dc, std::u16string_view text, const ClipRect& cell);
void setTextDrawnHandler(TextDrawn handler);

// Called by drawing whenever pixels of the screen changed outside a paint cycle, so that
// a presenter can show them (a pressed button drawn from a stylus handler shows at once).
using ScreenChanged = void (*)();
void setScreenChangedHandler(ScreenChanged handler);

// Objects and contexts alive in the drawing layer, stock objects included: what a test compares
// before and after a program's run to find the ones it never gave back.
size_t liveObjects();

} // namespace gdi
