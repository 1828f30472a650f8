#include "platform/controls/scroll_bar.h"

#include "platform/controls/control_base.h"

#include <algorithm>

namespace controls {
namespace {

constexpr int minimumThumb = 8;

int length(const ScrollBar& bar)
{
    return bar.vertical ? bar.rect.bottom - bar.rect.top : bar.rect.right - bar.rect.left;
}

int along(const ScrollBar& bar, POINT point)
{
    return bar.vertical ? point.y - bar.rect.top : point.x - bar.rect.left;
}

// The track between the two arrow boxes, as offsets along the bar.
struct Track {
    int start;
    int size;
};

Track trackOf(const ScrollBar& bar)
{
    int arrows = std::min(scrollBarSize, length(bar) / 2);
    return {arrows, std::max(0, length(bar) - 2 * arrows)};
}

struct Thumb {
    int start;  // offset along the bar
    int size;
};

Thumb thumbOf(const ScrollBar& bar)
{
    Track track = trackOf(bar);
    int range = bar.maximum - bar.minimum + 1;
    if (!canScroll(bar) || track.size < minimumThumb)
        return {track.start, 0};
    int size = std::max(minimumThumb, static_cast<int>(static_cast<long long>(track.size) * bar.page / range));
    size = std::min(size, track.size);
    int travel = track.size - size;
    int positions = lastPosition(bar) - bar.minimum;
    int offset = positions > 0
                     ? static_cast<int>(static_cast<long long>(travel) * (bar.position - bar.minimum) / positions)
                     : 0;
    return {track.start + offset, size};
}

RECT spanRect(const ScrollBar& bar, int start, int size)
{
    RECT r = bar.rect;
    if (bar.vertical) {
        r.top = bar.rect.top + start;
        r.bottom = r.top + size;
    } else {
        r.left = bar.rect.left + start;
        r.right = r.left + size;
    }
    return r;
}

// A small filled triangle pointing back (up / left) or forward (down / right), one span a row.
void drawArrow(HDC dc, const RECT& box, bool vertical, bool forward, HBRUSH brush)
{
    int cx = (box.left + box.right) / 2;
    int cy = (box.top + box.bottom) / 2;
    for (int row = 0; row < 4; ++row) {
        int half = forward ? 3 - row : row;
        int offset = row - 2;
        RECT span = vertical ? RECT{cx - half, cy + offset, cx + half + 1, cy + offset + 1}
                             : RECT{cx + offset, cy - half, cx + offset + 1, cy + half + 1};
        FillRect(dc, &span, brush);
    }
}

}  // namespace

int lastPosition(const ScrollBar& bar)
{
    return std::max(bar.minimum, bar.maximum - std::max(bar.page, 1) + 1);
}

bool canScroll(const ScrollBar& bar)
{
    return bar.maximum - bar.minimum + 1 > bar.page && bar.maximum > bar.minimum;
}

int setScrollRange(ScrollBar& bar, int minimum, int maximum, int page)
{
    bar.minimum = minimum;
    bar.maximum = std::max(minimum, maximum);
    bar.page = std::max(page, 1);
    bar.position = std::clamp(bar.position, bar.minimum, lastPosition(bar));
    return bar.position;
}

bool setScrollPosition(ScrollBar& bar, int position)
{
    int clamped = std::clamp(position, bar.minimum, lastPosition(bar));
    if (clamped == bar.position)
        return false;
    bar.position = clamped;
    return true;
}

RECT thumbRect(const ScrollBar& bar)
{
    Thumb thumb = thumbOf(bar);
    return spanRect(bar, thumb.start, thumb.size);
}

ScrollHit hitScrollBar(const ScrollBar& bar, POINT point)
{
    if (!bar.shown || !PtInRect(&bar.rect, point) || !canScroll(bar))
        return ScrollHit::none;
    Track track = trackOf(bar);
    int offset = along(bar, point);
    if (offset < track.start)
        return ScrollHit::lineBack;
    if (offset >= track.start + track.size)
        return ScrollHit::lineForward;
    Thumb thumb = thumbOf(bar);
    if (offset < thumb.start)
        return ScrollHit::pageBack;
    if (offset >= thumb.start + thumb.size)
        return ScrollHit::pageForward;
    return ScrollHit::thumb;
}

void drawScrollBar(HDC dc, const ScrollBar& bar)
{
    // Parts outside the context's clipping region are not drawn at all: a paint of the thumb's
    // span draws neither arrow.
    if (!bar.shown || IsRectEmpty(&bar.rect) || !RectVisible(dc, &bar.rect))
        return;
    const bool active = canScroll(bar);
    HBRUSH track = CreateSolidBrush(RGB(236, 236, 236));
    HBRUSH line = CreateSolidBrush(RGB(128, 128, 128));
    HBRUSH face = CreateSolidBrush(RGB(214, 214, 214));
    HBRUSH arrow = CreateSolidBrush(active ? RGB(0, 0, 0) : RGB(160, 160, 160));

    FillRect(dc, &bar.rect, track);
    const Track span = trackOf(bar);
    const RECT back = spanRect(bar, 0, span.start);
    const RECT forward = spanRect(bar, span.start + span.size, length(bar) - span.start - span.size);
    for (const RECT* box : {&back, &forward}) {
        if (!RectVisible(dc, box))
            continue;
        FillRect(dc, box, face);
        FrameRect(dc, box, line);
        drawArrow(dc, *box, bar.vertical, box == &forward, arrow);
    }
    FrameRect(dc, &bar.rect, line);

    if (active) {
        const RECT thumb = thumbRect(bar);
        if (!IsRectEmpty(&thumb) && RectVisible(dc, &thumb)) {
            FillRect(dc, &thumb, face);
            FrameRect(dc, &thumb, line);
        }
    }
    for (HBRUSH brush : {track, line, face, arrow})
        DeleteObject(brush);
}

RECT changedScrollBarPart(const ScrollBar& before, const ScrollBar& after)
{
    const auto sameRect = [](const RECT& a, const RECT& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    if (!before.shown && !after.shown)
        return RECT{};
    if (before.shown != after.shown || !sameRect(before.rect, after.rect) || canScroll(before) != canScroll(after)) {
        RECT both{};
        UnionRect(&both, before.shown ? &before.rect : &after.rect, after.shown ? &after.rect : &before.rect);
        return both;
    }
    // A list filled line by line asks with every line: most lines change nothing of the bar.
    if (before.minimum == after.minimum && before.maximum == after.maximum && before.page == after.page &&
        before.position == after.position)
        return RECT{};
    const Thumb thumbBefore = thumbOf(before);
    const Thumb thumbAfter = thumbOf(after);
    if (thumbBefore.start == thumbAfter.start && thumbBefore.size == thumbAfter.size)
        return RECT{};
    const int start = std::min(thumbBefore.start, thumbAfter.start);
    const int end = std::max(thumbBefore.start + thumbBefore.size, thumbAfter.start + thumbAfter.size);
    return spanRect(after, start, end - start);
}

ScrollHit beginScrollDrag(const ScrollBar& bar, ScrollDrag& drag, POINT point)
{
    drag.part = hitScrollBar(bar, point);
    drag.stylus = point;
    drag.grip = along(bar, point) - thumbOf(bar).start;
    return drag.part;
}

int thumbDragPosition(const ScrollBar& bar, const ScrollDrag& drag, POINT point)
{
    Track track = trackOf(bar);
    Thumb thumb = thumbOf(bar);
    int travel = track.size - thumb.size;
    if (travel <= 0)
        return bar.position;
    int start = std::clamp(along(bar, point) - drag.grip - track.start, 0, travel);
    int positions = lastPosition(bar) - bar.minimum;
    return bar.minimum + static_cast<int>((static_cast<long long>(start) * positions + travel / 2) / travel);
}

int stepPosition(const ScrollBar& bar, ScrollHit part)
{
    int page = std::max(bar.page, 1);
    switch (part) {
    case ScrollHit::lineBack:
        return bar.position - 1;
    case ScrollHit::lineForward:
        return bar.position + 1;
    case ScrollHit::pageBack:
        return bar.position - page;
    case ScrollHit::pageForward:
        return bar.position + page;
    case ScrollHit::thumb:
    case ScrollHit::none:
        break;
    }
    return bar.position;
}

bool repeatedStep(const ScrollBar& bar, const ScrollDrag& drag, int& position)
{
    if (drag.part == ScrollHit::none || drag.part == ScrollHit::thumb)
        return false;
    if (hitScrollBar(bar, drag.stylus) != drag.part)
        return false;
    position = stepPosition(bar, drag.part);
    return position != bar.position;
}

}  // namespace controls
