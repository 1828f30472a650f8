// Folder listings: order by name, patterns, attributes, the end of a listing, and bad handles.
#include "device_folder.h"
#include "win32.h"

#include <string>
#include <vector>

namespace {

class Find : public DeviceFolderTest {
protected:
    // The names a listing hands out, in order, or {"<error N>"}.
    std::vector<std::string> names(const char16_t* pattern) {
        WIN32_FIND_DATAW data;
        HANDLE search = FindFirstFileW(pattern, &data);
        if (search == INVALID_HANDLE_VALUE) return {"<error " + std::to_string(GetLastError()) + ">"};
        std::vector<std::string> out;
        do out.push_back(emu::toUtf8(data.cFileName));
        while (FindNextFileW(search, &data));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_NO_MORE_FILES});
        EXPECT_TRUE(FindClose(search));
        return out;
    }
};

TEST_F(Find, EntriesComeSortedByNameIgnoringCase) {
    for (const char* name : {"b.txt", "A.txt", "c", "Яблоко.ydb", "ёж.ydb", "Ель.ydb", "a1.txt"}) hostFile(name);
    std::filesystem::create_directories(root / "B2");
    EXPECT_EQ(names(u"\\*.*"),
              (std::vector<std::string>{"A.txt", "a1.txt", "b.txt", "B2", "c", "ёж.ydb", "Ель.ydb", "Яблоко.ydb"}));
    // (by upper-case UTF-16 units: "." before digits, Ё (U+0401) before Е (U+0415))
}

TEST_F(Find, DotEntriesAreNeverListed) {
    hostFile("only.txt");
    EXPECT_EQ(names(u"\\*.*"), (std::vector<std::string>{"only.txt"}));
    EXPECT_EQ(names(u"*"), (std::vector<std::string>{"only.txt"}));
}

TEST_F(Find, PatternsMatchTheLastComponentIgnoringCase) {
    for (const char* name : {"a.ydb", "B.YDB", "c.ydb.bak", "d.Ydb", "noext", "ab.txt", "abc.txt"}) hostFile("f/" + std::string(name));
    EXPECT_EQ(names(u"\\F\\*.ydb"), (std::vector<std::string>{"a.ydb", "B.YDB", "d.Ydb"}));
    EXPECT_EQ(names(u"\\f\\*.*").size(), 7u);  // with a dot or without
    EXPECT_EQ(names(u"\\f\\??.txt"), (std::vector<std::string>{"ab.txt"}));
    EXPECT_EQ(names(u"\\f\\a*t"), (std::vector<std::string>{"ab.txt", "abc.txt"}));
    EXPECT_EQ(names(u"\\f\\NOEXT"), (std::vector<std::string>{"noext"}));
    EXPECT_EQ(names(u"\\f\\*.ydb*"), (std::vector<std::string>{"a.ydb", "B.YDB", "c.ydb.bak", "d.Ydb"}));
}

TEST_F(Find, EntriesCarryAttributesAndSizes) {
    hostFile("dir/sub/x", "12345");
    hostFile("dir/ro.txt", "1");
    std::filesystem::permissions(root / "dir/ro.txt", std::filesystem::perms::owner_read);
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(u"\\dir\\*.*", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(std::u16string(data.cFileName), u"ro.txt");
    EXPECT_EQ(data.dwFileAttributes, DWORD{FILE_ATTRIBUTE_READONLY});
    EXPECT_EQ(data.nFileSizeLow, 1u);
    ASSERT_TRUE(FindNextFileW(search, &data));
    EXPECT_EQ(std::u16string(data.cFileName), u"sub");
    EXPECT_EQ(data.dwFileAttributes, DWORD{FILE_ATTRIBUTE_DIRECTORY});
    EXPECT_FALSE(FindNextFileW(search, &data));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_NO_MORE_FILES});
    FindClose(search);

    search = FindFirstFileW(u"\\dir\\sub\\x", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, DWORD{FILE_ATTRIBUTE_NORMAL});
    EXPECT_EQ(data.nFileSizeLow, 5u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_NE(data.ftLastWriteTime.dwHighDateTime, 0u);
    FindClose(search);
}

TEST_F(Find, TheListingIsTakenAtTheFirstCall) {
    hostFile("one.txt");
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(u"\\*.*", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    hostFile("two.txt");
    EXPECT_FALSE(FindNextFileW(search, &data));
    FindClose(search);
}

TEST_F(Find, NothingToListGivesThePlatformsErrors) {
    hostFile("dir/file.txt");
    EXPECT_EQ(names(u"\\dir\\*.ydb"), (std::vector<std::string>{"<error 2>"}));
    EXPECT_EQ(names(u"\\missing\\*.*"), (std::vector<std::string>{"<error 3>"}));
    EXPECT_EQ(names(u"\\dir\\"), (std::vector<std::string>{"<error 2>"}));
    EXPECT_EQ(names(u"\\dir\\file.txt\\*.*"), (std::vector<std::string>{"<error 3>"}));
    EXPECT_EQ(names(u"\\d*\\*.*"), (std::vector<std::string>{"<error 123>"}));  // wildcards in the last part only
}

TEST_F(Find, LinksLeadingOutsideTheDeviceAreLeftOut) {
    const std::filesystem::path outside = root.parent_path() / (root.filename().string() + "-elsewhere");
    std::filesystem::create_directories(outside);
    std::filesystem::create_directory_symlink(outside, root / "away");
    hostFile("here.txt");
    EXPECT_EQ(names(u"\\*.*"), (std::vector<std::string>{"here.txt"}));
    std::filesystem::remove_all(outside);
}

TEST_F(Find, SearchHandlesAreOnlyForFindCalls) {
    hostFile("a.txt", "a");
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(u"\\*.*", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(CloseHandle(search));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    char buffer[4];
    DWORD got = 0;
    EXPECT_FALSE(ReadFile(search, buffer, 4, &got, nullptr));
    EXPECT_TRUE(FindClose(search));
    EXPECT_FALSE(FindClose(search));
    EXPECT_FALSE(FindNextFileW(search, &data));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});

    HANDLE file = CreateFileW(u"\\a.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(FindClose(file));
    EXPECT_FALSE(FindNextFileW(file, &data));
    EXPECT_TRUE(CloseHandle(file));
}

}  // namespace
