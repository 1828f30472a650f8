#include <cstdio>
#include <string>

#include "tools/ydb/commands.h"
#include "tools/ydb/inspect/host_database.h"
#include "tools/ydb/inspect/record_json.h"

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
    // Firms are decoded with their body, street lists with their entries: everything the slot holds.
    uint16_t detail = table == tableFirms ? detailBody : table == tableStreetFirms ? detailList : 0;
    int result = exitOk;
    if (seekTable(*db, table, 0, false, noCap) != readOk) {
        result = exitFailed;
    } else {
        uint32_t ref = tableOffset(*db, table);
        int32_t r;
        while ((r = readRecord(*db, table, readNext, detail, noCap)) == readOk) {
            std::printf("%s\n", recordJson(*db, table, ref).c_str());
            uint32_t next = tableOffset(*db, table);
            if (next <= ref) break;
            ref = next;
        }
        if (r != readOk && r != readEndOfTable) {
            std::fprintf(stderr, "ydb dump: record at %u of table %d cannot be read (reader code %d)\n", ref, table, r);
            result = exitFailed;
        }
    }
    destroyDatabase(db);
    return result;
}
