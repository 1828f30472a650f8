// The device's process start and its notes editor: what each start becomes on the host, and the
// editor's hold on its document, which a program waits out by trying to open it for writing.
#include "win32.h"

#include "emulator.h"
#include "platform/host/host_services.h"
#include "tests/kernel/device_folder.h"

#include <chrono>
#include <cstdlib>
#include <gmock/gmock.h>
#include <sys/stat.h>
#include <thread>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

BOOL start(LPCWSTR image, const WCHAR* commandLine, PROCESS_INFORMATION* info = nullptr)
{
    std::u16string line = commandLine ? commandLine : u"";
    return CreateProcessW(image, commandLine ? line.data() : nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          nullptr, info);
}

HANDLE openForWriting(LPCWSTR path)
{
    return CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

class CreateProcessTest : public DeviceFolderTest {
protected:
    void SetUp() override {
        DeviceFolderTest::SetUp();
        host::setLaunchMode(host::LaunchMode::Journal);
        emu::clearJournal();
        const char* visual = std::getenv("VISUAL");
        savedVisual = visual ? std::optional<std::string>(visual) : std::nullopt;
    }
    void TearDown() override {
        host::setLaunchMode(host::LaunchMode::Journal);
        if (savedVisual) setenv("VISUAL", savedVisual->c_str(), 1);
        else unsetenv("VISUAL");
        DeviceFolderTest::TearDown();
    }
    std::optional<std::string> savedVisual;
};

TEST_F(CreateProcessTest, TheDevicesProgramsBecomeHostServices) {
    hostFile("Favorites.txt", "Аптеки\r\n");
    PROCESS_INFORMATION info = {reinterpret_cast<HANDLE>(1), reinterpret_cast<HANDLE>(1), 7, 7};
    EXPECT_TRUE(start(u"\\Windows\\iexplore.exe", u"www.firm.ru", &info));
    EXPECT_EQ(info.hProcess, nullptr) << "a host process is no handle of the device";
    EXPECT_EQ(info.dwProcessId, 0u);
    EXPECT_TRUE(start(u"tmail.exe", u"-to \"a@firm.ru\" -subject \"Вопрос\""));
    EXPECT_TRUE(start(u"\\Windows\\notes.exe", u"\\Favorites.txt"));
    EXPECT_TRUE(start(u"\\Windows\\notes.exe", u" \"\\favorites.TXT\" "));
    EXPECT_TRUE(start(nullptr, u"\"\\Windows\\iexplore.exe\" https://x.ru/a")) << "the image as the first word";
    EXPECT_THAT(emu::journal(), ElementsAre("browser http://www.firm.ru", "mail mailto:a@firm.ru?subject=%D0%92%D0%BE%D0%BF%D1%80%D0%BE%D1%81",
                                            "edit \\Favorites.txt", "edit \\favorites.TXT", "browser https://x.ru/a"));
}

TEST_F(CreateProcessTest, StartsThatCannotHappenFailWithTheirError) {
    std::filesystem::create_directories(root / "Folder");
    const auto failsWith = [](LPCWSTR image, const WCHAR* line, DWORD error) {
        SetLastError(0);
        EXPECT_FALSE(start(image, line)) << emu::toUtf8(image ? image : u"") << " " << emu::toUtf8(line ? line : u"");
        EXPECT_EQ(GetLastError(), error);
    };
    failsWith(u"\\Windows\\notes.exe", u"\\Missing.txt", ERROR_FILE_NOT_FOUND);
    failsWith(u"\\Windows\\notes.exe", u"", ERROR_FILE_NOT_FOUND);
    failsWith(u"\\Windows\\notes.exe", u"\\Folder", ERROR_ACCESS_DENIED);
    failsWith(u"\\Windows\\notes.exe", u"\\..\\..\\etc\\passwd", ERROR_FILE_NOT_FOUND);
    failsWith(u"\\Windows\\iexplore.exe", u"javascript:alert(1)", ERROR_ACCESS_DENIED);
    failsWith(u"\\NoSuch.exe", nullptr, ERROR_FILE_NOT_FOUND);
    failsWith(nullptr, nullptr, ERROR_INVALID_PARAMETER);
    int notStartupInformation = 0;
    EXPECT_FALSE(CreateProcessW(u"tmail.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                reinterpret_cast<LPSTARTUPINFOW>(&notStartupInformation), nullptr))
        << "the device takes no start-up information";
    EXPECT_THAT(emu::journal(), IsEmpty());
}

TEST_F(CreateProcessTest, TheEditorHoldsItsDocumentUntilItEnds) {
    const std::filesystem::path favourites = hostFile("Favorites.txt", "Аптеки\r\n");
    const std::filesystem::path editor = root / "host-editor.sh";
    // Writes down what it was given, then edits until told that the user has finished.
    std::ofstream(editor) << "#!/bin/sh\necho \"$1\" > \"" << (root / "edited").string() << "\"\n"
                          << "while [ ! -e \"" << (root / "finished").string() << "\" ]; do sleep 0.02; done\n";
    ::chmod(editor.c_str(), 0755);
    setenv("VISUAL", editor.c_str(), 1);
    host::setLaunchMode(host::LaunchMode::Launch);

    ASSERT_TRUE(start(u"\\Windows\\notes.exe", u"\\Favorites.txt"));
    SetLastError(0);
    EXPECT_EQ(openForWriting(u"\\Favorites.txt"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    HANDLE reader = CreateFileW(u"\\Favorites.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE) << "others may read while it is edited";
    CloseHandle(reader);

    std::ofstream(root / "finished") << "";
    // As the program waits: open for writing until it can, every few milliseconds.
    HANDLE writer = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 500 && writer == INVALID_HANDLE_VALUE; ++attempt) {
        writer = openForWriting(u"\\Favorites.txt");
        if (writer == INVALID_HANDLE_VALUE) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_NE(writer, INVALID_HANDLE_VALUE) << "the editor's end frees the document";
    CloseHandle(writer);
    EXPECT_EQ(readHost("edited"), favourites.string() + "\n") << "the editor gets the host path";
}

TEST_F(CreateProcessTest, AnEditorThatCannotStartHoldsNothing) {
    hostFile("Favorites.txt", "x");
    setenv("VISUAL", (root / "no-such-editor").c_str(), 1);
    host::setLaunchMode(host::LaunchMode::Launch);
    EXPECT_FALSE(start(u"\\Windows\\notes.exe", u"\\Favorites.txt"));
    HANDLE writer = openForWriting(u"\\Favorites.txt");
    EXPECT_NE(writer, INVALID_HANDLE_VALUE);
    CloseHandle(writer);
}

}  // namespace
