// The folder through which the host processes of one device see each other's windows: entries
// published, changed and withdrawn, the leftovers of a killed process, damaged entries, separate
// device roots, requests through the FIFO, and a temporary folder that cannot be used.
#include "platform/ui/attention.h"
#include "platform/ui/shared_registry.h"
#include "tests/ui/private_tmpdir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr uint64_t mainHandle = 0x20002;

std::string hex16(uint64_t value)
{
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

bool readable(int fd)
{
    pollfd p{fd, POLLIN, 0};
    return fd >= 0 && poll(&p, 1, 0) > 0;
}

// A private temporary folder for the registry, so that nothing else on the machine takes part.
class SharedRegistry : public ::testing::Test {
protected:
    void SetUp() override
    {
        base = fs::temp_directory_path() /
               ("shared-registry-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(base);
        tmpdir.emplace(base);
    }
    void TearDown() override
    {
        if (child > 0) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
        ui::withdrawAllWindows();
        tmpdir.reset();
        std::error_code ignored;
        fs::remove_all(base, ignored);
    }

    // A child process that publishes one window and waits to be killed; false when it did not
    // manage to publish.
    bool startPublishingChild(const std::string& folder, uint64_t handle, std::u16string text)
    {
        int ready[2];
        if (::pipe(ready) != 0)
            return false;
        child = ::fork();
        if (child == 0) {
            ::close(ready[0]);
            const char result = ui::publishWindow(folder, handle, u"OTHER", text) == 0 ? 'y' : 'n';
            if (::write(ready[1], &result, 1) != 1)
                ::_exit(1);
            for (;;)
                ::pause();
        }
        ::close(ready[1]);
        char result = 0;
        pollfd p{ready[0], POLLIN, 0};
        const bool told = child > 0 && ::poll(&p, 1, 60000) > 0 && ::read(ready[0], &result, 1) == 1;
        ::close(ready[0]);
        return told && result == 'y';
    }
    void killChild()
    {
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        child = -1;
    }

    fs::path base;
    std::optional<ui_test::PrivateTmpdir> tmpdir;
    pid_t child = -1;
};

TEST_F(SharedRegistry, AWindowIsSeenWithItsCurrentTextUntilItIsWithdrawn)
{
    const std::string folder = ui::registryFolder("/devices/one", true);
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(fs::path(folder).parent_path(), base);
    ASSERT_EQ(ui::publishWindow(folder, mainHandle, u"DERNOLO", u"Справочник"), 0);

    std::vector<ui::SharedWindow> seen = ui::listSharedWindows(folder, 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].owner, ui::ownToken());
    EXPECT_EQ(seen[0].handle, mainHandle);
    EXPECT_EQ(seen[0].className, u"DERNOLO");
    EXPECT_EQ(seen[0].text, u"Справочник");
    EXPECT_FALSE(seen[0].textCut);
    EXPECT_TRUE(ui::listSharedWindows(folder, ui::ownToken()).empty()) << "a process leaves its own out";
    EXPECT_TRUE(ui::sharedWindowLive(folder, ui::ownToken(), mainHandle));

    ASSERT_EQ(ui::publishWindow(folder, mainHandle, u"DERNOLO", u"Другой"), 0);
    seen = ui::listSharedWindows(folder, 0);
    ASSERT_EQ(seen.size(), 1u) << "a new text replaces the entry";
    EXPECT_EQ(seen[0].text, u"Другой");

    const std::u16string longText(5000, u'x');
    ASSERT_EQ(ui::publishWindow(folder, 0x40004, u"LONG", longText), 0);
    seen = ui::listSharedWindows(folder, 0);
    ASSERT_EQ(seen.size(), 2u);
    const auto& cut = seen[0].handle == 0x40004 ? seen[0] : seen[1];
    EXPECT_TRUE(cut.textCut);
    EXPECT_EQ(cut.text.size(), 4096u);

    ui::withdrawWindow(mainHandle);
    seen = ui::listSharedWindows(folder, 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].handle, 0x40004u);
    EXPECT_FALSE(ui::sharedWindowLive(folder, ui::ownToken(), mainHandle));
    ui::withdrawWindow(0x40004);
    EXPECT_TRUE(ui::listSharedWindows(folder, 0).empty());
    EXPECT_FALSE(fs::exists(folder)) << "the last window out removes the folder";

    ASSERT_EQ(ui::publishWindow(folder, mainHandle, u"DERNOLO", u"Снова"), 0) << "and the next one makes it again";
    EXPECT_EQ(ui::listSharedWindows(folder, 0).size(), 1u);
}

