#include "win32.h"
#include "win32/shellapi.h"

#include "emulator.h"
#include "platform/host/host_services.h"
#include "tests/kernel/device_folder.h"

#include <chrono>
#include <gmock/gmock.h>
#include <sys/stat.h>
#include <thread>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

INT_PTR resultOf(HINSTANCE instance) { return reinterpret_cast<INT_PTR>(instance); }

class ShellExecuteTest : public DeviceFolderTest {
protected:
    void SetUp() override {
        DeviceFolderTest::SetUp();
        host::setLaunchMode(host::LaunchMode::Journal);
        emu::clearJournal();
    }
    void TearDown() override {
        host::setLaunchMode(host::LaunchMode::Journal);
        DeviceFolderTest::TearDown();
    }

    void program(const std::string& relative, const std::string& content = "#!/bin/sh\n") {
        ::chmod(hostFile(relative, content).c_str(), 0755);
    }
};

TEST_F(ShellExecuteTest, SetupProgramIsJournalledInHeadlessRuns) {
    program("Install_SPb/setup.exe");
    const HINSTANCE result = ShellExecuteA(nullptr, "open", "\\install_spb\\SETUP.EXE", nullptr, nullptr, 1);
    EXPECT_GT(resultOf(result), 32);
    EXPECT_THAT(emu::journal(), ElementsAre("start \\install_spb\\SETUP.EXE"));
}

TEST_F(ShellExecuteTest, ProgramsThatCannotStartAreReportedAndNotJournalled) {
    hostFile("Install_Msk/setup.exe", "not executable");
    std::filesystem::create_directories(root / "Install_ALL" / "setup.exe");

    EXPECT_EQ(resultOf(ShellExecuteA(nullptr, "open", "\\Install_SPb\\setup.exe", nullptr, nullptr, 1)), SE_ERR_FNF);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(resultOf(ShellExecuteA(nullptr, "open", "\\Install_Msk\\setup.exe", nullptr, nullptr, 1)),
              SE_ERR_ACCESSDENIED);
    EXPECT_EQ(resultOf(ShellExecuteA(nullptr, "open", "\\Install_ALL\\setup.exe", nullptr, nullptr, 1)),
              SE_ERR_ACCESSDENIED);
    EXPECT_EQ(resultOf(ShellExecuteA(nullptr, "open", "", nullptr, nullptr, 1)), SE_ERR_FNF);
    EXPECT_EQ(resultOf(ShellExecuteA(nullptr, "print", "IEXPLORE.EXE", "http://a.ru", nullptr, 1)), SE_ERR_NOASSOC);
    EXPECT_THAT(emu::journal(), IsEmpty());
}

TEST_F(ShellExecuteTest, ALinkOutsideTheDeviceIsNotStarted) {
    std::filesystem::create_symlink("/bin/true", root / "true.exe");
    EXPECT_LE(resultOf(ShellExecuteA(nullptr, "open", "\\true.exe", nullptr, nullptr, 1)), 32);
    EXPECT_THAT(emu::journal(), IsEmpty());
}

TEST_F(ShellExecuteTest, BrowserGetsOnlyWebAddresses) {
    EXPECT_GT(resultOf(ShellExecuteA(nullptr, "open", "IEXPLORE.EXE", "https://www.morvane.example/", nullptr, 1)), 32);
    EXPECT_GT(resultOf(ShellExecuteA(nullptr, nullptr, "\\Windows\\iexplore.exe", "www.firm.ru/price", nullptr, 1)), 32);
    EXPECT_GT(resultOf(ShellExecuteA(nullptr, "OPEN", "http://x.ru/a b", nullptr, nullptr, 1)), 32);
    for (const char* refused : {"file:///etc/passwd", "javascript:alert(1)", "ftp://x.ru/"}) {
        SetLastError(0);
        EXPECT_EQ(resultOf(ShellExecuteA(nullptr, "open", "IEXPLORE.EXE", refused, nullptr, 1)), SE_ERR_ACCESSDENIED)
            << refused;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << refused;
    }
    EXPECT_EQ(resultOf(ShellExecuteA(nullptr, "open", "file:///etc/passwd", nullptr, nullptr, 1)), SE_ERR_ACCESSDENIED);
    EXPECT_LE(resultOf(ShellExecuteA(nullptr, "open", "IEXPLORE.EXE", "", nullptr, 1)), 32);
    EXPECT_THAT(emu::journal(), ElementsAre("browser https://www.morvane.example/", "browser http://www.firm.ru/price",
                                            "browser http://x.ru/a%20b"));
}

