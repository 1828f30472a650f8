// Dernolo started a second time while a first copy runs, each in a host process of its own as a
// user starts them: on the same device the second ends at once without a home screen, saying why, and the
// first is raised; on another device the second does not see the first.
#include "platform/ui/shared_registry.h"
#include "tests/ui/private_tmpdir.h"
#include "tools/writer/edition_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const char installFolderPath[] = "Storage Card/Program Files/MORVANE/QUILLDEN";
// The first copy stays up until the two copies after it on its device have raised it.
const char firstCopyScript[] = "wait-journal 100000 raise DERNOLO\nwait-journal 100000 raise DERNOLO\nquit\n";
const char homeScreenProbe[] = "expect-window DERNOLO|Morvane Quillden\nquit\n";
constexpr auto startLimit = std::chrono::seconds(60);

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class SecondCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("second-copy-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        // The registry of this test's processes only (they inherit TMPDIR); the test looks into it too.
        tmpdir.emplace(folder / "tmp");
        for (const char* device : {"device", "other-device"})
            installEdition(folder / device);
    }
    void TearDown() override
    {
        for (const pid_t pid : running) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        tmpdir.reset();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    void installEdition(const fs::path& device)
    {
        fs::create_directories(device / installFolderPath);
        fs::create_directories(device / "Windows");
        Edition e;
        e.title = "Edition";
        e.cityLetter = 'P';
        EditionFirm firm;
        firm.name = "Firm";
        e.firms.push_back(firm);
        EditionRubric rubric;
        rubric.code = "01";
        rubric.title = "Rubric";
        rubric.hasFirmList = true;
        rubric.firms = {0};
        e.rubrics.push_back(rubric);
        DatabaseImage image;
        std::string error;
        ASSERT_EQ(writeEdition(e, image, error), 0) << error;
        ASSERT_EQ(saveImage(image, (device / installFolderPath / "a.ydb").string(), error), 0) << error;
    }

    // Dernolo, headless on a device, its errors written to a file named after `name`.
    pid_t start(const std::string& name, const std::string& device, const char* script = nullptr)
    {
        std::vector<std::string> arguments = {DERNOLO_PATH, "--headless", "--device", (folder / device).string(),
                                              "--timeout", "120"};
        if (script != nullptr) {
            const fs::path path = folder / (name + ".script");
            std::ofstream(path, std::ios::binary) << script;
            arguments.insert(arguments.end(), {"--script", path.string()});
        }
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
        const std::string errors = (folder / (name + ".errors")).string();
        posix_spawn_file_actions_addopen(&files, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = -1;
        if (posix_spawn(&pid, DERNOLO_PATH, &files, nullptr, argv.data(), environ) != 0)
            pid = -1;
        posix_spawn_file_actions_destroy(&files);
        if (pid > 0)
            running.push_back(pid);
        return pid;
    }
    std::string errorsOf(const std::string& name) const { return readFile(folder / (name + ".errors")); }

    // The exit code, or -1 when the process did not end in time or was killed.
    int waitFor(pid_t pid, Clock::duration limit)
    {
        const Clock::time_point until = Clock::now() + limit;
        for (;;) {
            int status = 0;
            const pid_t done = ::waitpid(pid, &status, WNOHANG);
            if (done == pid) {
                running.erase(std::remove(running.begin(), running.end(), pid), running.end());
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            if (done < 0 || Clock::now() >= until)
                return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    bool stillRunning(pid_t pid)
    {
        int status = 0;
        return ::waitpid(pid, &status, WNOHANG) == 0;
    }

    // Until the process has published its main window on the device.
    bool waitUntilPublished(pid_t pid, const std::string& device)
    {
        const std::string root = fs::canonical(folder / device).string();
        const Clock::time_point until = Clock::now() + startLimit;
        while (Clock::now() < until && stillRunning(pid)) {
            for (const ui::SharedWindow& w : ui::listSharedWindows(ui::registryFolder(root, false), 0))
                if (w.className == u"DERNOLO")
                    return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    fs::path folder;
    std::optional<ui_test::PrivateTmpdir> tmpdir;
    std::vector<pid_t> running;
};

TEST_F(SecondCopy, EndsAtOnceAndRaisesTheFirstOnTheSameDeviceOnly)
{
    const pid_t first = start("first", "device", firstCopyScript);
    ASSERT_GT(first, 0);
    ASSERT_TRUE(waitUntilPublished(first, "device")) << "the first copy did not come up: " << errorsOf("first");

    const pid_t elsewhere = start("elsewhere", "other-device", homeScreenProbe);
    ASSERT_GT(elsewhere, 0);
    EXPECT_EQ(waitFor(elsewhere, startLimit), 0) << "on another device the first copy is not seen: "
                                                  << errorsOf("elsewhere");
    ASSERT_TRUE(stillRunning(first)) << "only copies on its own device raise it";

    // Had it come to its home screen, the script would have found the window.
    const pid_t probe = start("probe", "device", homeScreenProbe);
    ASSERT_GT(probe, 0);
    EXPECT_EQ(waitFor(probe, startLimit), 1);
    EXPECT_NE(errorsOf("probe").find("there is none"), std::string::npos) << errorsOf("probe");
    const std::string said = "another copy of the program is running on this device; it was brought to the front";
    EXPECT_LT(errorsOf("probe").find(said), errorsOf("probe").find("there is none")) << "the reason comes first";

    // Without a script a copy that came up would run until its --timeout.
    const pid_t second = start("second", "device");
    ASSERT_GT(second, 0);
    EXPECT_EQ(waitFor(second, startLimit), 0) << errorsOf("second");
    EXPECT_NE(errorsOf("second").find(said), std::string::npos) << "not silently: " << errorsOf("second");
    EXPECT_EQ(errorsOf("elsewhere").find("another copy"), std::string::npos);

    EXPECT_EQ(waitFor(first, std::chrono::seconds(120)), 0)
        << "the first copy was not raised twice: " << errorsOf("first");
}

} // namespace
