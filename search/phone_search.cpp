#include <cstdint>

#include "db/database.h"
#include "search/halving_search.h"
#include "search/result_line.h"
#include "search/search_passes.h"

namespace {

constexpr int phoneProbeLimit = 100;

// The typed number as a decimal integer the way the platform's string-to-long reads it: leading
// blanks and a sign allowed, leading zeros ignored, stopping at the first non-digit, and held at
// the largest 32-bit value instead of overflowing.
int32_t readPhoneNumber(const char* text) {
    while (*text == ' ' || *text == '\t') ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > INT32_MAX) {
            return negative ? INT32_MIN : INT32_MAX;
        }
    }
    return static_cast<int32_t>(negative ? -value : value);
}

}  // namespace

uint32_t searchPhone(SearchContext& context, const char* phone) {
    DirectoryDatabase& db = context.db;
    const int32_t number = readPhoneNumber(phone);
    const int32_t count = static_cast<int32_t>(phoneCount(db));
    const HalvingResult hit = halvingSearch(count, phoneProbeLimit, [&](int32_t index) {
        // Each probe fills the window with a few kilobytes: the index is entered at random.
        const uint64_t at = uint64_t{ydb::phoneEntrySize} * static_cast<uint32_t>(index);
        if (at >= noCap || readRecord(db, tablePhones, static_cast<uint32_t>(at), 0, lookupReadCap) != 0)
            return probeFailed;
        const int32_t stored = static_cast<int32_t>(db.phoneEntry.number);
        return stored < number ? -1 : stored > number ? 1 : 0;
    });
    if (!hit.found) return 0;
    // The slot still holds the entry that compared equal: it was the last one read.
    const uint32_t ref = db.phoneEntry.firmRef;
    if (readRecord(db, tableFirms, ref, 3, cardReadCap) != 0) return 0;
    WCHAR line[resultLineLimit + 1];
    formatResultLine(db.firm, true, line);
    return addResult(context, line, ref) ? 1 : 0;
}
