#include <cstring>
#include <memory>
#include <new>

#include "db/database.h"
#include "db/details_scan.h"
#include "search/search_passes.h"
#include "search/search_run.h"
#include "search/text_match.h"

namespace {

constexpr size_t noteLimit = 8000;

struct NoteScan {
    SearchContext& context;
    char* note;
    uint32_t firmRef = 0;  // of the note found last
};

bool noteHoldsKey(const DetailsFields& details, void* data) {
    auto& scan = *static_cast<NoteScan*>(data);
    const SearchContext& context = scan.context;
    if (!details.comment || !details.comment[0]) return false;
    const size_t length = strnlen(details.comment, noteLimit);
    if (!mayContainKey(context.noteFilter, details.comment, length)) return false;
    foldToUpper(details.comment, length, scan.note);
    if (!containsText(scan.note, length, context.nameKey, context.nameKeyLength)) return false;
    scan.firmRef = details.firmRef;
    return true;
}

}  // namespace

bool collectNotes(SearchContext& context) {
    DirectoryDatabase& db = context.db;
    context.noteCount = 0;
    if (!context.notes) context.notes = new (std::nothrow) uint32_t[resultLimit];
    std::unique_ptr<char[]> note(new (std::nothrow) char[noteLimit + 1]);
    if (!context.notes || !note) return false;
    if (seekTable(db, tableDetails, 0, false, noCap) != 0) return true;
    NoteScan scan{context, note.get(), 0};
    uint32_t ref = 0;
    while (context.noteCount < resultLimit && scanDetailTexts(db, context.noteFilter.scanBytes, noteHoldsKey, &scan, &ref) == 0) {
        context.notes[context.noteCount++] = scan.firmRef;
    }
    return true;
}
