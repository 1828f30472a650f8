#include <cstdio>
#include <cstring>
#include <string>

#include "tools/ydb/commands.h"
#include "tools/ydb/examine/database_check.h"
#include "tools/ydb/examine/host_database.h"
#include "tools/ydb/examine/record_json.h"
#include "tools/ydb/examine/resource_chunks.h"
#include "tools/ydb/source/cp1251.h"

int runInfo(int argc, char** argv) {
    if (argc != 1) return usageError("info", argc == 0 ? "no FILE given" : "one FILE only");
    ReaderBoxesSilenced quiet;  // the faults are reported below in the tool's words
    std::string error;
    OpenFailure failure;
    DirectoryDatabase* db = openHostDatabase(argv[0], error, failure);
    if (!db) {
        std::fprintf(stderr, "ydb info: %s\n", error.c_str());
        return exitCodeOf(failure);
    }
    std::string title = db->title ? db->title : "";
    std::printf("title:");
    size_t start = 0;
    while (start <= title.size()) {
        size_t end = title.find_first_of("\r\n", start);
        if (end == std::string::npos) end = title.size();
        std::printf("\n  %s", cp1251ToUtf8(title.substr(start, end - start)).c_str());
        if (end + 1 < title.size() && title[end] == '\r' && title[end + 1] == '\n') ++end;
        start = end + 1;
    }
    unsigned char letter = cityLetter(*db);
    std::printf("\ncity letter: %s (0x%02X)%s\n", cp1251ToUtf8(std::string(1, static_cast<char>(letter))).c_str(), letter,
                letter == ydb::cityLetterMoscow ? ", second set of information pages" : "");
    // The header counts everything but the firms: they are counted by reading their table.
    uint32_t firms = 0, failedRef = 0;
    const int32_t firmWalk = walkTable(*db, tableFirms, 0, [&firms](uint32_t) { ++firms; }, failedRef);
    std::printf("counts: %u rubrics, %u prefixes, %u%s firms, %u streets, %u telephone entries\n", rubricCount(*db),
                prefixCount(*db), firms, firmWalk == readOk ? "" : "+", streetCount(*db), phoneCount(*db));
    std::printf("tables:\n");
    for (int t = 0; t < 8; ++t)
        std::printf("  %d %-13s at %10u  %10u bytes\n", t, tableName(t), tableStart(*db, t), tableLength(*db, t));
    std::string fault;
    auto chunks = walkResourceChunks(argv[0], tableStart(*db, ydb::resourceArea), fault);
    std::printf("resources at %u:\n", tableStart(*db, ydb::resourceArea));
    for (const ResourceChunk& c : chunks) {
        if (std::strcmp(c.tag, "BM") == 0)
            std::printf("  picture %d  %8u bytes  %d x %d, %d bits\n", c.number, c.size, c.width, c.height < 0 ? -c.height : c.height,
                        c.bitsPerPixel);
        else
            std::printf("  %s %d  %8u bytes\n", std::strcmp(c.tag, "HT") == 0 ? "help text" : c.tag, c.number, c.size);
    }
    bool damaged = !fault.empty();
    if (damaged) std::printf("  damaged: %s\n", fault.c_str());
    if (firmWalk != readOk) {
        std::printf("damaged: the firm at %u cannot be read (reader code %d); ydb check FILE lists every fault\n",
                    failedRef, firmWalk);
        damaged = true;
    }
    destroyDatabase(db);
    return damaged ? exitFailed : exitOk;
}
