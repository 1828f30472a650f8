// The turn-taking between a program and its test body (see scenario.h).
#include "platform/testing/scenario.h"

#include "emulator.h"
#include "platform/ui/input.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace driver {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto askAgainAfter = std::chrono::milliseconds(250);

enum class Turn { Program, Body };

// Everything the two threads share, guarded by `mutex`; only the side whose turn it is acts.
struct ScenarioState {
    std::mutex mutex;
    std::condition_variable changed;
    Turn turn = Turn::Program;
    bool running = false;
    bool bodyFinished = false;
    bool programFinished = false;
    bool quitRequested = false;
    int exitCode = 0;
    // The body asked the program to run on its own until then.
    std::optional<Clock::time_point> runUntil;
    // When the program was last asked to end (its windows closed).
    std::optional<Clock::time_point> askedToEnd;
    std::vector<BoxRecord> boxes;
    bool boxOpen = false;
    int pendingAnswer = 0;
    Clock::time_point turnStarted;
    Clock::duration turnAllowance{};
    std::string lastAction;
    ScenarioSettings settings;
    std::vector<std::string> failures;
};

ScenarioState& scenarioState()
{
    static ScenarioState state;
    return state;
}

void startTurn(ScenarioState& state, Turn turn, Clock::duration extra = {})
{
    state.turn = turn;
    state.turnStarted = Clock::now();
    state.turnAllowance = std::chrono::seconds(state.settings.watchdogSeconds) + extra;
    state.changed.notify_all();
}

// Program side: the body acts until it hands the turn back.
void handToBody(ScenarioState& state, std::unique_lock<std::mutex>& lock)
{
    startTurn(state, Turn::Body);
    state.changed.wait(lock, [&] { return state.turn == Turn::Program; });
}

// Body side: the program runs until its next idle moment, or until it ends.
void handToProgram(ScenarioState& state, std::unique_lock<std::mutex>& lock, Clock::duration extra = {})
{
    startTurn(state, Turn::Program, extra);
    state.changed.wait(lock, [&] { return state.turn == Turn::Body || state.programFinished; });
}

// The program is to end but waits again: it is asked again now and then, never at every idle
// moment (that would spin while it, say, declines in a question of its own).
bool askToEnd(ScenarioState& state, std::unique_lock<std::mutex>& lock, int maxWaitMs)
{
    const Clock::time_point now = Clock::now();
    if (!state.askedToEnd || now - *state.askedToEnd >= askAgainAfter) {
        state.askedToEnd = now;
        return false;
    }
    Clock::duration wait = *state.askedToEnd + askAgainAfter - now;
    if (maxWaitMs >= 0) wait = std::min<Clock::duration>(wait, std::chrono::milliseconds(maxWaitMs));
    lock.unlock();
    std::this_thread::sleep_for(wait);
    return true;
}

bool scenarioIdle(int maxWaitMs)
{
    ScenarioState& state = scenarioState();
    if (state.settings.onIdle && !state.settings.onIdle()) {
        std::lock_guard<std::mutex> lock(state.mutex);
        state.quitRequested = true;
    }
    // A timer that is due now runs before anyone looks at the program.
    if (maxWaitMs == 0) return true;
    std::unique_lock<std::mutex> lock(state.mutex);
    if (state.quitRequested || state.bodyFinished) return askToEnd(state, lock, maxWaitMs);
    if (state.runUntil) {
        const Clock::time_point now = Clock::now();
        if (now < *state.runUntil) {
            Clock::duration wait = *state.runUntil - now;
            if (maxWaitMs > 0) wait = std::min<Clock::duration>(wait, std::chrono::milliseconds(maxWaitMs));
            lock.unlock();
            std::this_thread::sleep_for(wait);
            return true;
        }
        state.runUntil.reset();
    }
    handToBody(state, lock);
    if (state.quitRequested || state.bodyFinished) return askToEnd(state, lock, maxWaitMs);
    return true;
}

