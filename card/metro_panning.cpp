#include "card/metro_panning.h"

namespace {

short placed(short scroll, int picture, int visible)
{
    const int limit = picture - visible;
    if (scroll < 0 || scroll > limit)
        return static_cast<short>(limit / 2);
    return scroll;
}

short clamped(int scroll, int picture, int visible)
{
    const int limit = picture - visible;
    if (scroll < 0)
        return 0;
    if (scroll > limit)
        return static_cast<short>(limit);
    return static_cast<short>(scroll);
}

} // namespace

void placeScheme(SchemeView& view)
{
    view.scrollX = placed(view.scrollX, view.pictureWidth, view.width);
    view.scrollY = placed(view.scrollY, view.pictureHeight, view.height);
}

void shiftScheme(SchemeView& view, int dx, int dy)
{
    view.scrollX = clamped(view.scrollX + dx, view.pictureWidth, view.width);
    view.scrollY = clamped(view.scrollY + dy, view.pictureHeight, view.height);
}

bool keyShift(UINT key, int& dx, int& dy)
{
    dx = 0;
    dy = 0;
    switch (key) {
    case VK_LEFT: dx = -keyPanStep; return true;
    case VK_RIGHT: dx = keyPanStep; return true;
    case VK_UP: dy = -keyPanStep; return true;
    case VK_DOWN: dy = keyPanStep; return true;
    default: return false;
    }
}

MoveReport dragShift(const POINT* points, int count, int& dx, int& dy)
{
    dx = 0;
    dy = 0;
    if (count <= 0)
        return MoveReport::none;
    if (count < 3)
        return MoveReport::tooFew;
    // With the buffer full the oldest points are gone: the shift covers the most recent part of
    // the stroke, so the view lags a fast drag instead of jumping.
    dx = (points[0].x - points[count - 1].x) >> 2;
    dy = (points[0].y - points[count - 1].y) >> 2;
    return MoveReport::shift;
}

void tapShift(const SchemeView& view, POINT point, int& dx, int& dy)
{
    dx = (point.x >> 2) - view.width / 2;
    dy = (point.y >> 2) - view.height / 2;
}
