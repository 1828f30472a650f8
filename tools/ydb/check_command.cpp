#include <cstdio>
#include <string>

#include "tools/ydb/commands.h"
#include "tools/ydb/examine/database_check.h"
#include "tools/ydb/examine/host_database.h"
#include "tools/ydb/examine/resource_chunks.h"

int runCheck(int argc, char** argv) {
    if (argc != 1) return usageError("check", argc == 0 ? "no FILE given" : "one FILE only");
    ReaderBoxesSilenced quiet;  // the faults are reported below in the tool's words
    std::string error;
    OpenFailure failure;
    DirectoryDatabase* db = openHostDatabase(argv[0], error, failure);
    if (!db) {
        std::fprintf(stderr, "ydb check: %s\n", error.c_str());
        return exitCodeOf(failure);
    }
    CheckReport report = checkDatabase(*db);
    for (const ChunkFault& f : checkResourceChunks(argv[0], tableStart(*db, ydb::resourceArea)))
        report.faults.push_back({ydb::resourceArea, static_cast<uint32_t>(f.offset), 0, f.what});
    destroyDatabase(db);
    for (const CheckFault& f : report.faults)
        std::printf("%s (table %d) at %u: %s%s\n", tableName(f.table), f.table, f.offset, f.what.c_str(),
                    f.code ? (" (reader code " + std::to_string(f.code) + ")").c_str() : "");
    if (!report.faults.empty()) {
        std::printf("damaged: %zu fault(s)\n", report.faults.size());
        return exitFailed;
    }
    std::printf("sound: %u rubrics, %u firms, %u streets, %u telephone entries\n", report.records[0], report.records[3],
                report.records[4], report.records[6]);
    return exitOk;
}
