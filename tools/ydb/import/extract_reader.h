// Reads the firms of a map extract (.osm.pbf, or .osm XML, possibly compressed) in three passes:
// multipolygon relations, then ways, then nodes, so that only the places of the firms' own nodes
// are kept in memory, whatever the size of the extract.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/ydb/import/imported_firm.h"

// Called now and then with what is being read and how many objects of it so far.
using ReadProgress = std::function<void(const char* what, uint64_t count)>;

// Whether the name of a file says it is an extract this reader knows (.osm.pbf, .pbf, .osm, also
// .osm.gz or .osm.bz2).
bool isExtractName(const std::string& path);

// Appends the firms of the extract to `firms`. Returns false with `error` set when the file cannot be
// opened or is damaged (cut, not valid XML or PBF); `firms` is then incomplete.
bool readExtract(const std::string& path, const TagTable& table, FirmList& firms,
                 ImportReport& report, std::string& error, const ReadProgress& progress = {});
