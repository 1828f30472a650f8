#include "search/street_list.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "db/database.h"

StreetList streetList;

namespace {

void copyCut(char* to, size_t capacity, const char* from) {
    size_t n = 0;
    if (from)
        while (n + 1 < capacity && from[n] != 0) ++n;
    if (n) std::memcpy(to, from, n);
    to[n] = 0;
}

} // namespace

void loadStreetList(StreetList& list, DirectoryDatabase& db) {
    if (list.entries && list.complete) return;
    freeStreetList(list);
    // The count comes from the file: no more streets than the table can hold are asked for, so a
    // damaged header cannot make the list claim gigabytes.
    constexpr uint32_t smallestStreet = ydb::recordLengthSize + 2 + ydb::refSize;
    uint32_t capacity = std::min(streetCount(db), tableLength(db, tableStreets) / smallestStreet);
    if (capacity == 0) return;
    list.entries = new (std::nothrow) StreetListEntry[capacity];
    if (!list.entries) return;
    if (seekTable(db, tableStreets, 0, false, noCap) != readOk) return;
    uint32_t ref = tableOffset(db, tableStreets);
    int32_t read = readOk;
    while (list.count < capacity && (read = readRecord(db, tableStreets, readNext, 0, noCap)) == readOk) {
        StreetListEntry& e = list.entries[list.count++];
        e.ref = ref;
        e.firmListRef = db.street.firmListRef;
        copyCut(e.key, sizeof e.key, db.street.key);
        copyCut(e.name, sizeof e.name, db.street.name);
        ref = tableOffset(db, tableStreets);
    }
    list.complete = list.count == capacity || read == readEndOfTable;
}

void freeStreetList(StreetList& list) {
    delete[] list.entries;
    list.entries = nullptr;
    list.count = 0;
    list.complete = false;
}

const StreetListEntry* findStreet(const StreetList& list, uint32_t ref) {
    if (!list.entries || list.count == 0) return nullptr;
    // [lo, hi] is the part of the list that can still hold the entry.
    uint32_t lo = 0;
    uint32_t hi = list.count - 1;
    for (int probe = 0; probe < 100 && lo <= hi; ++probe) {
        uint32_t mid = lo + (hi - lo) / 2;
        uint32_t at = list.entries[mid].ref;
        if (at == ref) return &list.entries[mid];
        if (at < ref) {
            lo = mid + 1;
        } else {
            if (mid == 0) break;
            hi = mid - 1;
        }
    }
    return nullptr;
}
