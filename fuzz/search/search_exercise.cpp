#include "fuzz/search/search_exercise.h"

#include <cstring>
#include <string>
#include <vector>

#include "db/database.h"
#include "db/database_program.h"
#include "emulator.h"
#include "fuzz/exercise_files.h"
#include "search/completion.h"
#include "search/firm_lists.h"
#include "search/letter_index.h"
#include "search/rubric_table.h"
#include "search/search_run.h"
#include "search/search_state.h"
#include "search/street_list.h"

namespace {

constexpr char16_t devicePath[] = u"\\queries.ydb";
// Enough to reach every kind of list, few enough that one input stays quick.
constexpr uint32_t rubricListsFollowed = 16;
constexpr uint32_t letterLinesFollowed = 8;
// The free memory the large window is a quarter of: 64 KB, which holds a fuzz input whole. Under
// the sanitizers a block of 1 MB (the least free memory that needs nothing closed) was mapped,
// marked and unmapped run after run, in system time as much as the rest of the run; below the
// floor the reader only asks for programs to be closed first, a journal line.
constexpr uint64_t largeWindowMemory = 256u * 1024;

std::string hostFile;
size_t lines = 0;

[[noreturn]] void broken(const char* what) { exerciseBroken("search", what); }

// Every line must be a terminated text within its list's limit.
struct CheckedList : ListSink {
    size_t limit;
    explicit CheckedList(size_t l) : limit(l) {}
    std::vector<ItemValue> values;
    bool addLine(const WCHAR* text, ItemValue value) override {
        size_t n = 0;
        while (text[n]) {
            if (++n > limit) broken("a line longer than its list's limit");
        }
        values.push_back(value);
        ++lines;
        return true;
    }
    void selectLine(int32_t) override {}
};

struct CheckedTree : TreeSink {
    TreeItem count = 0;
    TreeItem insertLastChild(TreeItem parent, const WCHAR* text) override {
        if (parent > count) broken("a tree item under a parent that was never inserted");
        for (size_t n = 0; text[n]; ++n)
            if (n >= 255) broken("a rubric title longer than 255 characters");
        ++lines;
        return ++count;
    }
    void sortChildren(TreeItem) override {}
};

struct CheckedCompletion : CompletionSink {
    int32_t count = 0;
    int32_t lineCount() override { return count; }
    void closeList() override {}
    void emptyList() override { count = 0; }
    bool addLine(const WCHAR* text) override {
        for (size_t n = 0; text[n]; ++n)
            if (n >= 99) broken("a completion line longer than 99 characters");
        ++count;
        ++lines;
        return true;
    }
    void openList() override {}
    void restoreTypedText() override {}
};

struct AnsweringHooks : ScreenHooks {
    int answer;
    explicit AnsweringHooks(int a) : answer(a) {}
    int messageBox(const WCHAR*, const WCHAR*, UINT type) override {
        return (type & MB_TYPEMASK) == MB_YESNO ? answer : IDOK;
    }
    int showSystemError(const WCHAR*) override { return -1; }
};

// A name key taken from the input itself, so that the fuzzer can steer the searches to names
// that exist: the first firm's name, cut to a few letters.
std::u16string keyFromFirstFirm(DirectoryDatabase& db) {
    std::u16string key;
    if (seekTable(db, tableFirms, 0, false, noCap) != 0) return key;
    if (readRecord(db, tableFirms, readNext, 0, noCap) != 0) return key;
    const size_t n = strnlen(db.firm.name, db.firm.length);
    WCHAR wide[7] = {};
    const int units = MultiByteToWideChar(1251, 0, db.firm.name, static_cast<int>(n < 6 ? n : 6), wide, 6);
    key.assign(wide, units > 0 ? static_cast<size_t>(units) : 0);
    return key;
}

void runRubrics(DirectoryDatabase& db, AnsweringHooks& hooks) {
    for (int32_t flat = 0; flat <= 1; ++flat) {
        searchState.flatMode = flat;
        CheckedTree tree;
        buildRubricTable(db, &tree, hooks);
        const RubricTable& table = searchState.rubricTable;
        if (table.entries && table.count > table.capacity) broken("more rubric entries than room");
    }
    const RubricTable& table = searchState.rubricTable;
    uint32_t followed = 0;
    for (uint32_t i = 1; table.entries && i < table.count && followed < rubricListsFollowed; ++i) {
        if (table.entries[i].firmListRef == noFirmList) continue;
        CheckedList list(firmListLineLimit);
        fillRubricFirmList(db, table.entries[i].firmListRef, list, hooks);
        ++followed;
    }
}

void runWhitePages(DirectoryDatabase& db, AnsweringHooks& hooks) {
    CheckedList index(2);
    fillLetterIndex(db, index, hooks);
    for (size_t k = 0; k < index.values.size() && k < letterLinesFollowed; ++k) {
        const auto start = static_cast<uint32_t>(index.values[k]);
        const uint32_t end =
            k + 1 < index.values.size() ? static_cast<uint32_t>(index.values[k + 1]) : tableLength(db, tableFirms);
        CheckedList firms(99);
        fillLetterFirms(db, start, end, firms, hooks);
        if (firms.values.size() > letterFirmsLimit) broken("more letter firms than the limit");
    }
}

// Which searches run: the answers to their questions and the modes, each a range.
struct Searches {
    int firstAnswer, answerEnd;
    int32_t firstMode, modeEnd;
};
constexpr Searches everySearch{0, 2, 0, searchModeCount};

void runSearches(DirectoryDatabase& db, const std::u16string& key, const Searches& searches) {
    const std::u16string keys[] = {key, key.substr(0, 3), u"\u0410"};
    for (int a = searches.firstAnswer; a < searches.answerEnd; ++a) {
        AnsweringHooks hooks(a == 0 ? IDYES : IDNO);
        for (int32_t mode = searches.firstMode; mode < searches.modeEnd; ++mode) {
            for (const std::u16string& name : keys) {
                for (const char16_t* street : {u"", u"\u0410"}) {
                    CheckedList results(99);
                    SearchRequest request{mode, name.c_str(), street, u""};
                    runSearch(db, request, results, hooks);
                    if (results.values.size() > resultLimit + 1 && street[0] == 0) broken("more than 1000 lines");
                }
            }
        }
        for (const char16_t* phone : {u"0", u"1234567", u"999999999"}) {
            CheckedList results(99);
            SearchRequest request{modeNameBegins, u"", u"", phone};
            runSearch(db, request, results, hooks);
            if (results.values.size() > 1) broken("a telephone search listed more than one firm");
        }
        CheckedList streets(99);
        SearchRequest request{modeNameBegins, u"", u"\u0410", u""};
        runSearch(db, request, streets, hooks);
    }
}

void runCompletions(DirectoryDatabase& db, const std::u16string& key) {
    CheckedCompletion box;
    searchState.rememberedNameLength = 0;
    for (size_t n = 1; n <= key.size(); ++n) completeName(db, modeNameBegins, key.substr(0, n).c_str(), box);
    if (box.count > nameCompletionCap + 1) broken("more completion lines than the cap");
    for (size_t n = 1; n <= 4 && n <= key.size(); ++n) completeStreet(db, key.substr(0, n).c_str(), box);
}

}  // namespace

