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

// A small filled triangle pointing back (up / left) or forward (down / right).
void drawArrow(HDC dc, const RECT& box, bool vertical, bool forward, COLORREF colour)
{
    int cx = (box.left + box.right) / 2;
    int cy = (box.top + box.bottom) / 2;
    for (int row = 0; row < 4; ++row) {
        int half = forward ? 3 - row : row;
        int offset = row - 2;
        for (int k = -half; k <= half; ++k) {
            if (vertical)
                SetPixel(dc, cx + k, cy + offset, colour);
            else
                SetPixel(dc, cx + offset, cy + k, colour);
        }
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
    if (!bar.shown || IsRectEmpty(&bar.rect))
        return;
    const COLORREF trackColour = RGB(236, 236, 236);
    const COLORREF lineColour = RGB(128, 128, 128);
    const COLORREF faceColour = RGB(214, 214, 214);
    bool active = canScroll(bar);
    COLORREF arrowColour = active ? RGB(0, 0, 0) : RGB(160, 160, 160);

    fillSolid(dc, bar.rect, trackColour);
    Track track = trackOf(bar);
    RECT back = spanRect(bar, 0, track.start);
    RECT forward = spanRect(bar, track.start + track.size, length(bar) - track.start - track.size);
    for (const RECT* box : {&back, &forward}) {
        fillSolid(dc, *box, faceColour);
        drawFrame(dc, *box, lineColour);
    }
    drawArrow(dc, back, bar.vertical, false, arrowColour);
    drawArrow(dc, forward, bar.vertical, true, arrowColour);
    drawFrame(dc, bar.rect, lineColour);

    if (active) {
        RECT thumb = thumbRect(bar);
        if (!IsRectEmpty(&thumb)) {
            fillSolid(dc, thumb, faceColour);
            drawFrame(dc, thumb, lineColour);
        }
    }
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
