// Windows of another host process on the same device, through the platform's own calls: found
// by class and text, handles that name no local window, brought forward with "| 1" to the
// owned window that was active last, gone with their process; and the same "| 1" locally.
#include "tests/ui/ui_fixture.h"

#include "tests/ui/private_tmpdir.h"

#include "platform/ui/attention.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using ui_test::UiTest;

bool journalHas(const std::string& line)
{
    const std::vector<std::string> lines = emu::journal();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Both processes on a device of their own, with a private temporary folder.
class ForeignWindows : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        base = fs::temp_directory_path() /
               ("foreign-windows-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(base);
        fs::create_directories(base / "device");
        fs::create_directories(base / "other-device");
        tmpdir.emplace(base / "tmp");
        ASSERT_EQ(emu::setDeviceRoot((base / "device").string()), 0);
        emu::clearJournal();
    }
    void TearDown() override
    {
        if (child > 0) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
        UiTest::TearDown();
        tmpdir.reset();
        std::error_code ignored;
        fs::remove_all(base, ignored);
    }

    // The other process: a main window whose text changed after it was made, and an owned window
    // that was active last; it then waits in GetMessage and reports which window a raise request
    // activated.
    void startOtherProcess()
    {
        int pipes[2];
        ASSERT_EQ(::pipe(pipes), 0);
        child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipes[0]);
            report = pipes[1];
            runOtherProcess();
        }
        ::close(pipes[1]);
        fromChild = pipes[0];
        ASSERT_EQ(readFromChild(), 'r') << "the other process did not get ready";
    }
    char readFromChild()
    {
        char c = 0;
        pollfd p{fromChild, POLLIN, 0};
        if (::poll(&p, 1, 60000) <= 0 || ::read(fromChild, &c, 1) != 1)
            return 0;
        return c;
    }

    [[noreturn]] static void runOtherProcess()
    {
        HWND main = CreateWindowExW(0, u"Logging", u"Старое", WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                    nullptr);
        SendMessageW(main, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"Справочник"));
        popup = CreateWindowExW(0, u"Logging", u"Вопрос", WS_VISIBLE | WS_POPUP, 0, 0, 50, 50, main, nullptr, nullptr,
                                nullptr);
        SetActiveWindow(main);
        const char ready = GetActiveWindow() == main ? 'r' : '?';
        if (::write(report, &ready, 1) != 1)
            ::_exit(1);
        ui::setIdleHandler(otherIdle);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
        ::_exit(1);
    }
    static bool otherIdle(int)
    {
        if (journalHas("raise Logging")) {
            const char raised = GetActiveWindow() == popup ? 'p' : '?';
            ::_exit(::write(report, &raised, 1) == 1 ? 0 : 1);
        }
        // The request wakes the wait long before this passes.
        pollfd p{ui::attention().descriptor, POLLIN, 0};
        if (::poll(&p, 1, 120000) <= 0)
            ::_exit(2);
        return true;
    }

    fs::path base;
    std::optional<ui_test::PrivateTmpdir> tmpdir;
    pid_t child = -1;
    int fromChild = -1;
    static inline int report = -1;
    static inline HWND popup = nullptr;
};

TEST_F(ForeignWindows, AnotherProcesssWindowIsFoundRaisedAndGoneWithIt)
{
    startOtherProcess();
    EXPECT_EQ(FindWindowW(u"Logging", u"Старое"), nullptr) << "the text it has now counts";
    HWND other = FindWindowW(u"Logging", u"Справочник");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(FindWindowW(u"LOGGING", u"Справочник"), other) << "class names ignore case; a window keeps its handle";
    EXPECT_EQ(FindWindowW(nullptr, u"Справочник"), other);
    EXPECT_EQ(FindWindowW(u"Elsewhere", nullptr), nullptr);
    EXPECT_NE(FindWindowA("Logging", nullptr), nullptr);

    EXPECT_TRUE(IsWindow(other));
    EXPECT_FALSE(IsWindowVisible(other)) << "nothing but IsWindow and SetForegroundWindow reaches it";
    SetLastError(0);
    EXPECT_EQ(GetWindowTextLengthW(other), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(DestroyWindow(other));
    EXPECT_FALSE(PostMessageW(other, WM_CLOSE, 0, 0));
    // Our own windows never get such a handle.
    HWND own = create("own", WS_VISIBLE, 0, 0, 10, 10);
    EXPECT_NE(own, other);
    EXPECT_EQ(FindWindowW(u"Logging", nullptr), own) << "a window of our own comes first";

    ASSERT_EQ(emu::setDeviceRoot((base / "other-device").string()), 0);
    EXPECT_EQ(FindWindowW(u"Logging", u"Справочник"), nullptr) << "another device, another set of windows";
    ASSERT_EQ(emu::setDeviceRoot((base / "device").string()), 0);

    EXPECT_TRUE(SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(other) | 1)));
    EXPECT_EQ(GetForegroundWindow(), nullptr) << "the other program is in front now";
    EXPECT_EQ(readFromChild(), 'p') << "its owned window that was active last came forward";
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    child = -1;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    // It ended without withdrawing anything, as a crash does.
    EXPECT_FALSE(IsWindow(other));
    EXPECT_FALSE(SetForegroundWindow(other));
    EXPECT_EQ(FindWindowW(nullptr, u"Справочник"), nullptr);
}

TEST_F(ForeignWindows, OrOneBringsTheLastActiveOwnedWindowOfOurOwn)
{
    HWND main = create("main", WS_VISIBLE, 0, 0, 100, 100);
    HWND first = create("first", WS_VISIBLE | WS_POPUP, 0, 0, 50, 50, main);
    HWND second = create("second", WS_VISIBLE | WS_POPUP, 0, 0, 50, 50, main);
    for (HWND h : {main, first, second})
        EXPECT_EQ(reinterpret_cast<uintptr_t>(h) & 1, 0u) << "bit 0 of a handle stays free for \"| 1\"";
    SetActiveWindow(first);
    SetActiveWindow(main);
    const auto orOne = [](HWND h) { return reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(h) | 1); };
    EXPECT_TRUE(SetForegroundWindow(orOne(main)));
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_TRUE(SetForegroundWindow(main));
    EXPECT_EQ(GetActiveWindow(), main);

    DestroyWindow(first);
    EXPECT_TRUE(SetForegroundWindow(orOne(main)));
    EXPECT_EQ(GetActiveWindow(), main) << "with the owned window gone, the window itself";
    EXPECT_FALSE(SetForegroundWindow(orOne(first)));
}

} // namespace