bool prepareSearchExercise(const std::string& hostRoot) {
    const std::string root = exerciseDeviceRoot(hostRoot, "search-exercise");
    if (root.empty()) return false;
    emu::setMessageBoxHandler([](HWND, std::u16string_view, std::u16string_view, UINT style) {
        return emu::defaultMessageBoxAnswer(style);
    });
    emu::setAvailablePhysicalMemory(largeWindowMemory);
    takeMemoryReading();
    hostFile = root + "/queries.ydb";
    return true;
}

namespace {

// A window of 1024 bytes, which the scans refill and records straddle, or one of 64 KB that holds
// a fuzz input whole (a larger one would only cost its allocation, run after run).
void useWindow(DirectoryDatabase& db, bool small) {
    releaseWindow(db);
    emu::setAvailablePhysicalMemory(small ? 4096 : largeWindowMemory);
    takeMemoryReading();
}

// Opens the bytes as a database and runs the lists, the searches asked for through the windows
// asked for, and the completions.
void exercise(const uint8_t* data, size_t size, bool largeWindow, bool smallWindow, const Searches& searches) {
    if (!writeExerciseInput(hostFile, data, size)) broken("the input cannot be written");

    const size_t blocksBefore = emu::liveLocalBlocks();
    DirectoryDatabase* db = createDatabase();
    if (!db) broken("no database object");
    // As on the device: a file that fails to open is never a choice, so no screen queries it.
    if (openDatabase(*db, devicePath) != 0) {
        destroyDatabase(db);
        if (emu::liveLocalBlocks() != blocksBefore) broken("a block left behind");
        return;
    }
    searchState = SearchState{};
    {
        AnsweringHooks hooks(IDYES);
        runRubrics(*db, hooks);
        runWhitePages(*db, hooks);
    }
    const std::u16string key = keyFromFirstFirm(*db);
    for (const bool small : {false, true}) {
        if (small ? !smallWindow : !largeWindow) continue;
        useWindow(*db, small);
        runSearches(*db, key, searches);
    }
    useWindow(*db, false);
    runCompletions(*db, key);
    freeStreetList(streetList);
    freeRubricTable();
    searchState = SearchState{};
    destroyDatabase(db);
    // The small window asks for memory to be freed each time, and the journal keeps each request.
    emu::clearJournal();
    if (emu::liveLocalBlocks() != blocksBefore) broken("a block left behind");
}

}  // namespace

void exerciseSearches(const uint8_t* data, size_t size) { exercise(data, size, true, true, everySearch); }

void exerciseSearchesOneWay(const uint8_t* data, size_t size) {
    const uint8_t way = exerciseWay(data, size);
    const bool small = (way & 1) != 0;
    const int answer = (way >> 1) & 1;
    const int32_t mode = (way >> 2) % searchModeCount;
    exercise(data, size, !small, small, {answer, answer + 1, mode, mode + 1});
}

size_t exercisedLines() { return lines; }
