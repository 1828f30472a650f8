#include "device_folder.h"
#include "win32.h"

#include <string>
#include <sys/stat.h>

namespace {

class Files : public DeviceFolderTest {
protected:
    HANDLE open(const char16_t* path, DWORD access, DWORD share, DWORD disposition) {
        return CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    HANDLE openRead(const char16_t* path) { return open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING); }

    std::string readAll(HANDLE file, DWORD chunk = 4096) {
        std::string out(chunk, '\0');
        DWORD got = 0;
        EXPECT_TRUE(ReadFile(file, out.data(), chunk, &got, nullptr));
        out.resize(got);
        return out;
    }
};

TEST_F(Files, DispositionsCreateOpenAndReportWhatExisted) {
    HANDLE file = open(u"\\new.txt", GENERIC_WRITE, 0, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{NO_ERROR});
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, "hello", 5, &written, nullptr));
    EXPECT_EQ(written, 5u);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(readHost("new.txt"), "hello");

    EXPECT_EQ(open(u"\\new.txt", GENERIC_WRITE, 0, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_EXISTS});

    file = open(u"\\new.txt", GENERIC_READ, 0, OPEN_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ALREADY_EXISTS});
    EXPECT_EQ(readAll(file), "hello");
    CloseHandle(file);

    file = open(u"\\new.txt", GENERIC_WRITE, 0, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ALREADY_EXISTS});
    CloseHandle(file);
    EXPECT_EQ(readHost("new.txt"), "");

    EXPECT_EQ(open(u"\\missing.txt", GENERIC_READ, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_FILE_NOT_FOUND});
    EXPECT_EQ(open(u"\\nowhere\\missing.txt", GENERIC_READ, 0, OPEN_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_PATH_NOT_FOUND});

    file = open(u"\\fresh.txt", GENERIC_READ, 0, OPEN_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{NO_ERROR});
    CloseHandle(file);
}

