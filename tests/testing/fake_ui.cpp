#include "tests/testing/fake_ui.h"

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

struct FakeUi {
    std::deque<fakeui::Event> queue;
    ui::IdleHandler idle = nullptr;
    bool timerSet = false;
    Clock::time_point timerDue;
};

FakeUi& fake()
{
    static FakeUi state;
    return state;
}

void push(fakeui::EventKind kind, int x, int y, UINT code) { fake().queue.push_back({kind, x, y, code}); }

}  // namespace

namespace ui {

void stylusDown(int x, int y) { push(fakeui::EventKind::StylusDown, x, y, 0); }
void stylusMove(int x, int y) { push(fakeui::EventKind::StylusMove, x, y, 0); }
void stylusUp(int x, int y) { push(fakeui::EventKind::StylusUp, x, y, 0); }
void keyDown(UINT key) { push(fakeui::EventKind::KeyDown, 0, 0, key); }
void keyUp(UINT key) { push(fakeui::EventKind::KeyUp, 0, 0, key); }
void character(WCHAR ch) { push(fakeui::EventKind::Character, 0, 0, ch); }

int msUntilNextTimer()
{
    if (!fake().timerSet) return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(fake().timerDue - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

IdleHandler setIdleHandler(IdleHandler handler)
{
    const IdleHandler previous = fake().idle;
    fake().idle = handler;
    return previous;
}

bool queueIsIdle() { return fake().queue.empty() && msUntilNextTimer() != 0; }

}  // namespace ui

namespace fakeui {

bool getEvent(Event& event)
{
    FakeUi& state = fake();
    for (;;) {
        if (state.timerSet && ui::msUntilNextTimer() == 0) {
            state.timerSet = false;
            event = {EventKind::Timer};
            return true;
        }
        if (!state.queue.empty()) {
            event = state.queue.front();
            state.queue.pop_front();
            return true;
        }
        if (state.idle && !state.idle(ui::msUntilNextTimer())) return false;
    }
}

void setTimer(int milliseconds)
{
    fake().timerSet = milliseconds >= 0;
    fake().timerDue = Clock::now() + std::chrono::milliseconds(milliseconds);
}

void reset()
{
    fake().queue.clear();
    fake().timerSet = false;
}

}  // namespace fakeui
