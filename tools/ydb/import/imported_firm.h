// One firm as the importer takes it from a map object: every text already in code page 1251 and
// within the limits of the source format.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tools/ydb/import/import_report.h"
#include "tools/ydb/import/tag_table.h"

// Where an object lies, in the map's fixed-point degrees (1e-7); empty until a location is known.
struct MapBox {
    int32_t minX = INT32_MAX, minY = INT32_MAX, maxX = INT32_MIN, maxY = INT32_MIN;
    bool empty() const { return minX > maxX; }
    void add(int32_t x, int32_t y);
    void add(const MapBox& other);
    // Whether the boxes overlap once each is widened by `margin`.
    bool near(const MapBox& other, int32_t margin) const;
};

struct ImportedFirm {
    std::string name;
    std::string nameKey;   // the name's search form: objects of one firm share it
    std::string namePrefix;
    std::string street;    // in the directory's form; empty: none
    uint32_t house = 0;
    std::string houseSuffix;
    std::vector<std::string> phones;   // every telephone, the main one first
    std::string web, email, hours;
    std::vector<uint32_t> rubrics;     // TagTable::rubrics, ascending; empty: "Прочее"
    MapBox box;
};

// A deque, so that a million firms grow without a moment when the old and the new copy both exist.
using FirmList = std::deque<ImportedFirm>;

// The value of a tag of the object, or nullptr.
using TagLookup = std::function<const char*(const char* key)>;

// The firm an object with these tags is, or nothing (the reason counted in `report`): an object
// without a business kind, with only tags that are not firms, without a name, or with a name of
// another script.
std::optional<ImportedFirm> firmFromTags(const TagTable& table, const TagLookup& tag, ImportReport& report);

// Takes into `into` what `other` (the same firm mapped again) adds: fields `into` lacks, its
// telephones and rubrics, its place.
void mergeFirm(ImportedFirm& into, ImportedFirm&& other);
