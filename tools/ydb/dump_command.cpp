#include <cstdio>
#include <string>

#include "tools/ydb/commands.h"
#include "tools/ydb/examine/host_database.h"
#include "tools/ydb/examine/record_json.h"

int runDump(int argc, char** argv) {
    int table = argc == 2 ? parseTableName(argv[1]) : -1;
    if (table < 0) {
        std::fprintf(stderr, "usage: ydb dump FILE TABLE   (TABLE: 0-7 or rubrics, prefixes, rubric-firms, firms, "
                             "streets, street-firms, phones, details)\n");
        return exitUsage;
    }
    std::string error;
    DirectoryDatabase* db = openHostDatabase(argv[0], error);
    if (!db) {
        std::fprintf(stderr, "ydb dump: %s\n", error.c_str());
        return exitUsage;
    }
    uint32_t failedRef = 0;
    int32_t r = dumpTable(*db, table, [](const std::string& line) { std::printf("%s\n", line.c_str()); }, failedRef);
    destroyDatabase(db);
    if (r == readOk) return exitOk;
    std::fprintf(stderr, "ydb dump: record at %u of table %d cannot be read (reader code %d)\n", failedRef, table, r);
    return exitFailed;
}
