// A presenter that waits for input wakes when another process's request comes in (the window
// manager's descriptor turns readable), however long it meant to wait; and the SDL presenter is
// the one that raises its window. Each wait runs in a child process that the test waits for with
// a generous limit, so that a presenter sleeping through the request fails instead of hanging.
#include "platform/host/headless.h"
#include "platform/host/sdl_presenter.h"
#include "platform/ui/attention.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

class PresenterWake : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(::pipe(request), 0);
        ui::attention().descriptor = request[0];
    }
    void TearDown() override
    {
        if (child > 0) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
        ui::attention().descriptor = -1;
        ::close(request[0]);
        ::close(request[1]);
    }

    // Runs wait in a child with a request already waiting; its exit code, or -1 when it did not
    // end within a minute.
    int waitInChild(bool (*wait)())
    {
        EXPECT_EQ(::write(request[1], "r", 1), 1);
        child = ::fork();
        if (child == 0)
            ::_exit(wait() ? 0 : 1);
        const Clock::time_point until = Clock::now() + std::chrono::seconds(60);
        while (Clock::now() < until) {
            int status = 0;
            if (::waitpid(child, &status, WNOHANG) == child) {
                child = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }

    int request[2] = {-1, -1};
    pid_t child = -1;
};

TEST_F(PresenterWake, TheHeadlessRunWakesFromAnHoursWait)
{
    EXPECT_EQ(waitInChild([] {
                  host::startHeadless(3600);
                  return host::headlessIdle(3600 * 1000);
              }),
              0);
}

TEST_F(PresenterWake, TheSdlWindowWakesFromAWaitWithoutEndAndCanBeRaised)
{
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    EXPECT_EQ(waitInChild([] {
                  std::string error;
                  if (host::openSdlPresenter(host::PresenterSettings(), host::InputSink(), error) != 0)
                      return false;
                  const bool raisable = ui::attention().raiseHostWindow != nullptr;
                  if (raisable)
                      ui::attention().raiseHostWindow();
                  const bool woke = host::sdlIdle(-1);
                  host::closeSdlPresenter();
                  return raisable && woke && ui::attention().raiseHostWindow == nullptr;
              }),
              0);
}

} // namespace