int scenarioMessageBox(HWND owner, std::u16string_view text, std::u16string_view caption, UINT style)
{
    ScenarioState& state = scenarioState();
    std::unique_lock<std::mutex> lock(state.mutex);
    const size_t index = state.boxes.size();
    state.boxes.push_back({owner, std::u16string(caption), std::u16string(text), style, 0});
    state.boxOpen = true;
    int answer = 0;
    while (answer == 0) {
        if (state.bodyFinished || state.quitRequested) {
            answer = emu::defaultMessageBoxAnswer(style);
            break;
        }
        handToBody(state, lock);
        answer = state.pendingAnswer;
        state.pendingAnswer = 0;
    }
    state.boxOpen = false;
    state.boxes[index].answer = answer;
    return answer;
}

void watch(ScenarioState& state)
{
    std::unique_lock<std::mutex> lock(state.mutex);
    while (state.running) {
        state.changed.wait_for(lock, std::chrono::milliseconds(100));
        if (!state.running || Clock::now() - state.turnStarted <= state.turnAllowance) continue;
        const bool programTurn = state.turn == Turn::Program && !state.programFinished;
        std::fprintf(stderr,
                     "scenario hung: %s did not hand the turn back within %d s (last action: %s)\n",
                     programTurn ? (state.bodyFinished || state.quitRequested ? "the program, asked to end,"
                                                                             : "the program")
                                 : "the test body",
                     state.settings.watchdogSeconds, state.lastAction.empty() ? "none" : state.lastAction.c_str());
        std::fflush(stderr);
        // The hung thread cannot be stopped from here; ending the process fails the test.
        std::_Exit(3);
    }
}

void report(ScenarioState& state, const std::string& message)
{
    if (state.settings.reportFailure) state.settings.reportFailure(message);
    else state.failures.push_back(message);
}

// Body side: refuses an action the program cannot take now; holds the lock when it returns 0.
int mayAct(ScenarioState& state, std::unique_lock<std::mutex>& lock, const std::string& action)
{
    lock = std::unique_lock<std::mutex>(state.mutex);
    state.lastAction = action;
    std::string refusal;
    if (!state.running) refusal = action + ": no scenario is running";
    else if (state.programFinished) refusal = action + ": the program has ended";
    else if (state.boxOpen) refusal = action + ": a message box is open (\"" + emu::toUtf8(state.boxes.back().caption) + "\")";
    if (refusal.empty()) return 0;
    lock.unlock();
    report(state, refusal);
    return -1;
}

// Runs an injection, then gives the program its turn.
template <typename Inject>
int act(const std::string& action, Inject inject)
{
    ScenarioState& state = scenarioState();
    std::unique_lock<std::mutex> lock;
    if (mayAct(state, lock, action) != 0) return -1;
    inject();
    handToProgram(state, lock);
    return 0;
}

std::string pointText(int x, int y) { return std::to_string(x) + " " + std::to_string(y); }

}  // namespace

ScenarioResult runScenario(const ProgramMain& program, const ScenarioBody& body, ScenarioSettings settings)
{
    ScenarioState& state = scenarioState();
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        state.turn = Turn::Program;
        state.running = true;
        state.bodyFinished = state.programFinished = state.quitRequested = false;
        state.exitCode = 0;
        state.runUntil.reset();
        state.askedToEnd.reset();
        state.boxes.clear();
        state.boxOpen = false;
        state.pendingAnswer = 0;
        state.lastAction.clear();
        state.failures.clear();
        state.settings = std::move(settings);
        state.turnStarted = Clock::now();
        state.turnAllowance = std::chrono::seconds(state.settings.watchdogSeconds);
    }
    const ui::IdleHandler previousIdle = ui::setIdleHandler(scenarioIdle);
    emu::MessageBoxHandler previousBox = emu::setMessageBoxHandler(scenarioMessageBox);
    std::thread watchdog(watch, std::ref(state));
    std::thread bodyThread([&state, &body] {
        {
            std::unique_lock<std::mutex> lock(state.mutex);
            state.changed.wait(lock, [&] { return state.turn == Turn::Body || state.programFinished; });
        }
        body();
        std::lock_guard<std::mutex> lock(state.mutex);
        state.bodyFinished = true;
        startTurn(state, Turn::Program);
    });

    const int exitCode = program();
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        state.programFinished = true;
        state.exitCode = exitCode;
        startTurn(state, Turn::Body);
    }
    bodyThread.join();
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        state.running = false;
        state.changed.notify_all();
    }
    watchdog.join();
    ui::setIdleHandler(previousIdle);
    emu::setMessageBoxHandler(std::move(previousBox));
    return {exitCode, state.failures};
}

