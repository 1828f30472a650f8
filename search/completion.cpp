#include "search/completion.h"

#include <cstring>
#include <string>

#include "db/database.h"
#include "search/messages.h"
#include "search/prefix_range.h"
#include "search/search_run.h"
#include "search/search_state.h"
#include "search/search_text.h"
#include "search/street_list.h"
#include "search/wide_text.h"

namespace {

constexpr size_t boxTextLimit = 255;
constexpr size_t keyTextCapacity = 100;  // 99 characters and the 0
constexpr size_t nameKeyLetters = 5;
constexpr size_t streetKeyLetters = 3;

size_t boxLength(const WCHAR* text) {
    const size_t n = wideLength(text);
    return n < boxTextLimit ? n : boxTextLimit;
}

// The box's text (at most 255 characters) in code page 1251 (at most 99), compacted.
size_t compactedKey(const WCHAR* text, size_t length, char (&key)[keyTextCapacity]) {
    WCHAR cut[boxTextLimit + 1];
    std::memcpy(cut, text, length * sizeof(WCHAR));
    cut[length] = 0;
    toCodePage(cut, key, sizeof key);
    return compactKey(key);
}

void clearList(CompletionSink& box) {
    if (box.lineCount() <= 0) return;
    box.closeList();
    box.emptyList();
    box.restoreTypedText();
}

}  // namespace

void completeName(DirectoryDatabase& db, int32_t mode, const WCHAR* boxText, CompletionSink& box) {
    if (mode != modeNameBegins) return;
    const size_t length = boxLength(boxText);
    const int32_t previous = searchState.rememberedNameLength;
    searchState.rememberedNameLength = static_cast<int32_t>(length);
    // Only typing completes: deleting letters leaves the list as it is.
    if (static_cast<int32_t>(length) <= previous) return;

    char key[keyTextCapacity];
    const size_t keyLength = compactedKey(boxText, length, key);
    if (keyLength > nameKeyLetters) return;
    if (keyLength < nameKeyLetters) {
        clearList(box);
        return;
    }
    box.closeList();
    if (!findPrefixRange(db, key, keyLength)) return;
    if (seekTable(db, tableFirms, searchState.rangeStart, false, noCap) != 0) return;

    std::string previousName;
    int32_t count = 0;
    WCHAR line[keyTextCapacity];
    while (tableOffset(db, tableFirms) < searchState.rangeEnd && count < nameCompletionCap) {
        if (readRecord(db, tableFirms, readNext, 0, noCap) != 0) break;
        // Read without the body, the name is bounded only by the record.
        const size_t nameLength = strnlen(db.firm.name, db.firm.length);
        if (previousName.size() == nameLength && std::memcmp(previousName.data(), db.firm.name, nameLength) == 0)
            continue;
        previousName.assign(db.firm.name, nameLength);
        std::string shown = previousName;
        shown.resize(cleanName(shown.data()));
        toWide(shown.data(), shown.size(), line, keyTextCapacity);
        if (count == 0) box.emptyList();
        if (!box.addLine(line)) break;
        ++count;
    }
    if (count == 0) return;
    if (count == nameCompletionCap) box.addLine(text::completionOverflowLine);
    box.openList();
    box.restoreTypedText();
}

void completeStreet(DirectoryDatabase& db, const WCHAR* boxText, CompletionSink& box) {
    const size_t length = boxLength(boxText);
    char key[keyTextCapacity];
    const size_t keyLength = compactedKey(boxText, length, key);
    if (keyLength > streetKeyLetters) return;
    if (keyLength < streetKeyLetters) {
        clearList(box);
        return;
    }
    box.closeList();
    loadStreetList(streetList, db);
    bool matched = false;
    WCHAR line[keyTextCapacity];
    for (uint32_t s = 0; s < streetList.count; ++s) {
        const StreetListEntry& street = streetList.entries[s];
        // The typed length, not the key's: separators typed in between still compare the 0 bytes.
        if (std::strncmp(street.key, key, length) != 0) {
            // Streets of one key stand together: the first street after them ends the walk.
            if (matched) break;
            continue;
        }
        if (!matched) box.emptyList();
        matched = true;
        toWide(street.name, line, keyTextCapacity);
        if (!box.addLine(line)) break;
    }
    if (!matched) return;
    box.openList();
    box.restoreTypedText();
}
