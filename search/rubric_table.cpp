#include "search/rubric_table.h"

#include <cstring>
#include <new>

#include "db/database.h"
#include "search/messages.h"
#include "search/wide_text.h"

namespace {

// A table-0 record has at least an empty code, an empty title, the flag byte and the reference,
// so a damaged rubricCount cannot make the table larger than table 0 can fill.
constexpr uint32_t smallestRubricRecord = 7;
constexpr uint32_t initialEntries = 512;

bool allocateTable(const DirectoryDatabase& db) {
    RubricTable& table = searchState.rubricTable;
    uint32_t rubrics = rubricCount(db);
    const uint32_t fitting = tableLength(db, tableRubrics) / smallestRubricRecord;
    if (rubrics > fitting) rubrics = fitting;
    table.limit = rubrics + 1;
    table.capacity = table.limit < initialEntries ? table.limit : initialEntries;
    table.entries.reset(new (std::nothrow) RubricTableEntry[table.capacity]);
    if (!table.entries) table.capacity = 0;
    table.count = 0;
    return table.entries != nullptr;
}

// The entries grow with the records actually read, so that a header that claims more than the
// file holds costs nothing. False when memory is refused: the table keeps what it has.
bool makeRoom(RubricTable& table, uint32_t wanted) {
    if (wanted < table.capacity) return true;
    uint32_t grown = table.capacity * 2 > table.limit ? table.limit : table.capacity * 2;
    if (grown <= wanted) grown = wanted + 1;
    std::unique_ptr<RubricTableEntry[]> entries(new (std::nothrow) RubricTableEntry[grown]);
    if (!entries) return false;
    std::memcpy(entries.get(), table.entries.get(), sizeof(RubricTableEntry) * table.count);
    table.entries = std::move(entries);
    table.capacity = grown;
    return true;
}

void copyCode(char (&to)[9], const char* code) {
    std::memset(to, 0, sizeof to);
    std::strncpy(to, code, 8);
}

// The parent of a code of length `length`: the nearest earlier entry whose code is the code
// less its last two characters.
TreeItem findParent(const RubricTable& table, uint32_t i, const char* code, size_t length) {
    if (length < 2) return 0;
    const size_t want = length - 2;
    for (uint32_t j = i; j-- > 0;) {
        const RubricTableEntry& e = table.entries[j];
        if (std::strlen(e.code) == want && std::memcmp(e.code, code, want) == 0) return e.treeItem;
    }
    return 0;
}

}  // namespace

void buildRubricTable(DirectoryDatabase& db, TreeSink* tree, ScreenHooks& hooks) {
    RubricTable& table = searchState.rubricTable;
    if (!table.entries) {
        if (!allocateTable(db)) return;
    } else if (!tree && table.complete) {
        return;
    }
    table.count = 0;
    table.complete = false;
    hooks.showWaitCursor();

    RubricTableEntry& root = table.entries[0];
    root = RubricTableEntry{};
    root.firmListRef = noFirmList;
    table.count = 1;

    if (seekTable(db, tableRubrics, 0, false, noCap) != 0) {
        hooks.showSystemError(text::captionRubrics);
        return;
    }
    const bool flat = searchState.flatMode == 1;
    uint32_t recordRef = 0;
    TreeItem lastItem = 0;
    TreeItem parent = 0;
    WCHAR title[256];
    int32_t read = readOk;
    while ((read = readRecord(db, tableRubrics, readNext, 0, noCap)) == readOk) {
        const uint32_t i = table.count;
        if (i >= table.limit) {
            read = readEndOfTable;
            break;
        }
        if (!makeRoom(table, i))
            break;
        const RubricRecord& record = db.rubric;
        const char* code = record.code ? record.code : "";
        const size_t length = std::strlen(code);
        const RubricTableEntry& previous = table.entries[i - 1];

        TreeItem insertParent;
        if (std::strlen(previous.code) == length && std::memcmp(previous.code, code, length) == 0) {
            insertParent = flat ? 0 : previous.parentItem;
        } else {
            parent = findParent(table, i, code, length);
            insertParent = flat ? 0 : parent;
        }
        if (tree) {
            toWide(record.title ? record.title : "", title, 256);
            const bool show = flat ? (record.firmListRef != noFirmList && (record.flags & 1) != 0)
                                   : (record.flags & 2) != 0;
            if (show) lastItem = tree->insertLastChild(insertParent, title);
        }
        RubricTableEntry& entry = table.entries[i];
        copyCode(entry.code, code);
        entry.flags = static_cast<uint8_t>(record.flags);
        entry.firmListRef = record.firmListRef;
        entry.recordRef = recordRef;
        entry.treeItem = lastItem;
        entry.parentItem = parent;
        table.count = i + 1;
        recordRef = tableOffset(db, tableRubrics);
    }
    table.complete = read == readEndOfTable;
    if (tree && flat) tree->sortChildren(0);
    hooks.restoreCursor();
}

int32_t findRubricEntry(TreeItem item) {
    const RubricTable& table = searchState.rubricTable;
    if (item == 0 || !table.entries) return -1;
    for (uint32_t i = 0; i < table.count; ++i) {
        if (table.entries[i].treeItem == item) return static_cast<int32_t>(i);
    }
    return -1;
}

int32_t openRubricFirmList(int32_t index) {
    const RubricTable& table = searchState.rubricTable;
    if (index < 0 || static_cast<uint32_t>(index) >= table.count) return rubricNothing;
    const RubricTableEntry& entry = table.entries[index];
    if (entry.firmListRef == noFirmList) return rubricNothing;
    searchState.firmListRequest = FirmListRequest{entry.firmListRef, index};
    return rubricFirmList;
}

int32_t openRubric(int32_t index, const WCHAR* itemText) {
    const RubricTable& table = searchState.rubricTable;
    if (index < 0 || static_cast<uint32_t>(index) >= table.count) return rubricNothing;
    RubricChoice& choice = searchState.rubricChoice;
    if (choice.marker == choiceAsked) {
        const RubricTableEntry& entry = table.entries[index];
        choice.marker = choiceMade;
        std::memset(choice.code, 0, sizeof choice.code);
        std::memcpy(choice.code, entry.code, 6);
        size_t n = 0;
        for (; itemText && itemText[n] && n < 127; ++n) choice.title[n] = itemText[n];
        choice.title[n] = 0;
        choice.index = index;
        return rubricChosen;
    }
    return openRubricFirmList(index);
}
