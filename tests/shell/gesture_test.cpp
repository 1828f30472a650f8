// Tap-and-hold: held still it is recognised, moved or lifted it is not, and in either case the
// stylus messages the window expects still reach it and the red dots leave no trace.
#include "tests/shell/shell_fixture.h"

#include <chrono>
#include <thread>

namespace shell_test {

namespace {

constexpr POINT pressAt{120, 150};

// The user's hand while the stylus is down: what it does the first time the program waits, then
// nothing (time passes).
std::function<bool(int)> hand(std::function<void()> firstWait)
{
    auto calls = std::make_shared<int>(0);
    return [calls, firstWait](int maxWaitMs) {
        if ((*calls)++ == 0 && firstWait) {
            firstWait();
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(maxWaitMs < 0 ? 5 : maxWaitMs));
        return true;
    };
}

size_t countOf(const std::vector<Seen>& seen, UINT message)
{
    size_t n = 0;
    for (const Seen& s : seen) n += s.message == message;
    return n;
}

}  // namespace

using GestureTest = ShellTest;

TEST_F(GestureTest, HeldStillIsRecognisedAndTheDotsAreWipedAfterwards)
{
    HWND window = makeWindow(u"Рубрики");
    pump();
    const std::vector<uint32_t> before = gdi::screen().pixels;
    recogniseGestures = true;
    gestureFlags = 0;
    bool dotsShown = false;
    onIdle = hand(nullptr);
    auto watch = onIdle;
    onIdle = [&, watch](int wait) {
        const uint32_t pixel = gdi::screen().pixels[static_cast<size_t>(pressAt.y - 11) * 240 + pressAt.x];
        dotsShown = dotsShown || pixel == 0xE60000u;
        return watch(wait);
    };
    const auto start = std::chrono::steady_clock::now();
    ui::stylusDown(pressAt.x, pressAt.y);
    pump();
    const auto held = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(gestureResult, static_cast<DWORD>(GN_CONTEXTMENU));
    EXPECT_GE(held, std::chrono::milliseconds(450));
    EXPECT_EQ(countOf(seen, WM_NOTIFY), 1u) << "without a flag the client itself is told";
    EXPECT_TRUE(dotsShown);
    ui::stylusUp(pressAt.x, pressAt.y);
    pump();
    EXPECT_EQ(countOf(seen, WM_LBUTTONUP), 1u);
    EXPECT_EQ(gdi::screen().pixels, before);
    (void)window;
}

TEST_F(GestureTest, SmallTremorStillCountsButAMoveCancelsAndReachesTheWindow)
{
    makeWindow(u"Рубрики");
    recogniseGestures = true;
    gestureFlags = SHRG_RETURNCMD | SHRG_NOANIMATION;
    onIdle = hand([] { ui::stylusMove(pressAt.x + 3, pressAt.y - 2); });
    ui::stylusDown(pressAt.x, pressAt.y);
    pump();
    EXPECT_EQ(gestureResult, static_cast<DWORD>(GN_CONTEXTMENU));
    EXPECT_EQ(countOf(seen, WM_NOTIFY), 0u) << "SHRG_RETURNCMD only answers";
    ui::stylusUp(pressAt.x, pressAt.y);
    pump();

    seen.clear();
    gestureResult = 12345;
    onIdle = hand([] { ui::stylusMove(pressAt.x + 12, pressAt.y); });
    ui::stylusDown(pressAt.x, pressAt.y);
    pump();
    EXPECT_EQ(gestureResult, 0u);
    EXPECT_EQ(countOf(seen, WM_MOUSEMOVE), 1u) << "the move that cancelled is the window's to handle";
    ui::stylusUp(pressAt.x + 12, pressAt.y);
    pump();
}

TEST_F(GestureTest, LiftingFirstCancelsAndTheParentIsToldWhenAsked)
{
    HWND parent = makeWindow(u"Диалог");
    recogniseGestures = true;
    gestureFlags = SHRG_RETURNCMD;
    onIdle = hand([] { ui::stylusUp(pressAt.x, pressAt.y); });
    ui::stylusDown(pressAt.x, pressAt.y);
    pump();
    EXPECT_EQ(gestureResult, 0u);
    EXPECT_EQ(countOf(seen, WM_LBUTTONUP), 1u);

    // A child asks for its parent to be told (the test window class records WM_NOTIFY).
    HWND child = CreateWindowExW(0, u"ShellTestWindow", u"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(42)), nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    seen.clear();
    recogniseGestures = false;
    onIdle = hand(nullptr);
    ui::stylusDown(20, 50);
    pump();
    SHRGINFO info{sizeof(SHRGINFO), child, {10, 10}, SHRG_NOTIFYPARENT | SHRG_NOANIMATION};
    EXPECT_EQ(SHRecognizeGesture(&info), static_cast<DWORD>(GN_CONTEXTMENU));
    ASSERT_EQ(countOf(seen, WM_NOTIFY), 1u);
    for (const Seen& s : seen)
        if (s.message == WM_NOTIFY) {
            EXPECT_EQ(s.wParam, 42u);
            EXPECT_EQ(s.code, static_cast<UINT>(GN_CONTEXTMENU));
        }
    ui::stylusUp(20, 50);
    pump();

    info.cbSize = 0;
    EXPECT_EQ(SHRecognizeGesture(&info), 0u);
    EXPECT_EQ(SHRecognizeGesture(nullptr), 0u);
}

TEST_F(GestureTest, HostClosingTheProgramDuringAHoldEndsIt)
{
    makeWindow(u"Рубрики");
    recogniseGestures = true;
    gestureFlags = SHRG_RETURNCMD | SHRG_NOANIMATION;
    onIdle = [](int) { return false; };
    ui::stylusDown(pressAt.x, pressAt.y);
    pump();
    EXPECT_EQ(gestureResult, 0u);
    EXPECT_EQ(countOf(seen, WM_CLOSE), 1u) << "the request to close is passed on, not lost";
    onIdle = nullptr;
}

}  // namespace shell_test
