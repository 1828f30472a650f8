// Device paths: case-insensitive components, both separators, no current directory, and no way
// out of the device root.
#include "device_folder.h"
#include "win32.h"

#include <string>
#include <unistd.h>

namespace {

class Paths : public DeviceFolderTest {
protected:
    // The content of the device file at `path`, or "<error N>" when it cannot be opened.
    std::string content(const char16_t* path) {
        HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return "<error " + std::to_string(GetLastError()) + ">";
        char buffer[256];
        DWORD got = 0;
        ReadFile(file, buffer, sizeof buffer, &got, nullptr);
        CloseHandle(file);
        return std::string(buffer, got);
    }
    static std::string error(DWORD number) { return "<error " + std::to_string(number) + ">"; }
};

TEST_F(Paths, ComponentsMatchIgnoringCaseLatinAndCyrillic) {
    hostFile("Program Files/Dernolo/Base.ydb", "latin");
    hostFile("Папка/Файл.txt", "cyrillic");
    EXPECT_EQ(content(u"\\program files\\DERNOLO\\base.YDB"), "latin");
    EXPECT_EQ(content(u"\\ПАПКА\\файл.TXT"), "cyrillic");
    EXPECT_EQ(content(u"\\папка\\ФАЙЛ.txt"), "cyrillic");
}

TEST_F(Paths, BothSeparatorsAndNoLeadingBackslashMeanTheRoot) {
    hostFile("Storage Card/a.txt", "card");
    EXPECT_EQ(content(u"\\Storage Card\\a.txt"), "card");
    EXPECT_EQ(content(u"Storage Card\\a.txt"), "card");
    EXPECT_EQ(content(u"/Storage Card/a.txt"), "card");
    EXPECT_EQ(content(u"\\\\Storage Card\\\\.\\a.txt"), "card");
}

TEST_F(Paths, DotDotStepsBackButNeverLeavesTheRoot) {
    hostFile("inside.txt", "inside");
    hostFile("a/b/deep.txt", "deep");
    // A file beside the root on the host, with the same name as one inside.
    const std::filesystem::path outside = root.parent_path() / (root.filename().string() + "-outside.txt");
    std::ofstream(outside) << "outside";
    const std::u16string outsideName = emu::fromUtf8(outside.filename().string());

    EXPECT_EQ(content(u"\\a\\b\\..\\..\\inside.txt"), "inside");
    EXPECT_EQ(content(u"\\..\\inside.txt"), "inside");
    EXPECT_EQ(content(u"\\..\\..\\..\\..\\a\\b\\deep.txt"), "deep");
    EXPECT_EQ(content((u"\\..\\" + outsideName).c_str()), error(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(content(u"\\a\\..\\..\\..\\etc\\passwd"), error(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(emu::hostPathOf(u"\\..\\..\\x.txt"), root.string() + "/x.txt");

    // Created files land inside the root too.
    HANDLE created = CreateFileW(u"\\..\\..\\made.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(created, INVALID_HANDLE_VALUE);
    CloseHandle(created);
    EXPECT_TRUE(std::filesystem::exists(root / "made.txt"));
    EXPECT_FALSE(std::filesystem::exists(root.parent_path() / "made.txt"));
    std::filesystem::remove(outside);
}

TEST_F(Paths, HostLinksLeadingOutsideAreRefused) {
    const std::filesystem::path outside = root.parent_path() / (root.filename().string() + "-target");
    std::filesystem::create_directories(outside);
    std::ofstream(outside / "secret.txt") << "secret";
    hostFile("real/inner.txt", "inner");
    std::filesystem::create_directory_symlink(outside, root / "escape");
    std::filesystem::create_symlink(outside / "secret.txt", root / "secret.txt");
    std::filesystem::create_directory_symlink(root / "real", root / "alias");

    EXPECT_EQ(content(u"\\escape\\secret.txt"), error(ERROR_ACCESS_DENIED));
    EXPECT_EQ(content(u"\\secret.txt"), error(ERROR_ACCESS_DENIED));
    EXPECT_EQ(content(u"\\ALIAS\\inner.txt"), "inner");
    std::filesystem::remove_all(outside);
}

TEST_F(Paths, TheExactSpellingWinsThenTheFirstInByteOrder) {
    hostFile("name.txt", "lower");
    hostFile("NAME.txt", "upper");
    EXPECT_EQ(content(u"\\name.txt"), "lower");
    EXPECT_EQ(content(u"\\NAME.txt"), "upper");
    EXPECT_EQ(content(u"\\Name.TXT"), "upper");  // "NAME.txt" < "name.txt" as bytes
}

TEST_F(Paths, BadPathsGiveThePlatformsErrors) {
    hostFile("dir/file.txt", "x");
    EXPECT_EQ(content(u""), error(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(content(u"\\dir\\missing.txt"), error(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(content(u"\\missing\\file.txt"), error(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(content(u"\\dir\\file.txt\\more"), error(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(content(u"\\dir\\a<b.txt"), error(ERROR_INVALID_NAME));
    EXPECT_EQ(content(u"\\dir\\*.txt"), error(ERROR_INVALID_NAME));
    EXPECT_EQ(content(u"\\dir|x\\file.txt"), error(ERROR_INVALID_NAME));
    const std::u16string longPath = u"\\" + std::u16string(MAX_PATH, u'a');
    EXPECT_EQ(content(longPath.c_str()), error(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_EQ(content(u"\\"), error(ERROR_ACCESS_DENIED));
    EXPECT_EQ(content(u"\\dir"), error(ERROR_ACCESS_DENIED));
}

TEST_F(Paths, AttributesOfFilesAndFolders) {
    hostFile("dir/file.txt", "x");
    hostFile("ro.txt", "x");
    std::filesystem::permissions(root / "ro.txt", std::filesystem::perms::owner_read);
    EXPECT_EQ(GetFileAttributesW(u"\\DIR"), DWORD{FILE_ATTRIBUTE_DIRECTORY});
    EXPECT_EQ(GetFileAttributesW(u"\\dir\\FILE.TXT"), DWORD{FILE_ATTRIBUTE_NORMAL});
    EXPECT_EQ(GetFileAttributesW(u"\\ro.txt"), DWORD{FILE_ATTRIBUTE_READONLY});
    EXPECT_EQ(GetFileAttributesW(u"\\nothing"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_NOT_FOUND});
}

TEST_F(Paths, FoldersAreMadeAndRemovedThroughDevicePaths) {
    EXPECT_TRUE(CreateDirectoryW(u"\\New", nullptr));
    EXPECT_FALSE(CreateDirectoryW(u"\\NEW", nullptr));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ALREADY_EXISTS});
    EXPECT_FALSE(CreateDirectoryW(u"\\missing\\x", nullptr));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_PATH_NOT_FOUND});
    hostFile("New/f.txt", "x");
    EXPECT_FALSE(RemoveDirectoryW(u"\\new"));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_DIR_NOT_EMPTY});
    EXPECT_TRUE(DeleteFileW(u"\\new\\F.TXT"));
    EXPECT_TRUE(RemoveDirectoryW(u"\\new"));
    EXPECT_FALSE(std::filesystem::exists(root / "New"));
    EXPECT_FALSE(RemoveDirectoryW(u"\\"));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
}

TEST(PathsWithoutRoot, NothingIsFoundUntilARootIsSet) {
    EXPECT_EQ(emu::setDeviceRoot("/definitely/not/a/folder"), static_cast<int>(ERROR_PATH_NOT_FOUND));
}

}  // namespace
