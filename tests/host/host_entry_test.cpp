// The emulator's entry end to end: the demo program started as a user starts it, with its
// options, headless or on SDL's dummy video driver, driven by a script that leaves screenshots.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using ::testing::HasSubstr;

namespace {

namespace fs = std::filesystem;

struct RunResult {
    int exitCode = -1;
    std::string errors;
};

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Width and height from a PNG's header, or 0 x 0 when the file is not a PNG.
std::pair<unsigned, unsigned> pngSize(const fs::path& path)
{
    const std::string bytes = readFile(path);
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || bytes.compare(12, 4, "IHDR") != 0)
        return {0, 0};
    auto number = [&](size_t at) {
        unsigned value = 0;
        for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
        return value;
    };
    return {number(16), number(20)};
}

class HostEntry : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("host-entry-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "device");
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path script(const std::string& text) {
        const fs::path path = folder / "run.script";
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // Runs the demo with these options (the device folder added) and an environment variable set.
    // Without a display: neither X nor Wayland is named, and SDL is left to choose its driver.
    RunResult runWithoutDisplay(std::vector<std::string> options) { return run(std::move(options), nullptr, true); }

    RunResult run(std::vector<std::string> options, const char* videoDriver = nullptr, bool noDisplay = false) {
        std::vector<std::string> arguments = {HOST_DEMO_PATH, "--device", (folder / "device").string(), "--timeout", "20"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        std::vector<std::string> environment;
        for (char** entry = environ; *entry; ++entry) {
            const std::string_view variable = *entry;
            if (variable.substr(0, 16) == "SDL_VIDEODRIVER=") continue;
            // Nor a runtime folder, as on a bare console: a driver that wants one must not complain.
            if (noDisplay && (variable.substr(0, 8) == "DISPLAY=" || variable.substr(0, 16) == "WAYLAND_DISPLAY=" ||
                              variable.substr(0, 16) == "XDG_RUNTIME_DIR="))
                continue;
            environment.emplace_back(*entry);
        }
        if (videoDriver) environment.push_back(std::string("SDL_VIDEODRIVER=") + videoDriver);
        std::vector<char*> envp;
        for (std::string& entry : environment) envp.push_back(entry.data());
        envp.push_back(nullptr);

        const fs::path errors = folder / "stderr.txt";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        pid_t child = 0;
        RunResult result;
        const int started = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (started != 0) {
            result.errors = "cannot start the demo";
            return result;
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        result.errors = readFile(errors);
        return result;
    }

    fs::path folder;
};

const char* const userScript =
    "expect-window HostDemo|Демо\n"
    "screenshot start\n"
    "tap 120 50\n"
    "expect-box ВОПРОС|Сохранить?|MB_ICONQUESTION\n"
    "answer IDYES\n"
    "expect-window |Сохранено\n"
    "key VK_F1\n"
    "sleep 1100\n"
    "expect-window STATIC|Строка: 1\n"
    "screenshot ticked\n"
    "key VK_ESCAPE\n";

TEST_F(HostEntry, AHeadlessScriptDrivesTheProgramAndLeavesScreenshots) {
    const RunResult result = run({"--headless", "--script", script(userScript).string(), "--screenshots",
                                  (folder / "shots").string()});
    EXPECT_EQ(result.exitCode, 3) << result.errors;
    EXPECT_EQ(pngSize(folder / "shots" / "start.png"), std::make_pair(240u, 320u));
    EXPECT_EQ(pngSize(folder / "shots" / "ticked.png"), std::make_pair(240u, 320u));
}

TEST_F(HostEntry, TheSameScriptRunsInAWindow) {
    const RunResult result = run({"--script", script(userScript).string(), "--screenshots", (folder / "shots").string(),
                                  "--landscape", "--scale", "2"},
                                 "dummy");
    EXPECT_EQ(result.exitCode, 3) << result.errors;
    EXPECT_EQ(pngSize(folder / "shots" / "start.png"), std::make_pair(320u, 240u)) << "screenshots are of the device";
}

TEST_F(HostEntry, AFailedCheckNamesItsLineAndClosesTheProgram) {
    const RunResult result = run({"--headless", "--script", script("tap 120 50\nexpect-box ОШИБКА\n").string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_THAT(result.errors, HasSubstr("line 2: expected a message box \"ОШИБКА\", found \"ВОПРОС|Сохранить?\""));
}

TEST_F(HostEntry, AHeadlessRunWithNothingToWaitForEndsByItself) {
    const RunResult idle = run({"--headless"});
    EXPECT_EQ(idle.exitCode, 3) << idle.errors;
    EXPECT_EQ(idle.errors, "");
}

TEST_F(HostEntry, WithoutADisplayTheProgramSaysSoInsteadOfRunningUnseen) {
    const RunResult result = runWithoutDisplay({});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_THAT(result.errors, HasSubstr("no display is available"));
    EXPECT_THAT(result.errors, HasSubstr("run with --headless"));
    EXPECT_EQ(std::count(result.errors.begin(), result.errors.end(), '\n'), 1) << "nothing but our line: " << result.errors;
    // Headless it runs as ever.
    EXPECT_EQ(runWithoutDisplay({"--headless"}).exitCode, 3);
}

TEST_F(HostEntry, BadOptionsAndScriptsAreRefusedBeforeTheProgramStarts) {
    RunResult result = run({"--scale", "3"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_THAT(result.errors, HasSubstr("--scale: '3' is not 1 or 2"));
    result = run({"--headless", "--script", script("tap 1\n").string()});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_THAT(result.errors, HasSubstr("line 1: tap takes two numbers"));
    result = run({"--headless", "--script", (folder / "missing.script").string()});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_THAT(result.errors, HasSubstr("cannot read the script"));
    result = run({"--headless", "--device", (folder / "nowhere").string()});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_THAT(result.errors, HasSubstr("does not exist"));
}

}  // namespace
