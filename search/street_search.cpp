#include <cstring>
#include <memory>
#include <new>

#include "db/database.h"
#include "search/result_line.h"
#include "search/search_passes.h"
#include "search/street_list.h"
#include "search/text_match.h"

uint32_t searchStreets(SearchContext& context) {
    DirectoryDatabase& db = context.db;
    uint32_t n = 0;
    WCHAR line[resultLineLimit + 1];
    const StreetList& streets = streetList;
    for (uint32_t s = 0; s < streets.count; ++s) {
        const StreetListEntry& street = streets.entries[s];
        char upper[40];
        const size_t length = strnlen(street.name, sizeof street.name);
        foldToUpper(street.name, length, upper);
        if (!containsText(upper, length, context.street, context.streetLength)) continue;
        if (readRecord(db, tableStreetFirms, street.firmListRef, 1, noCap) != 0) continue;
        const FirmRefList& list = db.streetFirms;
        if (!list.firmRefs || list.count == 0) continue;
        // Table 5 is not read again below, so the slot's list stays valid for the loop.
        for (uint32_t k = 0; k < list.count; ++k) {
            const uint32_t ref = list.firmRefs[k];
            if (readRecord(db, tableFirms, ref, 3, noCap) != 0) continue;
            formatResultLine(db.firm, false, line);
            if (!passesTheme(context, ref)) continue;
            if (!addResult(context, line, ref)) return n;
            ++n;
            if (pumpAfterResult(n)) context.hooks.pumpMessages();
        }
    }
    return n;
}
