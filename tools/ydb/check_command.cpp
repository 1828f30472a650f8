#include <cstdio>
#include <string>

#include "tools/ydb/commands.h"
#include "tools/ydb/examine/database_check.h"
#include "tools/ydb/examine/host_database.h"
#include "tools/ydb/examine/resource_chunks.h"
#include "tools/ydb/source/edition_needs.h"

namespace {

// What the handheld's screens will not find among the resources, as the chain holds them.
std::vector<std::string> resourceFindings(const std::string& path, uint32_t areaStart) {
    std::string fault;
    EditionResources found;
    for (const ResourceChunk& c : walkResourceChunks(path, areaStart, fault)) {
        if (c.tag[0] == 'B' && c.tag[1] == 'M') found.pictures.push_back({c.width, c.height});
        else if (c.tag[0] == 'H' && c.tag[1] == 'T' && !found.hasHelp) {
            found.hasHelp = true;
            const std::string bytes = readChunk(path, c);
            if (bytes.size() > 14) found.help = bytes.substr(14);
        }
    }
    std::vector<std::string> lines;
    for (const ResourceWarning& w : resourceWarnings(found))
        lines.push_back(std::string("warning: ") + (w.subject == ResourceWarning::Subject::help ? "help text: " : "") + w.message);
    return lines;
}

} // namespace

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
    const uint32_t area = tableStart(*db, ydb::resourceArea);
    for (const ChunkFault& f : checkResourceChunks(argv[0], area))
        report.faults.push_back({ydb::resourceArea, static_cast<uint32_t>(f.offset), 0, f.what});
    destroyDatabase(db);
    // Warnings leave the exit code alone: the file is sound, only less than complete.
    for (const std::string& line : resourceFindings(argv[0], area)) std::printf("%s\n", line.c_str());
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
