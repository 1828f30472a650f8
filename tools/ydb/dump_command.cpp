#include <cstdio>
#include <string>

#include "tools/ydb/commands.h"
#include "tools/ydb/examine/database_check.h"
#include "tools/ydb/examine/host_database.h"
#include "tools/ydb/examine/record_json.h"

int runDump(int argc, char** argv) {
    if (argc != 2) return usageError("dump", argc < 2 ? "FILE and TABLE are needed" : "only FILE and TABLE");
    const int table = parseTableName(argv[1]);
    if (table < 0) return usageError("dump", std::string("no table '") + argv[1] + "'");
    ReaderBoxesSilenced quiet;  // the faults are reported below in the tool's words
    std::string error;
    OpenFailure failure;
    DirectoryDatabase* db = openHostDatabase(argv[0], error, failure);
    if (!db) {
        std::fprintf(stderr, "ydb dump: %s\n", error.c_str());
        return exitCodeOf(failure);
    }
    uint32_t failedRef = 0;
    int32_t r = dumpTable(*db, table, [](const std::string& line) { std::printf("%s\n", line.c_str()); }, failedRef);
    destroyDatabase(db);
    if (r == readOk) return exitOk;
    std::fprintf(stderr, "ydb dump: damaged: the record at %u of table %d (%s) cannot be read (reader code %d)\n",
                 failedRef, table, tableName(table), r);
    return exitFailed;
}
