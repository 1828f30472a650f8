#include "search/letter_index.h"

#include <cstring>

#include "db/database.h"
#include "search/messages.h"
#include "search/wide_text.h"

void fillLetterIndex(DirectoryDatabase& db, ListSink& index, ScreenHooks& hooks) {
    const uint32_t step = tableLength(db, tableFirms) >> 6;
    char lastPair[3] = {};
    uint32_t lastRef = 0;
    uint32_t added = 0;
    if (seekTable(db, tablePrefixes, 0, false, noCap) == 0) {
        while (readRecord(db, tablePrefixes, readNext, 0, noCap) == 0) {
            const PrefixEntry& entry = db.prefix;
            char pair[3] = {entry.prefix[0], entry.prefix[0] ? entry.prefix[1] : '\0', '\0'};
            // The first entry always opens a line: with no line yet there is no run to join, and
            // an entry of an empty prefix (names made only of dropped characters, sorted first)
            // would otherwise leave its firms out of the index.
            const bool joins = added > 0 && (std::strcmp(pair, lastPair) == 0 || entry.firmRef - lastRef <= step);
            std::memcpy(lastPair, pair, sizeof pair);
            if (joins) continue;
            lastRef = entry.firmRef;
            WCHAR wide[3];
            toWide(pair, wide, 3);
            if (!index.addLine(wide, entry.firmRef)) {
                hooks.messageBox(text::outOfSpace, text::captionSearch, MB_OK | MB_ICONSTOP);
                break;
            }
            ++added;
        }
    }
    index.selectLine(0);
}

void fillLetterFirms(DirectoryDatabase& db, uint32_t start, uint32_t end, ListSink& firms, ScreenHooks& hooks) {
    hooks.showWaitCursor();
    uint32_t n = 0;
    if (seekTable(db, tableFirms, start, false, noCap) == 0) {
        uint32_t r = start;
        WCHAR wide[100];
        while (r < end && readRecord(db, tableFirms, readNext, 0, noCap) == 0) {
            const Firm& firm = db.firm;
            // Read without the body, the name is bounded only by the record.
            toWide(firm.name, strnlen(firm.name, firm.length), wide, 100);
            if (!firms.addLine(wide, r)) {
                hooks.messageBox(text::outOfSpace, text::captionSearch, MB_OK | MB_ICONSTOP);
                break;
            }
            r = tableOffset(db, tableFirms);
            if (n % 100 == 0) hooks.pumpMessages();
            if (++n == letterFirmsLimit) break;
        }
    }
    hooks.restoreCursor();
    if (n == letterFirmsLimit) hooks.messageBox(text::letterLimit, text::captionOverflow, MB_OK);
}