TEST_F(SharedRegistry, DeviceRootsHaveFoldersOfTheirOwn)
{
    const std::string one = ui::registryFolder("/devices/one", true);
    const std::string two = ui::registryFolder("/devices/two", true);
    ASSERT_FALSE(one.empty());
    ASSERT_FALSE(two.empty());
    EXPECT_NE(one, two);
    EXPECT_EQ(ui::registryFolder("/devices/one", false), one);
    EXPECT_EQ(ui::registryFolder("", true), "") << "no device root, nobody to share with";

    ASSERT_EQ(ui::publishWindow(one, mainHandle, u"DERNOLO", u"Один"), 0);
    EXPECT_TRUE(ui::listSharedWindows(two, 0).empty());
    ASSERT_EQ(ui::publishWindow(two, mainHandle, u"DERNOLO", u"Два"), 0);
    EXPECT_TRUE(ui::listSharedWindows(one, 0).empty()) << "a process publishes on one device at a time";
    ASSERT_EQ(ui::listSharedWindows(two, 0).size(), 1u);
}

TEST_F(SharedRegistry, AKilledProcesssWindowsAreNotSeenAndItsFilesGo)
{
    const std::string folder = ui::registryFolder("/devices/one", true);
    ASSERT_FALSE(folder.empty());
    ASSERT_TRUE(startPublishingChild(folder, mainHandle, u"Живой"));

    std::vector<ui::SharedWindow> seen = ui::listSharedWindows(folder, ui::ownToken());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].owner, ui::ownToken()) << "a forked child publishes as a process of its own";
    EXPECT_EQ(seen[0].text, u"Живой");
    const uint64_t childToken = seen[0].owner;
    EXPECT_EQ(ui::sendRaiseRequest(folder, childToken, ui::RaiseRequest{mainHandle, false}), 0);

    killChild();
    EXPECT_FALSE(ui::sharedWindowLive(folder, childToken, mainHandle));
    EXPECT_TRUE(ui::listSharedWindows(folder, 0).empty());
    EXPECT_NE(ui::sendRaiseRequest(folder, childToken, ui::RaiseRequest{mainHandle, false}), 0)
        << "nobody reads a dead process's requests";
    std::vector<std::string> left;
    for (const auto& file : fs::directory_iterator(folder))
        left.push_back(file.path().filename().string());
    EXPECT_TRUE(left.empty()) << left.size() << " files left, the first " << (left.empty() ? "" : left[0]);
}

TEST_F(SharedRegistry, DamagedEntriesAreIgnoredAndUnheldOnesRemoved)
{
    const std::string folder = ui::registryFolder("/devices/one", true);
    ASSERT_FALSE(folder.empty());
    const uint64_t token = 0x1234567890abcdefu;
    auto entryPath = [&](uint64_t handle) { return folder + "/" + hex16(token) + "-" + hex16(handle) + ".win"; };
    auto header = [&](uint32_t classUnits, uint32_t textUnits, uint64_t tokenIn, uint64_t handle) {
        std::string bytes = "DWE1";
        const uint32_t flags = 0;
        bytes.append(reinterpret_cast<const char*>(&classUnits), 4);
        bytes.append(reinterpret_cast<const char*>(&textUnits), 4);
        bytes.append(reinterpret_cast<const char*>(&flags), 4);
        bytes.append(reinterpret_cast<const char*>(&tokenIn), 8);
        bytes.append(reinterpret_cast<const char*>(&handle), 8);
        return bytes;
    };
    const std::vector<std::string> contents = {
        "",
        "DWE1\x03",
        header(3, 2, token, 3),                                  // says 10 bytes follow, none do
        header(0xFFFFFFFFu, 0xFFFFFFFFu, token, 4) + "abcd",     // lengths that overflow
        header(1, 0, 0x42, 5) + std::string("A\0", 2),           // claims another process's token
        header(1, 0, token, 6) + std::string("A\0", 2) + "tail",  // more than its lengths say
        std::string(100000, 'D'),
        "DWE2" + header(0, 0, token, 8).substr(4),
    };
    std::vector<int> held;
    for (size_t i = 0; i < contents.size(); ++i) {
        const std::string path = entryPath(i + 1);
        std::ofstream(path, std::ios::binary) << contents[i];
        const int fd = ::open(path.c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::flock(fd, LOCK_EX), 0);
        held.push_back(fd);
    }
    ASSERT_EQ(::mkfifo(entryPath(100).c_str(), 0600), 0);
    fs::create_directory(entryPath(101));
    fs::create_symlink("/dev/zero", entryPath(102));
    std::ofstream(folder + "/not-an-entry.win") << "x";

    EXPECT_TRUE(ui::listSharedWindows(folder, 0).empty()) << "held, but nothing in them can be believed";
    EXPECT_FALSE(ui::sharedWindowLive(folder, token, 3));
    for (const int fd : held)
        ::close(fd);
    EXPECT_TRUE(ui::listSharedWindows(folder, 0).empty());
    for (size_t i = 0; i < contents.size(); ++i)
        EXPECT_FALSE(fs::exists(entryPath(i + 1))) << "an entry nobody holds belongs to a dead process: " << i;
    EXPECT_TRUE(fs::exists(folder + "/not-an-entry.win")) << "what is not named as an entry is left alone";

    ASSERT_EQ(ui::publishWindow(folder, mainHandle, u"DERNOLO", u"Целый"), 0);
    ASSERT_EQ(ui::listSharedWindows(folder, 0).size(), 1u) << "the damage does not hide the sound entry";
}

