#include "tests/controls/control_fixture.h"

namespace controls_test {
namespace {

using StylusTrailTest = ControlTest;

TEST_F(StylusTrailTest, PointsAreQuarterPixelsAlongTheWayAndHandedOutOnce)
{
    press(parent, 10, 20);
    drag(parent, 30, 20);
    POINT points[100]{};
    UINT count = 0;
    ASSERT_TRUE(GetMouseMovePoints(points, 100, &count));
    ASSERT_GE(count, 3u);
    EXPECT_EQ(points[0].x, 40);
    EXPECT_EQ(points[0].y, 80);
    EXPECT_EQ(points[count - 1].x, 120);
    EXPECT_EQ(points[count - 1].y, 80);
    for (UINT i = 1; i < count; ++i)
        EXPECT_GE(points[i].x, points[i - 1].x);

    // Nothing new since: the point of the message being handled.
    ASSERT_TRUE(GetMouseMovePoints(points, 100, &count));
    EXPECT_EQ(count, 1u);
    release(parent, 30, 20);
}

TEST_F(StylusTrailTest, SmallBufferGetsTheLatestPoints)
{
    press(parent, 0, 0);
    drag(parent, 16, 0);
    POINT points[4]{};
    UINT count = 0;
    ASSERT_TRUE(GetMouseMovePoints(points, 4, &count));
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(points[3].x, 64);
    EXPECT_EQ(points[0].x, 52);
    release(parent, 16, 0);
}

TEST_F(StylusTrailTest, BadArgumentsAreRefused)
{
    POINT points[2]{};
    UINT count = 7;
    EXPECT_FALSE(GetMouseMovePoints(nullptr, 2, &count));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(GetMouseMovePoints(points, 0, &count));
    EXPECT_FALSE(GetMouseMovePoints(points, 2, nullptr));
}

}  // namespace
}  // namespace controls_test
