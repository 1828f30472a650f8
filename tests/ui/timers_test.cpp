// Timers: WM_TIMER to the window or the procedure, restarted by SetTimer, stopped by KillTimer and
// by the window's end; a timer that fell behind fires once. No test asserts how long anything
// took: only what arrived, and in which order.
#include "tests/ui/ui_fixture.h"

#include <gmock/gmock.h>

#include <thread>

using ::testing::ElementsAre;

namespace ui_test {
namespace {

std::vector<UINT_PTR> procCalls;

void CALLBACK timerProc(HWND, UINT message, UINT_PTR id, DWORD)
{
    if (message == WM_TIMER)
        procCalls.push_back(id);
}

// Runs the program's loop until `done` says so (each WM_TIMER counted), waiting for timers.
template <typename Done>
void runUntil(Done done)
{
    MSG msg;
    while (!done() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

TEST_F(UiTest, AWindowTimerSendsWmTimerWithItsIdUntilKilled)
{
    HWND w = create("main", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    int ticks = 0;
    handlers["main"] = [&](HWND window, UINT message, WPARAM wParam, LPARAM, LRESULT&) {
        if (message == WM_TIMER) {
            EXPECT_EQ(wParam, 7u);
            if (++ticks == 3)
                KillTimer(window, 7);
            return true;
        }
        return false;
    };
    EXPECT_EQ(SetTimer(w, 7, 10, nullptr), 7u);
    runUntil([&] { return ticks == 3; });
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(ui::msUntilNextTimer(), -1);
    // Killed: nothing more comes, and killing again fails.
    pump();
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(KillTimer(w, 7));
}

TEST_F(UiTest, ATimerWithAProcedureCallsItAndAWindowlessTimerGetsItsOwnId)
{
    procCalls.clear();
    const UINT_PTR first = SetTimer(nullptr, 0, 10, timerProc);
    const UINT_PTR second = SetTimer(nullptr, 0, 10, timerProc);
    ASSERT_NE(first, 0u);
    EXPECT_NE(first, second);
    runUntil([] { return procCalls.size() >= 2; });
    KillTimer(nullptr, first);
    KillTimer(nullptr, second);
    EXPECT_THAT(procCalls, ::testing::IsSupersetOf({first, second}));
}

TEST_F(UiTest, ATimerThatFellBehindFiresOnce)
{
    HWND w = create("main", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    pump();
    SetTimer(w, 1, 200, nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(650));
    int timers = 0;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_TIMER)
            ++timers;
    EXPECT_EQ(timers, 1);
}

TEST_F(UiTest, SettingATimerAgainRestartsItAndDestroyingTheWindowKillsIt)
{
    HWND w = create("main", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    SetTimer(w, 3, 100000, nullptr);
    EXPECT_GT(ui::msUntilNextTimer(), 1000);
    SetTimer(w, 3, 10, nullptr);
    EXPECT_LE(ui::msUntilNextTimer(), 10);
    DestroyWindow(w);
    EXPECT_EQ(ui::msUntilNextTimer(), -1);
}

TEST_F(UiTest, TimersComeAfterPostedMessagesAndPainting)
{
    HWND w = create("main", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    handlers["main"] = [](HWND window, UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message == WM_TIMER)
            KillTimer(window, 1);
        return false;
    };
    SetTimer(w, 1, 10, nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    PostMessageW(w, WM_USER, 0, 0);
    clearLog();
    pump();
    EXPECT_THAT(only({WM_USER, WM_PAINT, WM_TIMER}), ElementsAre("main:WM_USER", "main:WM_PAINT", "main:WM_TIMER"));
}

TEST_F(UiTest, TheIdleHandlerIsToldHowLongItMayWait)
{
    HWND w = create("main", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    pump();
    SetTimer(w, 1, 5000, nullptr);
    int told = -2;
    static int* toldPointer = nullptr;
    toldPointer = &told;
    const ui::IdleHandler previous = ui::setIdleHandler([](int maxWaitMs) {
        *toldPointer = maxWaitMs;
        PostQuitMessage(0);
        return true;
    });
    MSG msg;
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
    ui::setIdleHandler(previous);
    EXPECT_GT(told, 1000);
    EXPECT_LE(told, 5000);
    KillTimer(w, 1);
}

} // namespace
} // namespace ui_test
