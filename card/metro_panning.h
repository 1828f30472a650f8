// Where the metro scheme stands in its screen: the picture's pixel at the content area's top-left
// corner, moved by keys, by a stylus drag and by a tap that brings a point to the centre.
#pragma once

#include "win32.h"

struct SchemeView {
    short scrollX;  // -1: not yet placed
    short scrollY;
    int pictureWidth;
    int pictureHeight;
    int width;      // the content area's
    int height;
};

constexpr int keyPanStep = 10;
constexpr int maxMovePoints = 100;

// Centres each axis whose position is negative or beyond the picture's last full view, so a new
// opening starts centred.
void placeScheme(SchemeView& view);

// Adds the shift and clamps: a negative position becomes 0, one beyond the last full view becomes
// that limit (negative for a picture narrower than the area).
void shiftScheme(SchemeView& view, int dx, int dy);

// The shift of a direction key; false for every other key.
bool keyShift(UINT key, int& dx, int& dy);

enum class MoveReport { none, tooFew, shift };
// The shift of the move points recorded since the last report (quarter pixels, oldest first): the
// way from the first to the last point, so a drag to the right moves the view left. Fewer than 3
// points is too few to tell a drag; no point gives nothing.
MoveReport dragShift(const POINT* points, int count, int& dx, int& dy);

// The shift that brings a tapped point of the content area (quarter pixels) to its centre.
void tapShift(const SchemeView& view, POINT point, int& dx, int& dy);
