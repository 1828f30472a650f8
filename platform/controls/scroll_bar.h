// The scroll bar that list boxes, the tree view and the HTML view draw along their edges: one
// record of geometry and range, drawn, hit-tested and dragged by the free operations below.
// Positions follow SCROLLINFO: the range minimum..maximum (inclusive) of which `page` units are
// visible; the position is the first visible unit.
#pragma once

#include "win32.h"

namespace controls {

// Width of a vertical bar, height of a horizontal one, and the side of its arrow boxes.
constexpr int scrollBarSize = 13;

struct ScrollBar {
    bool vertical = true;
    bool shown = false;
    RECT rect{};  // in the owner's client coordinates
    int minimum = 0;
    int maximum = 0;
    int page = 1;
    int position = 0;
};

enum class ScrollHit { none, lineBack, lineForward, pageBack, pageForward, thumb };

// Highest position: the range less one page (never below the minimum).
int lastPosition(const ScrollBar& bar);
// True when there is something to scroll; a shown bar that cannot scroll is drawn disabled.
bool canScroll(const ScrollBar& bar);
// Sets the range and page and keeps the position inside it. Answers the new position.
int setScrollRange(ScrollBar& bar, int minimum, int maximum, int page);
// Clamps and stores a position; answers true when it changed.
bool setScrollPosition(ScrollBar& bar, int position);

RECT thumbRect(const ScrollBar& bar);
ScrollHit hitScrollBar(const ScrollBar& bar, POINT point);
// Draws the parts of the bar inside the context's clipping region.
void drawScrollBar(HDC dc, const ScrollBar& bar);
// What must be drawn again when a bar changes from `before` to `after`: nothing when it looks the
// same, the span of the old and new thumb when only the thumb moved or grew, else the whole bar.
RECT changedScrollBarPart(const ScrollBar& before, const ScrollBar& after);

// The stylus held on a bar: which part it went down on and, for the thumb, where it gripped.
struct ScrollDrag {
    ScrollHit part = ScrollHit::none;
    int grip = 0;    // pixels from the thumb's leading edge to the stylus
    POINT stylus{};  // where the stylus is now, for repeating arrow and track steps
};

// An arrow or the track held down steps again after a first pause and then quickly, for as long
// as the stylus stays on the part it went down on (a page step stops once the thumb reaches it).
constexpr UINT_PTR scrollRepeatTimer = 2;
constexpr UINT scrollRepeatFirstMs = 400;
constexpr UINT scrollRepeatNextMs = 80;
// True when the held part repeats now; `position` is then the position to go to.
bool repeatedStep(const ScrollBar& bar, const ScrollDrag& drag, int& position);

// Starts a drag at the point; answers the part hit (none: the point is off the bar).
ScrollHit beginScrollDrag(const ScrollBar& bar, ScrollDrag& drag, POINT point);
// The position the thumb drag asks for with the stylus at the point.
int thumbDragPosition(const ScrollBar& bar, const ScrollDrag& drag, POINT point);
// The position a tap on an arrow or the track asks for (line = one unit, page = one page).
int stepPosition(const ScrollBar& bar, ScrollHit part);

}  // namespace controls
