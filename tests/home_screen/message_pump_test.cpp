// The pump that long scans run between lines: it handles what waits, but a request to end the
// program must reach the main loop, however many scans pump before it gets there.
#include "shell/screen_frame.h"

#include <gtest/gtest.h>

namespace {

TEST(MessagePump, ARequestToEndTheProgramStaysQueuedForTheMainLoop)
{
    EXPECT_TRUE(pumpMessages()) << "nothing waiting";
    PostQuitMessage(7);
    EXPECT_FALSE(pumpMessages());
    EXPECT_FALSE(pumpMessages()) << "a second scan sees it too";
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) << "posted once, not once per pump";
}

}  // namespace
