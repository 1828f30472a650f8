// Where the metro scheme stands: centred on opening, clamped at its edges (a negative limit for a
// scheme narrower than the screen), moved by keys, drags and taps.
#include "card/metro_panning.h"

#include <gtest/gtest.h>

namespace {

SchemeView scheme(int pictureWidth, int pictureHeight)
{
    SchemeView view{};
    view.scrollX = -1;
    view.scrollY = -1;
    view.pictureWidth = pictureWidth;
    view.pictureHeight = pictureHeight;
    view.width = 240;
    view.height = 268;
    return view;
}

TEST(MetroPanning, OpensCentredAndKeepsAPlacedPosition)
{
    SchemeView view = scheme(800, 900);
    placeScheme(view);
    EXPECT_EQ(view.scrollX, (800 - 240) / 2);
    EXPECT_EQ(view.scrollY, (900 - 268) / 2);
    view.scrollX = 7;
    placeScheme(view);
    EXPECT_EQ(view.scrollX, 7);
    view.scrollX = 561;  // one beyond the last full view
    placeScheme(view);
    EXPECT_EQ(view.scrollX, 280);
}

TEST(MetroPanning, TheRightArrowHeldStopsAtTheRightEdge)
{
    SchemeView view = scheme(800, 900);
    placeScheme(view);
    int dx = 0;
    int dy = 0;
    ASSERT_TRUE(keyShift(VK_RIGHT, dx, dy));
    for (int i = 0; i < 100; ++i)
        shiftScheme(view, dx, dy);
    EXPECT_EQ(view.scrollX, 800 - 240);
    ASSERT_TRUE(keyShift(VK_UP, dx, dy));
    EXPECT_EQ(dy, -keyPanStep);
    for (int i = 0; i < 100; ++i)
        shiftScheme(view, dx, dy);
    EXPECT_EQ(view.scrollY, 0);
    EXPECT_FALSE(keyShift(VK_RETURN, dx, dy));
}

TEST(MetroPanning, ASchemeNarrowerThanTheScreenTakesTheNegativeLimit)
{
    SchemeView view = scheme(200, 900);
    view.scrollX = 5;
    shiftScheme(view, 10, 0);
    EXPECT_EQ(view.scrollX, -40);
    shiftScheme(view, -10, 0);
    EXPECT_EQ(view.scrollX, 0) << "a negative position is clamped to 0 first";
}

TEST(MetroPanning, ADragToTheRightMovesTheViewLeft)
{
    const POINT right[] = {{400, 400}, {420, 400}, {440, 404}, {480, 408}};
    int dx = 0;
    int dy = 0;
    ASSERT_EQ(dragShift(right, 4, dx, dy), MoveReport::shift);
    EXPECT_EQ(dx, -20);
    EXPECT_EQ(dy, -2);
    const POINT odd[] = {{0, 0}, {1, 0}, {3, 0}};
    ASSERT_EQ(dragShift(odd, 3, dx, dy), MoveReport::shift);
    EXPECT_EQ(dx, -1) << "an arithmetic shift rounds toward minus infinity";
    EXPECT_EQ(dragShift(right, 2, dx, dy), MoveReport::tooFew);
    EXPECT_EQ(dragShift(right, 0, dx, dy), MoveReport::none);
    EXPECT_EQ(dx, 0);
}

TEST(MetroPanning, ATapBringsItsPointToTheCentre)
{
    SchemeView view = scheme(800, 900);
    placeScheme(view);
    const short x = view.scrollX;
    const short y = view.scrollY;
    int dx = 0;
    int dy = 0;
    tapShift(view, POINT{200 * 4, 34 * 4}, dx, dy);
    shiftScheme(view, dx, dy);
    EXPECT_EQ(view.scrollX, x + 200 - 120);
    EXPECT_EQ(view.scrollY, y + 34 - 134);
}

}  // namespace
