#include "platform/host/headless.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace host {

namespace {

using Clock = std::chrono::steady_clock;

// How long a program may go on after it was asked to end.
constexpr auto endingGrace = std::chrono::seconds(5);

struct HeadlessRun {
    Clock::time_point deadline;
    bool ending = false;
    Clock::time_point endingSince;
    int timeoutSeconds = 0;
};

HeadlessRun& headlessRun()
{
    static HeadlessRun run;
    return run;
}

bool askToEnd(HeadlessRun& run)
{
    if (!run.ending) {
        run.ending = true;
        run.endingSince = Clock::now();
    } else if (Clock::now() - run.endingSince > endingGrace) {
        std::fprintf(stderr, "headless run: the program did not end after its windows were closed\n");
        std::fflush(stderr);
        std::_Exit(124);
    }
    return false;
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
    if (run.ending) return askToEnd(run);
    // Nothing can come: no one types, and no timer runs.
    if (maxWaitMs < 0) return askToEnd(run);
    const Clock::time_point now = Clock::now();
    if (now >= run.deadline) {
        std::fprintf(stderr, "headless run: ending the program after %d s\n", run.timeoutSeconds);
        return askToEnd(run);
    }
    const auto wait = std::min<Clock::duration>(std::chrono::milliseconds(maxWaitMs), run.deadline - now);
    std::this_thread::sleep_for(wait);
    return true;
}

}  // namespace host
