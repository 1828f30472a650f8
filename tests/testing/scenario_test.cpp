// The driver's turn-taking against a stand-in window manager: what a test body sees must be
// what the program did up to its last idle moment, across message boxes and timers.
#include "platform/testing/scenario.h"

#include "emulator.h"
#include "tests/testing/fake_ui.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

constexpr UINT escapeKey = 0x1B;

// The program's record of what it handled; read by the body only during its turn.
std::vector<std::string> handled;

// Taps left of x = 100 ask a yes/no question; Escape ends the program with code 7; a tap at
// y >= 300 starts a 30 ms timer.
int questionProgram()
{
    fakeui::Event event;
    while (fakeui::getEvent(event)) {
        switch (event.kind) {
        case fakeui::EventKind::StylusUp:
            handled.push_back("up " + std::to_string(event.x) + " " + std::to_string(event.y));
            if (event.y >= 300) fakeui::setTimer(30);
            else if (event.x < 100) {
                const int answer = MessageBoxW(nullptr, u"Удалить?", u"ВОПРОС", MB_YESNO | MB_ICONQUESTION);
                handled.push_back("answer " + std::to_string(answer));
            }
            break;
        case fakeui::EventKind::KeyDown:
            if (event.code == escapeKey) return 7;
            break;
        case fakeui::EventKind::Character:
            handled.push_back("char " + std::to_string(event.code));
            break;
        case fakeui::EventKind::Timer:
            handled.push_back("timer");
            break;
        default:
            break;
        }
    }
    handled.push_back("closed");
    return 0;
}

class ScenarioTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakeui::reset();
        handled.clear();
    }
    driver::ScenarioSettings settings() {
        driver::ScenarioSettings s;
        s.watchdogSeconds = 10;
        return s;
    }
};

TEST_F(ScenarioTest, BodyReadsTopToBottomAcrossAMessageBox) {
    const driver::ScenarioResult result = driver::runScenario(questionProgram, [] {
        EXPECT_EQ(driver::tap(150, 10), 0);
        EXPECT_THAT(handled, ElementsAre("up 150 10"));
        EXPECT_FALSE(driver::openBox());

        EXPECT_EQ(driver::tap(20, 10), 0);
        const std::optional<driver::BoxRecord> box = driver::openBox();
        ASSERT_TRUE(box);
        EXPECT_EQ(box->caption, u"ВОПРОС");
        EXPECT_EQ(box->text, u"Удалить?");
        EXPECT_EQ(box->style & MB_ICONMASK, static_cast<UINT>(MB_ICONQUESTION));
        EXPECT_THAT(handled, ElementsAre("up 150 10", "up 20 10")) << "the program waits inside the box";

        EXPECT_EQ(driver::answerBox(IDNO), 0);
        EXPECT_THAT(handled, ElementsAre("up 150 10", "up 20 10", "answer 7"));
        EXPECT_EQ(driver::typeText(u"Я"), 0);
        EXPECT_EQ(handled.back(), "char 1071");
        EXPECT_EQ(driver::pressKey(escapeKey), 0);
        EXPECT_TRUE(driver::programEnded());
    }, settings());
    EXPECT_EQ(result.exitCode, 7);
    EXPECT_TRUE(result.failures.empty());
    ASSERT_EQ(driver::boxes().size(), 1u);
    EXPECT_EQ(driver::boxes()[0].answer, IDNO);
}

TEST_F(ScenarioTest, ActionsTheProgramCannotTakeAreFailuresNotHangs) {
    const driver::ScenarioResult result = driver::runScenario(questionProgram, [] {
        EXPECT_EQ(driver::answerBox(IDOK), -1);
        EXPECT_EQ(driver::tap(20, 10), 0);
        EXPECT_EQ(driver::tap(150, 10), -1) << "a box is open";
        EXPECT_EQ(driver::waitIdle(), -1);
        // The body ends with the box still open: it gets its default answer, then the program
        // is asked to end.
    }, settings());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_THAT(handled, ElementsAre("up 20 10", "answer 6", "closed"));
    ASSERT_EQ(result.failures.size(), 3u);
    EXPECT_THAT(result.failures[0], HasSubstr("no message box is open"));
    EXPECT_THAT(result.failures[1], HasSubstr("tap 150 10: a message box is open (\"ВОПРОС\")"));
    EXPECT_THAT(result.failures[2], HasSubstr("wait-idle"));
}

TEST_F(ScenarioTest, AProgramThatEndsFirstLeavesTheBodyRunning) {
    const driver::ScenarioResult result = driver::runScenario([] { return 3; }, [] {
        EXPECT_TRUE(driver::programEnded());
        EXPECT_EQ(driver::tap(1, 1), -1);
        EXPECT_EQ(driver::quitProgram(), 0);
    }, settings());
    EXPECT_EQ(result.exitCode, 3);
    ASSERT_EQ(result.failures.size(), 1u);
    EXPECT_THAT(result.failures[0], HasSubstr("the program has ended"));
}

TEST_F(ScenarioTest, SleepLetsTimersFireAndQuitClosesTheProgram) {
    const driver::ScenarioResult result = driver::runScenario(questionProgram, [] {
        EXPECT_EQ(driver::tap(150, 310), 0);
        EXPECT_THAT(handled, ElementsAre("up 150 310"));
        EXPECT_EQ(driver::sleepFor(60), 0);
        EXPECT_THAT(handled, ElementsAre("up 150 310", "timer"));
        EXPECT_EQ(driver::quitProgram(), 0);
        EXPECT_EQ(handled.back(), "closed");
    }, settings());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.failures.empty());
}

TEST_F(ScenarioTest, DragMovesInStepsBetweenDownAndUp) {
    std::vector<fakeui::Event> events;
    driver::runScenario([&events] {
        fakeui::Event event;
        while (fakeui::getEvent(event)) events.push_back(event);
        return 0;
    }, [] { EXPECT_EQ(driver::drag(0, 0, 40, 20, 4), 0); }, settings());
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events.front().kind, fakeui::EventKind::StylusDown);
    EXPECT_EQ(events[2].x, 20);
    EXPECT_EQ(events[2].y, 10);
    EXPECT_EQ(events.back().kind, fakeui::EventKind::StylusUp);
    EXPECT_EQ(events.back().x, 40);
}

TEST_F(ScenarioTest, TheWatchdogEndsAProgramThatNeverWaits) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            driver::ScenarioSettings quick;
            quick.watchdogSeconds = 1;
            driver::runScenario(questionProgram, [] {
                driver::tap(150, 10);
                for (;;) std::this_thread::yield();  // a body that never acts again
            }, quick);
        },
        ::testing::ExitedWithCode(3), "scenario hung: the test body did not hand the turn back");
    EXPECT_EXIT(
        {
            driver::ScenarioSettings quick;
            quick.watchdogSeconds = 1;
            // The loop calls out on every pass: an empty one the optimiser may take away.
            driver::runScenario([] {
                for (;;) std::this_thread::yield();
                return 0;
            }, [] { driver::tap(1, 1); }, quick);
        },
        ::testing::ExitedWithCode(3), "scenario hung: the program did not hand the turn back");
}

}  // namespace
