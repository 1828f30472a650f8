#include "search/search_run.h"

#include <cstring>

#include "db/database.h"
#include "search/address_key.h"
#include "search/messages.h"
#include "search/prefix_range.h"
#include "search/search_passes.h"
#include "search/search_state.h"
#include "search/search_text.h"
#include "search/street_list.h"
#include "search/text_match.h"
#include "search/wide_text.h"

namespace {

// SearchPass: which kind of pass of one search is running.
enum : int32_t { passFirst = 0, passNotes = 1, passAllNames = 2 };

void setThemeFilter(SearchContext& context) {
    const RubricChoice& choice = searchState.rubricChoice;
    context.theme[0] = 0;
    if (choice.marker != choiceMade) return;
    context.theme[0] = choiceMade;
    std::memcpy(context.theme + 1, choice.code, 6);
    context.theme[7] = 0;
}

void scanAllNames(DirectoryDatabase& db) {
    searchState.rangeStart = 0;
    searchState.rangeEnd = tableLength(db, tableFirms);
}

struct NoteArray {
    SearchContext& context;
    ~NoteArray() {
        delete[] context.notes;
        context.notes = nullptr;
    }
};

}  // namespace

const WCHAR* searchModeText(int32_t mode) {
    static const WCHAR* const texts[searchModeCount] = {
        W("НАИМЕНОВАНИЕ начинается с:"),
        W("НАИМЕНОВАНИЕ содержит:"),
        W("ИНТЕРНЕТ-АДРЕС (www/e-mail) содержит:"),
        W("ПРИМЕЧАНИЕ (товар,услуга) содержит:"),
    };
    return mode >= 0 && mode < searchModeCount ? texts[mode] : nullptr;
}

void selectTheme(int32_t index) {
    RubricChoice& choice = searchState.rubricChoice;
    const RubricTable& table = searchState.rubricTable;
    if (index >= 0 && static_cast<uint32_t>(index) < table.count) {
        choice.marker = choiceMade;
        std::memset(choice.code, 0, sizeof choice.code);
        std::memcpy(choice.code, table.entries[index].code, 6);
    } else {
        choice.marker = 0;
    }
}

int32_t runSearch(DirectoryDatabase& db, const SearchRequest& request, ListSink& results, ScreenHooks& hooks) {
    hooks.pumpMessages();
    SearchContext context{db, results, hooks, request.mode, {}, 0, {}, 0, {}, nullptr, 0, {}, {}, {}};
    NoteArray noteArray{context};
    if (request.name) toCodePage(request.name, context.nameKey, sizeof context.nameKey);
    context.streetLength = request.street ? toCodePage(request.street, context.street, sizeof context.street) : 0;
    char phone[16] = {};
    if (request.phone) toCodePage(request.phone, phone, sizeof phone);
    upcaseText(context.nameKey);
    context.nameKeyLength = static_cast<size_t>(compactKey(context.nameKey));
    context.nameFilter = prepareKey(context.nameKey, context.nameKeyLength, textFold().key, scanSingleBytes);
    context.noteFilter = prepareKey(context.nameKey, context.nameKeyLength, textFold().upcase, scanSingleBytes);
    context.addressFilter = prepareAddressKey(context.nameKey, context.nameKeyLength);
    setThemeFilter(context);
    hooks.pumpMessages();

    int32_t pass = passFirst;
    uint32_t n = 0;
    for (;;) {
        n = 0;
        hooks.showWaitCursor();
        hooks.pumpMessages();
        if (context.nameKeyLength == 0) {
            if (context.streetLength > 0) {
                loadStreetList(streetList, db);
                n = searchStreets(context);
            } else if (phone[0]) {
                n = searchPhone(context, phone);
            } else {
                hooks.restoreCursor();
                hooks.messageBox(text::giveConditions, text::captionConditions, MB_OK | MB_ICONEXCLAMATION);
                return searchNeedsConditions;
            }
        } else {
            bool askFragment = false;
            if (context.mode == modeNameBegins) {
                if (findPrefixRange(db, context.nameKey, context.nameKeyLength)) {
                    n = scanFirms(context);
                } else {
                    askFragment = true;
                }
            } else if (context.mode == modeNoteContains) {
                pass = passNotes;
                if (!collectNotes(context)) {
                    hooks.restoreCursor();
                    return 0;
                }
                if (context.noteCount > 0) {
                    searchState.rangeStart = context.notes[0];
                    searchState.rangeEnd = tableLength(db, tableFirms);
                    n = scanFirms(context);
                }
            } else {
                scanAllNames(db);
                pass = passAllNames;
                n = scanFirms(context);
            }
            if (!askFragment && n < resultLimit && n == 0 && pass == passFirst) askFragment = true;
            if (askFragment) {
                hooks.restoreCursor();
                if (hooks.messageBox(text::askFragment, text::captionHope, MB_YESNO | MB_ICONQUESTION) == IDYES) {
                    scanAllNames(db);
                    pass = passAllNames;
                    n = scanFirms(context);
                }
            }
            if (n >= resultLimit) {
                results.addLine(text::resultOverflowLine, noItemValue);
                hooks.restoreCursor();
                return static_cast<int32_t>(n);
            }
        }
        hooks.restoreCursor();
        if (n > 0) {
            if (n == 1) results.selectLine(0);
            return static_cast<int32_t>(n);
        }
        if (pass == passNotes || context.nameKeyLength == 0) {
            hooks.messageBox(text::nothingFound, text::captionRegret, MB_OK | MB_ICONINFORMATION);
            return 0;
        }
        if (hooks.messageBox(text::askNotes, text::captionLastChance, MB_YESNO | MB_ICONQUESTION) != IDYES) return 0;
        context.mode = modeNoteContains;
    }
}
