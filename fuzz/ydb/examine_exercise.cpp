#include "fuzz/ydb/examine_exercise.h"

#include <cstdio>
#include <cstdlib>

#include "db/database.h"
#include "db/database_program.h"
#include "emulator.h"
#include "fuzz/exercise_files.h"
#include "tools/ydb/examine/database_check.h"
#include "tools/ydb/examine/host_database.h"
#include "tools/ydb/examine/record_json.h"
#include "tools/ydb/examine/resource_chunks.h"

namespace {
std::string hostFile;
// Free memory whose quarter, the read window, holds the largest input the fuzzer makes.
constexpr uint64_t examinerWindowMemory = 256u * 1024;
} // namespace

bool prepareExamineExercise() {
    const std::string folder = exerciseFolder("ydb-examine");
    if (folder.empty()) return false;
    hostFile = folder + "/examined.ydb";
    emu::setMessageBoxHandler([](HWND, std::u16string_view, std::u16string_view, UINT) { return IDOK; });
    return true;
}

size_t exerciseExaminer(const uint8_t* data, size_t size) {
    FILE* f = std::fopen(hostFile.c_str(), "wb");
    if (!f) return 0;
    bool written = std::fwrite(data, 1, size, f) == size;
    if (std::fclose(f) != 0 || !written) return 0;

    std::string error;
    DirectoryDatabase* db = openHostDatabase(hostFile, error);
    if (!db) return 0;
    // The examiner's window is a quarter of a handheld's 64 MB. One of 64 KB holds a fuzz input
    // whole just the same, and it is the cost that matters here: under the sanitizers a block of
    // 16 MB, or even of 1 MB, is mapped, marked and unmapped run after run (a fifth of a run at
    // 1 MB). Free memory that small is below the reader's floor, so it asks for programs to be
    // closed first, which only adds a journal line.
    releaseWindow(*db);
    emu::setAvailablePhysicalMemory(examinerWindowMemory);
    takeMemoryReading();
    checkDatabase(*db, 20);
    size_t records = 0;
    for (int table = 0; table < ydb::tableCount; ++table) {
        uint32_t failedRef = 0;
        dumpTable(*db, table, [&](const std::string&) { ++records; }, failedRef);
    }
    checkResourceChunks(hostFile, tableStart(*db, ydb::resourceArea));
    destroyDatabase(db);
    // The journal would keep every request to close programs.
    emu::clearJournal();
    return records;
}
