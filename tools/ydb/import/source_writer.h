// Writes imported firms as a source edition: the folder `ydb build` reads, for the publisher to look
// over and edit before building.
#pragma once

#include <string>
#include <vector>

#include "tools/ydb/import/imported_firm.h"

struct ImportedEdition {
    std::vector<std::string> titleLines;   // UTF-8
    std::string cityLetter;                // UTF-8, one letter
};

// Writes edition.json, rubrics.json, streets.jsonl and firms.jsonl into a new folder beside
// `folder` and renames it to `folder` (which must not exist or be empty) when all is written, so a
// failure leaves nothing behind. Only rubrics that hold firms are written, under codes that follow
// the table's order (a heading's code is 10 + its place, its rubrics' codes add 10 + theirs);
// firms that no row names are under "Прочее" (99). Streets are written in the order of their keys,
// which the street completion walks. Counts the firms and streets written into `report`.
bool writeImportedEdition(const std::string& folder, const ImportedEdition& edition, const TagTable& table,
                          const FirmList& firms, ImportReport& report, std::string& error);
