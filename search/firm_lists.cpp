#include "search/firm_lists.h"

#include <cstdio>
#include <cstring>

#include "db/database.h"
#include "search/messages.h"
#include "search/street_list.h"
#include "search/text_buffer.h"
#include "search/wide_text.h"

namespace {

bool pumpAfterLine(uint32_t line) {
    return line <= 40 || (line > 50 && line % 10 == 1);
}

}  // namespace

void fillRubricFirmList(DirectoryDatabase& db, uint32_t firmListRef, ListSink& list, ScreenHooks& hooks) {
    hooks.showWaitCursor();
    hooks.pumpMessages();
    loadStreetList(streetList, db);

    if (readRecord(db, tableRubricFirms, firmListRef, 0, noCap) == 0) {
        const FirmRefList& refs = db.rubricFirms;
        const uint32_t count = refs.firmRefs ? refs.byteCount / 4 : 0;
        WCHAR wide[firmListLineLimit + 1];
        for (uint32_t k = 0; k < count; ++k) {
            if (readRecord(db, tableFirms, refs.firmRefs[k], 1, noCap) != 0) {
                hooks.messageBox(text::readError, text::captionDatabase, MB_OK | MB_ICONSTOP);
                break;
            }
            const Firm& firm = db.firm;
            TextBuffer line;
            line.append(firm.name);
            if (const StreetListEntry* street = findStreet(streetList, firm.streetRef)) {
                line.append(", ");
                line.append(street->name);
                if (firm.house >= 1 && firm.house <= 9999) {
                    char house[16];
                    std::snprintf(house, sizeof house, ", %u", static_cast<unsigned>(firm.house));
                    line.append(house);
                    if (firm.houseSuffixText && firm.houseSuffixText[0]) {
                        line.append("/");
                        line.append(firm.houseSuffixText);
                    }
                }
            }
            toWide(line.text(), line.length(), wide, firmListLineLimit + 1);
            if (!list.addLine(wide, refs.firmRefs[k])) {
                hooks.messageBox(text::outOfSpace, text::captionList, MB_OK | MB_ICONSTOP);
                break;
            }
            if (pumpAfterLine(k + 1)) hooks.pumpMessages();
        }
    }
    hooks.restoreCursor();
}
