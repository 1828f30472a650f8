#include <algorithm>
#include <cstring>

#include "db/database.h"
#include "db/firm_scan.h"
#include "search/address_key.h"
#include "search/messages.h"
#include "search/result_line.h"
#include "search/search_passes.h"
#include "search/search_run.h"
#include "search/search_state.h"
#include "search/text_match.h"

namespace {

// Modes 0 to 2 test each firm's texts where the scan finds them, as a NEXT read with its body
// gives them: the name bounded by the body length, web and e-mail as their fields hold them.
bool matchesText(const FirmFields& firm, void* data) {
    const SearchContext& context = *static_cast<const SearchContext*>(data);
    if (context.mode != modeAddressContains) {
        // The name's 0 may lie beyond a damaged record's body: the name then ends with the body.
        const size_t length = firm.name ? std::min<size_t>(firm.nameLength, firm.bodyLength) : 0;
        return mayContainKey(context.nameFilter, firm.name, length) &&
               nameContainsKey(firm.name, length, context.nameKey, context.nameKeyLength);
    }
    char address[addressKeyCapacity];
    const size_t length = addressKey(firm.web, firm.webLength, firm.email, firm.emailLength, address);
    return containsText(address, length, context.nameKey, context.nameKeyLength);
}

}  // namespace

bool passesStreet(const SearchContext& context) {
    if (context.streetLength == 0) return true;
    const char* name = context.db.firm.streetNameText;
    if (!name || !name[0]) return false;
    char upper[256];
    const size_t length = strnlen(name, sizeof upper);
    foldToUpper(name, length, upper);
    return containsText(upper, length, context.street, context.streetLength);
}

bool passesTheme(SearchContext& context, uint32_t ref) {
    if (!context.theme[0]) return true;
    if (readRecord(context.db, tableFirms, ref, 5, noCap) != 0) return true;
    const char* codes = context.db.details.rubricCodes;
    return codes && std::strstr(codes, context.theme) != nullptr;
}

bool addResult(SearchContext& context, const WCHAR* line, uint32_t ref) {
    if (context.results.addLine(line, ref)) return true;
    context.hooks.messageBox(text::outOfSpace, text::captionSearch, MB_OK | MB_ICONSTOP);
    return false;
}

uint32_t scanFirms(SearchContext& context) {
    DirectoryDatabase& db = context.db;
    context.hooks.showWaitCursor();
    context.hooks.pumpMessages();
    const uint32_t end = searchState.rangeEnd;
    if (seekTable(db, tableFirms, searchState.rangeStart, false, noCap) != 0) return 0;
    const bool notes = context.mode == modeNoteContains;
    uint32_t n = 0;
    uint32_t next = 0;
    WCHAR line[resultLineLimit + 1];
    // Bytes the key's texts must hold (for the web and e-mail, two neighbouring ones), found for
    // many firms at once without walking their texts; the test itself decides.
    const bool address = context.mode == modeAddressContains;
    const FirmTexts wanted = address ? firmAllFields : firmNameOnly;
    const FirmFilter filter = address ? FirmFilter{context.addressFilter.scanBytes, filterWebAndEmail}
                                      : FirmFilter{context.nameFilter.scanBytes, filterName};
    while (n < resultLimit) {
        uint32_t r;
        if (notes) {
            if (next >= context.noteCount) break;
            r = context.notes[next++];
            if (r >= end || readRecord(db, tableFirms, r, 3, noCap) != 0) break;
        } else {
            if (scanFirmTexts(db, end, wanted, filter, matchesText, &context, &r) != 0) break;
            if (readRecord(db, tableFirms, r, 3, noCap) != 0) break;
        }
        if (!passesStreet(context)) continue;
        // The line is made before the theme test, whose read replaces the street name.
        formatResultLine(db.firm, false, line);
        if (!passesTheme(context, r)) continue;
        if (!addResult(context, line, r)) break;
        ++n;
        if (pumpAfterResult(n)) context.hooks.pumpMessages();
    }
    return n;
}
