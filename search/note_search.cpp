#include <cstring>
#include <memory>
#include <new>

#include "db/database.h"
#include "search/search_passes.h"
#include "search/search_run.h"
#include "search/text_match.h"

namespace {

constexpr size_t noteLimit = 8000;

}  // namespace

bool collectNotes(SearchContext& context) {
    DirectoryDatabase& db = context.db;
    context.noteCount = 0;
    if (!context.notes) context.notes = new (std::nothrow) uint32_t[resultLimit];
    std::unique_ptr<char[]> note(new (std::nothrow) char[noteLimit + 1]);
    if (!context.notes || !note) return false;
    if (seekTable(db, tableDetails, 0, false, noCap) != 0) return true;
    while (context.noteCount < resultLimit && readRecord(db, tableDetails, readNext, 0, noCap) == 0) {
        const FirmDetails& details = db.details;
        if (!details.comment || !details.comment[0]) continue;
        const size_t length = strnlen(details.comment, noteLimit);
        if (!mayContainKey(context.noteFilter, details.comment, length)) continue;
        foldToUpper(details.comment, length, note.get());
        if (containsText(note.get(), length, context.nameKey, context.nameKeyLength)) {
            context.notes[context.noteCount++] = details.firmRef;
        }
    }
    return true;
}
