#include "tools/ydb/examine/host_database.h"

#include <cstring>
#include <filesystem>

#include "db/database_program.h"
#include "emulator.h"

namespace fs = std::filesystem;

namespace {
constexpr uint64_t hostFreeMemory = 64u << 20;
}

DirectoryDatabase* openHostDatabase(const std::string& hostPath, std::string& error) {
    std::error_code ec;
    fs::path path = fs::absolute(hostPath, ec);
    if (ec || !fs::is_regular_file(path, ec)) {
        error = hostPath + ": no such file";
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
    int32_t code = openDatabase(*db, device.c_str());
    if (code != 0) {
        error = hostPath + ": cannot be opened (reader code " + std::to_string(code) + ")";
        destroyDatabase(db);
        return nullptr;
    }
    if (std::memcmp(db->header, ydb::magic, ydb::magicSize) != 0) {
        error = hostPath + ": not a directory database";
        destroyDatabase(db);
        return nullptr;
    }
    return db;
}