TEST_F(Files, FoldersAndBadArgumentsCannotBeOpened) {
    hostFile("Folder/inside.txt");
    EXPECT_EQ(openRead(u"\\Folder"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_EQ(openRead(u"\\"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_EQ(openRead(u""), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_PATH_NOT_FOUND});
    EXPECT_EQ(openRead(nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_EQ(open(u"\\Folder\\inside.txt", GENERIC_READ, 0, 9), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_EQ(openRead(u"\\a<b.txt"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_NAME});
    EXPECT_EQ(openRead(u"\\Folder\\inside.txt\\more"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_PATH_NOT_FOUND});
}

TEST_F(Files, ReadOnlyHostFileOpensForReadingOnly) {
    const auto path = hostFile("base.ydb", "data");
    chmod(path.c_str(), 0444);
    EXPECT_EQ(open(u"\\base.ydb", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_EQ(open(u"\\base.ydb", GENERIC_WRITE, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    HANDLE file = openRead(u"\\base.ydb");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(readAll(file), "data");
    DWORD written = 7;
    EXPECT_FALSE(WriteFile(file, "x", 1, &written, nullptr));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_EQ(written, 0u);
    CloseHandle(file);
    EXPECT_EQ(GetFileAttributesW(u"\\base.ydb"), DWORD{FILE_ATTRIBUTE_READONLY});
    EXPECT_FALSE(DeleteFileW(u"\\base.ydb"));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
}

TEST_F(Files, ShareModesAreEnforcedBetweenHandles) {
    hostFile("shared.txt", "abc");
    const DWORD rw = GENERIC_READ | GENERIC_WRITE;
    HANDLE reader = open(u"\\shared.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    // Another reader that shares reading is fine; a writer is not, since the first does not
    // share writing; nor is a reader that will not share reading with the first.
    HANDLE second = open(u"\\SHARED.TXT", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_NE(second, INVALID_HANDLE_VALUE);
    EXPECT_EQ(open(u"\\shared.txt", rw, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    EXPECT_EQ(open(u"\\shared.txt", GENERIC_READ, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    EXPECT_FALSE(DeleteFileW(u"\\shared.txt"));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    CloseHandle(second);
    CloseHandle(reader);

    // The database's way: read-write sharing reading; a second such open conflicts, a reader
    // that shares writing does not.
    HANDLE database = open(u"\\shared.txt", rw, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_NE(database, INVALID_HANDLE_VALUE);
    EXPECT_EQ(open(u"\\shared.txt", rw, FILE_SHARE_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    HANDLE viewer = open(u"\\shared.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    EXPECT_NE(viewer, INVALID_HANDLE_VALUE);
    CloseHandle(viewer);
    CloseHandle(database);
    EXPECT_TRUE(DeleteFileW(u"\\shared.txt"));
}

TEST_F(Files, FilePointerMovesFromEachOrigin) {
    hostFile("ten.bin", "0123456789");
    HANDLE file = openRead(u"\\ten.bin");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SetFilePointer(file, 4, nullptr, FILE_BEGIN), 4u);
    EXPECT_EQ(readAll(file, 3), "456");
    EXPECT_EQ(SetFilePointer(file, -2, nullptr, FILE_CURRENT), 5u);
    EXPECT_EQ(SetFilePointer(file, -1, nullptr, FILE_END), 9u);
    EXPECT_EQ(readAll(file), "9");
    EXPECT_EQ(readAll(file), "");  // at the end: success with nothing read

    // Beyond the end is allowed; reading there gives nothing.
    EXPECT_EQ(SetFilePointer(file, 100, nullptr, FILE_BEGIN), 100u);
    EXPECT_EQ(readAll(file), "");

    EXPECT_EQ(SetFilePointer(file, -11, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_NEGATIVE_SEEK});
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, 7), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 100u);  // failures do not move

    LONG high = 0;
    EXPECT_EQ(SetFilePointer(file, 3, &high, FILE_BEGIN), 3u);
    EXPECT_EQ(high, 0);
    EXPECT_EQ(GetLastError(), DWORD{NO_ERROR});
    high = 1;
    EXPECT_EQ(SetFilePointer(file, 0, &high, FILE_BEGIN), INVALID_SET_FILE_POINTER);  // beyond 4 GB
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});

    DWORD sizeHigh = 5;
    EXPECT_EQ(GetFileSize(file, &sizeHigh), 10u);
    EXPECT_EQ(sizeHigh, 0u);
    CloseHandle(file);
}

TEST_F(Files, WritesLandAtThePositionAndTruncate) {
    HANDLE file = open(u"\\w.bin", GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(file, "abcdef", 6, &n, nullptr));
    SetFilePointer(file, 2, nullptr, FILE_BEGIN);
    ASSERT_TRUE(WriteFile(file, "XY", 2, &n, nullptr));
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 4u);
    ASSERT_TRUE(SetEndOfFile(file));
    EXPECT_EQ(GetFileSize(file, nullptr), 4u);
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    EXPECT_EQ(readAll(file), "abXY");
    EXPECT_TRUE(FlushFileBuffers(file));
    CloseHandle(file);
}

TEST_F(Files, StaleAndForeignHandlesAreRejected) {
    hostFile("a.txt", "a");
    HANDLE file = openRead(u"\\a.txt");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(CloseHandle(file));
    char buffer[4];
    DWORD got = 9;
    int local = 0;
    for (HANDLE bad : {file, INVALID_HANDLE_VALUE, HANDLE{nullptr}, static_cast<HANDLE>(&local)}) {
        SetLastError(0);
        EXPECT_FALSE(ReadFile(bad, buffer, 4, &got, nullptr));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
        EXPECT_EQ(got, 0u);
        EXPECT_EQ(SetFilePointer(bad, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
        EXPECT_EQ(GetFileSize(bad, nullptr), INVALID_FILE_SIZE);
        EXPECT_FALSE(WriteFile(bad, "x", 1, &got, nullptr));
        EXPECT_FALSE(CloseHandle(bad));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    }
    // A new handle in the same slot does not revive the old one.
    HANDLE again = openRead(u"\\a.txt");
    ASSERT_NE(again, INVALID_HANDLE_VALUE);
    EXPECT_NE(again, file);
    EXPECT_FALSE(ReadFile(file, buffer, 4, &got, nullptr));
    CloseHandle(again);
}

TEST_F(Files, PlannedFaultsStrikeTheCallsAsked) {
    hostFile("f.bin", "0123456789");
    HANDLE file = openRead(u"\\f.bin");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);

    emu::failSetFilePointer(2, ERROR_SEEK, 1);
    EXPECT_EQ(SetFilePointer(file, 1, nullptr, FILE_BEGIN), 1u);
    EXPECT_EQ(SetFilePointer(file, 2, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SEEK});
    EXPECT_EQ(SetFilePointer(file, 2, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(SetFilePointer(file, 2, nullptr, FILE_BEGIN), 2u);

    char buffer[16];
    DWORD got = 0;
    emu::failReadFile(ERROR_READ_FAULT);
    EXPECT_FALSE(ReadFile(file, buffer, 4, &got, nullptr));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_READ_FAULT});
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 2u);

    emu::shortReadFile(3);
    EXPECT_TRUE(ReadFile(file, buffer, 8, &got, nullptr));
    EXPECT_EQ(std::string(buffer, got), "234");
    EXPECT_TRUE(ReadFile(file, buffer, 8, &got, nullptr));
    EXPECT_EQ(std::string(buffer, got), "56789");
    CloseHandle(file);
}

// A failed open makes no handle, a failed write writes nothing and a failed delete keeps the
// file; each call is counted whether it fails or not.
TEST_F(Files, PlannedFaultsOfOpensWritesAndDeletesLeaveTheFileAsItWas) {
    hostFile("w.txt", "old");
    emu::clearFaults();
    emu::failCall(emu::FailingCall::fileOpen, 1);
    HANDLE first = openRead(u"\\w.txt");
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    CloseHandle(first);
    EXPECT_EQ(open(u"\\w.txt", GENERIC_WRITE, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    HANDLE file = open(u"\\w.txt", GENERIC_WRITE, 0, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "the open after the failed one finds the file free";

    emu::failCallWith(emu::FailingCall::write, ERROR_WRITE_FAULT);
    DWORD written = 7;
    EXPECT_FALSE(WriteFile(file, "new", 3, &written, nullptr));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_WRITE_FAULT});
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 0u);
    EXPECT_TRUE(WriteFile(file, "NEW", 3, &written, nullptr));
    CloseHandle(file);

    emu::failCall(emu::FailingCall::fileDelete);
    EXPECT_FALSE(DeleteFileW(u"\\w.txt"));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_EQ(readHost("w.txt"), "NEW");

    const emu::CallCounts counts = emu::callCounts();
    EXPECT_EQ(counts[emu::FailingCall::fileOpen], 3u);
    EXPECT_EQ(counts[emu::FailingCall::write], 2u);
    EXPECT_EQ(counts[emu::FailingCall::seek], 1u);
    EXPECT_EQ(counts[emu::FailingCall::fileDelete], 1u);
    EXPECT_TRUE(DeleteFileW(u"\\w.txt"));
}

}  // namespace
