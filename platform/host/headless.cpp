#include "platform/host/headless.h"

#include "platform/ui/attention.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <thread>

namespace host {

namespace {

using Clock = std::chrono::steady_clock;

// How long a program may go on after it was asked to end.
constexpr auto endingGrace = std::chrono::seconds(5);
// How often a program that is ending but still waits is asked again (its windows closed once
// more, or its quit posted once they are gone). Asking at every idle moment would spin.
constexpr auto askAgainAfter = std::chrono::milliseconds(250);

struct HeadlessRun {
    Clock::time_point deadline;
    bool ending = false;
    Clock::time_point endingSince;
    Clock::time_point lastAsked;
    int timeoutSeconds = 0;
};

HeadlessRun& headlessRun()
{
    static HeadlessRun run;
    return run;
}

// Sleeps, but wakes as soon as another process asks for the program (a second copy started).
void nap(Clock::duration wait)
{
    const int descriptor = ui::attention().descriptor;
    if (descriptor < 0) {
        std::this_thread::sleep_for(wait);
        return;
    }
    const Clock::time_point until = Clock::now() + wait;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0)
            return;
        pollfd request{descriptor, POLLIN, 0};
        if (poll(&request, 1, static_cast<int>(std::min<long long>(left, 3600000))) >= 0 || errno != EINTR)
            return;
    }
}

bool askToEnd(HeadlessRun& run)
{
    const Clock::time_point now = Clock::now();
    run.ending = true;
    run.endingSince = now;
    run.lastAsked = now;
    return false;
}

// The program was asked to end and waits again: its timers still run (a closing animation, a
// question's own loop), it is asked again now and then, and past the grace the run is cut off.
bool whileEnding(HeadlessRun& run, int maxWaitMs)
{
    const Clock::time_point now = Clock::now();
    if (now - run.endingSince > endingGrace) {
        std::fprintf(stderr, "headless run: the program did not end after its windows were closed\n");
        std::fflush(stderr);
        std::_Exit(124);
    }
    if (now - run.lastAsked >= askAgainAfter) {
        run.lastAsked = now;
        return false;
    }
    Clock::duration wait = run.lastAsked + askAgainAfter - now;
    if (maxWaitMs >= 0) wait = std::min<Clock::duration>(wait, std::chrono::milliseconds(maxWaitMs));
    nap(wait);
    return true;
}

}  // namespace

void startHeadless(int timeoutSeconds)
{
    HeadlessRun& run = headlessRun();
    run = HeadlessRun();
    run.timeoutSeconds = timeoutSeconds;
    run.deadline = Clock::now() + std::chrono::seconds(timeoutSeconds);
}

bool headlessIdle(int maxWaitMs)
{
    HeadlessRun& run = headlessRun();
    if (run.ending) return whileEnding(run, maxWaitMs);
    // Nothing can come: no one types, and no timer runs.
    if (maxWaitMs < 0) return askToEnd(run);
    const Clock::time_point now = Clock::now();
    if (now >= run.deadline) {
        std::fprintf(stderr, "headless run: ending the program after %d s\n", run.timeoutSeconds);
        return askToEnd(run);
    }
    const auto wait = std::min<Clock::duration>(std::chrono::milliseconds(maxWaitMs), run.deadline - now);
    nap(wait);
    return true;
}

}  // namespace host
