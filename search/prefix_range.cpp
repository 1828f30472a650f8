#include "search/prefix_range.h"

#include <cstring>

#include "db/database.h"
#include "search/halving_search.h"
#include "search/search_state.h"

namespace {

int comparePrefix(const PrefixEntry& entry, const char* key, size_t length) {
    const int order = std::memcmp(entry.prefix, key, length);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

// A probe fills the window with a few kilobytes, not the whole rest of the index: the answer is
// the same and a look-up on every keystroke costs no more than its probes.
bool readEntry(DirectoryDatabase& db, int32_t index) {
    const uint64_t at = uint64_t{ydb::prefixEntrySize} * static_cast<uint32_t>(index);
    return at < noCap && readRecord(db, tablePrefixes, static_cast<uint32_t>(at), 0, lookupReadCap) == 0;
}

}  // namespace

bool findPrefixRange(DirectoryDatabase& db, const char* key, size_t keyLength) {
    searchState.rangeStart = searchState.rangeEnd = 0xFFFFFFFFu;
    const size_t length = keyLength < 5 ? keyLength : 5;
    if (length == 0) return false;
    // The count is taken as the signed value the probes count with; a count too large for the
    // table cannot be entered anyway (reads past its end fail).
    const int32_t count = static_cast<int32_t>(prefixCount(db));
    const HalvingResult hit = halvingSearch(count, prefixProbeLimit, [&](int32_t index) {
        return readEntry(db, index) ? comparePrefix(db.prefix, key, length) : probeFailed;
    });
    if (!hit.found) return false;
    const int32_t mid = hit.index;
    const int32_t lo = hit.lo;

    const uint32_t firmsEnd = tableLength(db, tableFirms);
    if (length == 5) {
        searchState.rangeStart = db.prefix.firmRef;
        searchState.rangeEnd = mid + 1 < count && readEntry(db, mid + 1) ? db.prefix.firmRef : firmsEnd;
        return true;
    }
    // A shorter key matches a run of entries; the run begins after lo, which only ever moves
    // onto entries below the key.
    bool inRun = false;
    for (int32_t j = lo; j < count; ++j) {
        if (!readEntry(db, j)) break;
        const PrefixEntry& entry = db.prefix;
        if (comparePrefix(entry, key, length) == 0) {
            if (!inRun) searchState.rangeStart = entry.firmRef;
            inRun = true;
        } else if (inRun) {
            searchState.rangeEnd = entry.firmRef;
            return true;
        }
    }
    if (!inRun) {
        searchState.rangeStart = 0xFFFFFFFFu;
        return false;
    }
    searchState.rangeEnd = firmsEnd;
    return true;
}