TEST_F(SharedRegistry, RequestsReachTheOwnerThroughADescriptorItCanWaitOn)
{
    const std::string folder = ui::registryFolder("/devices/one", true);
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(ui::attention().descriptor, -1);
    ASSERT_EQ(ui::publishWindow(folder, mainHandle, u"DERNOLO", u"Справочник"), 0);
    const int descriptor = ui::attention().descriptor;
    ASSERT_GE(descriptor, 0);
    EXPECT_FALSE(readable(descriptor));

    ASSERT_EQ(ui::sendRaiseRequest(folder, ui::ownToken(), ui::RaiseRequest{mainHandle, true}), 0);
    ASSERT_EQ(ui::sendRaiseRequest(folder, ui::ownToken(), ui::RaiseRequest{0x40004, false}), 0);
    EXPECT_TRUE(readable(descriptor)) << "a waiting owner wakes";
    std::vector<ui::RaiseRequest> taken = ui::takeRaiseRequests();
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].handle, mainHandle);
    EXPECT_TRUE(taken[0].ownedPopup);
    EXPECT_EQ(taken[1].handle, 0x40004u);
    EXPECT_FALSE(taken[1].ownedPopup);
    EXPECT_FALSE(readable(descriptor));
    EXPECT_TRUE(ui::takeRaiseRequests().empty());

    // Whatever else lands in the FIFO is dropped; requests after it still come.
    const int writer = ::open((folder + "/" + hex16(ui::ownToken()) + ".fifo").c_str(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::write(writer, "garbage", 7), 7);
    ::close(writer);
    EXPECT_TRUE(ui::takeRaiseRequests().empty());
    EXPECT_FALSE(readable(descriptor));
    ASSERT_EQ(ui::sendRaiseRequest(folder, ui::ownToken(), ui::RaiseRequest{mainHandle, false}), 0);
    EXPECT_EQ(ui::takeRaiseRequests().size(), 1u);

    ui::withdrawAllWindows();
    EXPECT_EQ(ui::attention().descriptor, -1);
    EXPECT_NE(ui::sendRaiseRequest(folder, ui::ownToken(), ui::RaiseRequest{mainHandle, false}), 0);
}

TEST_F(SharedRegistry, WithoutAUsableTemporaryFolderAProcessIsAlone)
{
    ::setenv("TMPDIR", (base / "missing" / "deeper").c_str(), 1);
    EXPECT_EQ(ui::registryFolder("/devices/one", true), "");
    EXPECT_NE(ui::publishWindow("", mainHandle, u"DERNOLO", u"Справочник"), 0);
    EXPECT_TRUE(ui::listSharedWindows("", 0).empty());
    EXPECT_NE(ui::sendRaiseRequest("", 1, ui::RaiseRequest{mainHandle, false}), 0);

    std::ofstream(base / "plain") << "a file, not a folder";
    ::setenv("TMPDIR", (base / "plain").c_str(), 1);
    EXPECT_EQ(ui::registryFolder("/devices/one", true), "");

    ::setenv("TMPDIR", base.c_str(), 1);
    const std::string folder = ui::registryFolder("/devices/one", true);
    ASSERT_FALSE(folder.empty());
    ::chmod(folder.c_str(), 0500);
    if (::access(folder.c_str(), W_OK) != 0) {  // root writes anyway
        EXPECT_NE(ui::publishWindow(folder, mainHandle, u"DERNOLO", u"Справочник"), 0);
    }
    ::chmod(folder.c_str(), 0700);
}

} // namespace
