// What an import did, counted as it goes and printed at its end.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <unordered_map>

struct ImportReport {
    uint64_t objectsRead = 0;    // nodes, ways and relations
    uint64_t firmsWritten = 0;
    uint64_t streetsWritten = 0;
    std::map<std::string, uint64_t> leftOut;        // reason: count
    std::map<std::string, uint64_t> cut;            // field: firms whose field was cut or left out
    std::unordered_map<std::string, uint64_t> unmatchedTags;   // "key=value": firms under "Прочее" for it
    uint64_t duplicatesMerged = 0;

    void leave(const char* reason) { ++leftOut[reason]; }
    void cutField(const char* field) { ++cut[field]; }
};

// The report as the publisher reads it; at most `unmatchedShown` of the most frequent unmatched tags.
void printImportReport(const ImportReport& report, std::FILE* to, size_t unmatchedShown = 15);
