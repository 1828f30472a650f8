// Rectangle arithmetic of the page, which draws without the window manager (whose IntersectRect
// lives with the windows).
#pragma once

#include "win32/gdi.h"

#include <algorithm>

namespace htmlview {

// The common part of two rectangles; false (and an empty `out`) when they do not meet.
inline bool meet(const RECT& a, const RECT& b, RECT& out)
{
    out = RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
               std::min(a.bottom, b.bottom)};
    if (out.left >= out.right || out.top >= out.bottom) {
        out = RECT{0, 0, 0, 0};
        return false;
    }
    return true;
}

} // namespace htmlview