int tap(int x, int y)
{
    return act("tap " + pointText(x, y), [x, y] {
        ui::stylusDown(x, y);
        ui::stylusUp(x, y);
    });
}

int drag(int x1, int y1, int x2, int y2, int steps)
{
    const std::string action = "drag " + pointText(x1, y1) + " " + pointText(x2, y2);
    if (steps < 1) steps = 1;
    if (act(action, [x1, y1] { ui::stylusDown(x1, y1); }) != 0) return -1;
    for (int step = 1; step <= steps; ++step) {
        const int x = x1 + (x2 - x1) * step / steps;
        const int y = y1 + (y2 - y1) * step / steps;
        if (act(action, [x, y] { ui::stylusMove(x, y); }) != 0) return -1;
    }
    return act(action, [x2, y2] { ui::stylusUp(x2, y2); });
}

int pressKey(UINT virtualKey, const std::vector<UINT>& modifiers)
{
    return act("key " + std::to_string(virtualKey), [virtualKey, &modifiers] {
        for (const UINT modifier : modifiers) ui::keyDown(modifier);
        ui::keyDown(virtualKey);
        ui::keyUp(virtualKey);
        for (auto modifier = modifiers.rbegin(); modifier != modifiers.rend(); ++modifier) ui::keyUp(*modifier);
    });
}

int typeText(std::u16string_view text, const std::vector<UINT>& modifiers)
{
    return act("type " + emu::toUtf8(text), [text, &modifiers] {
        for (const UINT modifier : modifiers) ui::keyDown(modifier);
        for (const char16_t unit : text) ui::character(unit);
        for (auto modifier = modifiers.rbegin(); modifier != modifiers.rend(); ++modifier) ui::keyUp(*modifier);
    });
}

int waitIdle() { return act("wait-idle", [] {}); }

int sleepFor(int milliseconds)
{
    ScenarioState& state = scenarioState();
    std::unique_lock<std::mutex> lock;
    if (mayAct(state, lock, "sleep " + std::to_string(milliseconds)) != 0) return -1;
    const auto duration = std::chrono::milliseconds(milliseconds < 0 ? 0 : milliseconds);
    state.runUntil = Clock::now() + duration;
    handToProgram(state, lock, duration);
    return 0;
}

int quitProgram()
{
    ScenarioState& state = scenarioState();
    std::unique_lock<std::mutex> lock(state.mutex);
    state.lastAction = "quit";
    if (!state.running) return -1;
    state.quitRequested = true;
    while (!state.programFinished) handToProgram(state, lock);
    return 0;
}

bool programEnded()
{
    ScenarioState& state = scenarioState();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.programFinished;
}

std::optional<BoxRecord> openBox()
{
    ScenarioState& state = scenarioState();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (!state.boxOpen) return std::nullopt;
    return state.boxes.back();
}

int answerBox(int button)
{
    ScenarioState& state = scenarioState();
    std::unique_lock<std::mutex> lock(state.mutex);
    state.lastAction = "answer " + std::to_string(button);
    if (!state.boxOpen) {
        lock.unlock();
        report(state, "answer: no message box is open");
        return -1;
    }
    if (button <= 0) {
        lock.unlock();
        report(state, "answer: " + std::to_string(button) + " is not a button");
        return -1;
    }
    state.pendingAnswer = button;
    handToProgram(state, lock);
    return 0;
}

std::vector<BoxRecord> boxes()
{
    ScenarioState& state = scenarioState();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.boxes;
}

void fail(const std::string& message) { report(scenarioState(), message); }

}  // namespace driver
