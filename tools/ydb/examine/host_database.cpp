#include "tools/ydb/examine/host_database.h"

#include <cstring>
#include <filesystem>
#include <fstream>

#include "db/database_program.h"
#include "emulator.h"

namespace fs = std::filesystem;

namespace {
constexpr uint64_t hostFreeMemory = 64u << 20;

// Says why a path that is not an ordinary readable file cannot be examined; empty when it can.
std::string unreadableReason(const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) return "no such file";
    if (fs::is_directory(status)) return "is a folder, not a database file";
    if (!fs::is_regular_file(status)) return "is not an ordinary file";
    if (!std::ifstream(path, std::ios::binary).good()) return "cannot be read (no permission?)";
    return {};
}

} // namespace

ReaderBoxesSilenced::ReaderBoxesSilenced()
    : previous_(emu::setMessageBoxHandler([](HWND, std::u16string_view, std::u16string_view, UINT style) {
          return emu::defaultMessageBoxAnswer(style);
      })) {}

ReaderBoxesSilenced::~ReaderBoxesSilenced() { emu::setMessageBoxHandler(previous_); }

std::string describeOpenCode(int32_t code) {
    switch (code) {
    case errorBoundaryBeyondFile:
        return "the file is shorter than its table of tables says: truncated, or not a directory database";
    case errorBoundaryOrder:
        return "its table boundaries are out of order";
    case errorNoWindow:
        return "no memory for the read window";
    case errorSeek:
    case errorRead:
        return "reading the file failed";
    default:
        return "the reader refuses it";
    }
}

DirectoryDatabase* openHostDatabase(const std::string& hostPath, std::string& error, OpenFailure& failure) {
    failure = OpenFailure::unreadable;
    std::error_code ec;
    fs::path path = fs::absolute(hostPath, ec);
    if (ec) {
        error = hostPath + ": no such file";
        return nullptr;
    }
    if (std::string why = unreadableReason(path); !why.empty()) {
        error = hostPath + ": " + why;
        return nullptr;
    }
    if (emu::setDeviceRoot(path.parent_path().string()) != 0) {
        error = hostPath + ": its folder cannot be used";
        return nullptr;
    }
    // The reader sizes its window from free memory; a handheld's figure rather than the host's
    // keeps the window (a quarter of it) small and reads the file the way the device reads it.
    emu::setAvailablePhysicalMemory(hostFreeMemory);
    takeMemoryReading();
    std::string name = path.filename().string();
    std::u16string device = u"\\";
    for (char c : name) device += static_cast<char16_t>(static_cast<unsigned char>(c));
    DirectoryDatabase* db = createDatabase();
    if (!db) {
        error = "out of memory";
        return nullptr;
    }
    int32_t code = 0;
    {
        ReaderBoxesSilenced quiet;
        code = openDatabase(*db, device.c_str());
    }
    failure = OpenFailure::damaged;
    if (code != 0) {
        error = hostPath + ": damaged: " + describeOpenCode(code) + " (reader code " + std::to_string(code) + ")";
        destroyDatabase(db);
        return nullptr;
    }
    if (std::memcmp(db->header, ydb::magic, ydb::magicSize) != 0) {
        error = hostPath + ": not a directory database (its first bytes are not the format's mark)";
        destroyDatabase(db);
        return nullptr;
    }
    failure = OpenFailure::none;
    return db;
}

DirectoryDatabase* openHostDatabase(const std::string& hostPath, std::string& error) {
    OpenFailure ignored;
    return openHostDatabase(hostPath, error, ignored);
}