TEST_F(ShellExecuteTest, ExtendedFormStartsMailAndBrowser) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.lpFile = u"tmail.exe";
    info.lpParameters = u"-to \"ivanov@firm.ru, petrov@firm.ru\" -subject \"Вопрос\" -body \"Добрый день!\r\n\"";
    EXPECT_TRUE(ShellExecuteExW(&info));
    EXPECT_GT(resultOf(info.hInstApp), 32);

    info.lpFile = u"mailto:info@firm.ru?subject=Hi there";
    info.lpParameters = nullptr;
    EXPECT_TRUE(ShellExecuteExW(&info));

    info.lpFile = u"\\Windows\\iexplore.exe";
    info.lpParameters = u"javascript:alert(1)";
    EXPECT_FALSE(ShellExecuteExW(&info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(resultOf(info.hInstApp), SE_ERR_ACCESSDENIED);

    info.cbSize = sizeof info - 4;
    EXPECT_FALSE(ShellExecuteExW(&info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    EXPECT_THAT(emu::journal(),
                ElementsAre("mail mailto:ivanov@firm.ru,%20petrov@firm.ru?subject=%D0%92%D0%BE%D0%BF%D1%80%D0%BE%D1%81"
                            "&body=%D0%94%D0%BE%D0%B1%D1%80%D1%8B%D0%B9%20%D0%B4%D0%B5%D0%BD%D1%8C%21%0D%0A",
                            "mail mailto:info@firm.ru?subject=Hi%20there"));
}

TEST(WebAddress, SchemesHostsAndCharacters) {
    std::string address;
    EXPECT_EQ(host::browserAddressOf("  www.x.ru:8080/a b  ", address), 0u);
    EXPECT_EQ(address, "http://www.x.ru:8080/a%20b");
    EXPECT_EQ(host::browserAddressOf("HTTPS://X.RU/", address), 0u);
    EXPECT_EQ(address, "https://X.RU/");
    EXPECT_EQ(host::browserAddressOf("http://", address), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(host::browserAddressOf("http:x.ru", address), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(host::browserAddressOf("x.ru/\nrm", address), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(host::browserAddressOf("\\\\server\\share", address), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(host::browserAddressOf("httpx://x.ru", address), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(address.empty());
}

TEST(MailAddress, CommandLinesWithoutAnAddressAreRefused) {
    std::string address;
    EXPECT_EQ(host::mailAddressOfCommandLine("-to \"\" -subject \"x\"", address), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(host::mailAddressOfCommandLine("-to \"a@b.ru", address), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(host::mailAddressOfCommandLine("a@b.ru", address), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(host::mailAddressOfUri("mailto:", address), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(host::mailAddressOfCommandLine("-to \"a@b.ru&x=1\" -attach f", address), 0u);
    EXPECT_EQ(address, "mailto:a@b.ru%26x%3D1") << "an ampersand in the address must not start a field";
}

TEST(CommandLine, SplitsByThePlatformsRules) {
    EXPECT_THAT(host::splitCommandLine("  a \"b c\" d\"e f\"g \"say \"\"hi\"\"\" ; $(rm) \\x\\"),
                ElementsAre("a", "b c", "de fg", "say \"hi\"", ";", "$(rm)", "\\x\\"));
    EXPECT_THAT(host::splitCommandLine("   "), IsEmpty());
    EXPECT_THAT(host::splitCommandLine("\"\""), ElementsAre(""));
}

TEST_F(ShellExecuteTest, LaunchedProgramGetsItsArgumentsAsTheyAreInItsOwnFolder) {
    program("Install_SPb/setup.exe", "#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"[$a]\"; done; } > out.txt.tmp\n"
                                     "mv out.txt.tmp out.txt\n");
    host::setLaunchMode(host::LaunchMode::Launch);
    EXPECT_GT(resultOf(ShellExecuteA(nullptr, "open", "\\Install_SPb\\setup.exe", "one \"two words\" \";$(touch x)\"",
                                     nullptr, 1)),
              32);
    const std::filesystem::path out = root / "Install_SPb" / "out.txt";
    for (int i = 0; i < 500 && !std::filesystem::exists(out); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(readHost("Install_SPb/out.txt"),
              std::filesystem::canonical(root / "Install_SPb").string() + "\n[one]\n[two words]\n[;$(touch x)]\n");
    EXPECT_FALSE(std::filesystem::exists(root / "Install_SPb" / "x"));
    EXPECT_THAT(emu::journal(), IsEmpty());
}

}  // namespace
