// The test driver: runs a program and a test body that acts on it like a user does.
//
// The program runs on the calling thread exactly as it runs on the device; the body runs on a
// second thread. The two strictly take turns (never both at once): the body gets its turn
// whenever the program waits for the user, that is when its queue is idle (in the main loop or
// in any modal loop below it) or when it shows a message box. A body's action (a tap, a key)
// gives the turn back to the program until its next such moment, so a test reads top to bottom
// like what a user does, even across modal dialogs. A watchdog ends a scenario whose program or
// body does not hand the turn back in time with a failure instead of a hang.
#pragma once

#include "win32/types.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace driver {

using ProgramMain = std::function<int()>;
using ScenarioBody = std::function<void()>;

struct ScenarioSettings {
    // Longest time one turn may take (the program to reach its next idle moment, the body to
    // act), plus any time the body asked the program to run for.
    int watchdogSeconds = 30;
    // Called on the body's thread for every failed action; the default collects them into
    // ScenarioResult::failures.
    std::function<void(const std::string&)> reportFailure;
    // Called on the program's thread whenever it waits (e.g. to show the screen in a window);
    // false asks the program to end, as quitProgram does.
    std::function<bool()> onIdle;
};

struct ScenarioResult {
    int exitCode = 0;
    std::vector<std::string> failures;
};

// Runs `program` on this thread and `body` beside it. When the body returns, the program is
// asked to end (its windows are closed) and open message boxes are answered with their default.
ScenarioResult runScenario(const ProgramMain& program, const ScenarioBody& body, ScenarioSettings settings = {});

// ---- actions of the body (each returns 0, or -1 after reporting the failure) ---------------

// Stylus down and up at one screen point, then the program runs to its next idle moment.
int tap(int x, int y);
// Down at the first point, moves in `steps` steps, up at the last.
int drag(int x1, int y1, int x2, int y2, int steps = 8);
// Key down and up (VK_*), with the modifier keys held around it.
int pressKey(UINT virtualKey, const std::vector<UINT>& modifiers = {});
// Each UTF-16 unit as one typed character, with the modifier keys held around them (Alt + a
// character is how accelerators of character codes are reached).
int typeText(std::u16string_view text, const std::vector<UINT>& modifiers = {});
// Gives the program the turn until its next idle moment.
int waitIdle();
// Lets the program run (its timers fire) for this many milliseconds of real time.
int sleepFor(int milliseconds);
// Asks the program to end (closes its windows) and waits until it has. Its exit code is the
// scenario's.
int quitProgram();
bool programEnded();

// ---- message boxes ------------------------------------------------------------------------

struct BoxRecord {
    HWND owner = nullptr;
    std::u16string caption;
    std::u16string text;
    UINT style = 0;
    int answer = 0;  // 0 while the box is open
};
// The box the program now waits on, if any.
std::optional<BoxRecord> openBox();
// Answers the open box with a button (IDOK, IDYES, ...) and runs to the next idle moment.
int answerBox(int button);
// Every box of the scenario, in order, answered or open.
std::vector<BoxRecord> boxes();

// Reports a failure of the body's own checks through the scenario's reporter.
void fail(const std::string& message);

}  // namespace driver
