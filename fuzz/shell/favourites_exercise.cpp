#include "fuzz/shell/favourites_exercise.h"

#include <filesystem>
#include <set>
#include <vector>

#include "db/database.h"
#include "db/database_program.h"
#include "emulator.h"
#include "fuzz/exercise_files.h"
#include "search/search_state.h"
#include "shell/favourites.h"
#include "shell/home_screen.h"
#include "shell/shell_state.h"
#include "shell/tile_table.h"
#include "tools/writer/edition_writer.h"

namespace {

constexpr char16_t databasePath[] = u"\\Cards\\fav.ydb";

std::string favouritesHostFile;
char sharedBuffer[shellBufferBytes];
// The firm lists a tap may open: those of the rubrics that have one.
std::set<uint32_t> firmLists;

[[noreturn]] void broken(const char* what) {
    exerciseBroken("favourites", what);
}

// Titles that slots may begin: a heading without firms before a rubric with them, two rubrics
// under one beginning, letters of both cases.
Edition rubricEdition() {
    Edition edition;
    edition.title = "Favourites";
    EditionFirm firm;
    firm.name = "Alpha";
    edition.firms = {firm};
    const char* titles[] = {"\xC0\xE2\xF2\xEE", "\xC0\xE2\xF2\xEE\xF1\xE5\xF0\xE2\xE8\xF1", "Bank", "Banks", "*star",
                            " space"};
    std::string code = "01";
    for (const char* title : titles) {
        EditionRubric rubric;
        rubric.code = code;
        rubric.title = title;
        rubric.hasFirmList = code != "01";
        if (rubric.hasFirmList) rubric.firms = {0};
        edition.rubrics.push_back(rubric);
        ++code[1];
    }
    return edition;
}

void collectFirmLists(DirectoryDatabase& db) {
    for (int32_t read = readRecord(db, 0, 0, 0, noCap); read == 0; read = readRecord(db, 0, readNext, 0, noCap))
        if (db.rubric.firmListRef != noFirmList) firmLists.insert(db.rubric.firmListRef);
}

// The entries a sound reading of the bytes finds: non-empty lines within the part read that do not
// begin with '*'.
int entriesIn(const uint8_t* data, size_t size) {
    const size_t read = size < favouritesReadLimit ? size : favouritesReadLimit;
    int entries = 0;
    size_t start = 0;
    for (size_t i = 0; i <= read; ++i) {
        if (i < read && data[i] != '\r' && data[i] != '\n') continue;
        if (i > start && data[start] != '*') ++entries;
        start = i + 1;
    }
    return entries;
}

size_t boundedLength(const WCHAR* text) {
    size_t length = 0;
    while (length <= favouritesReadLimit && text[length] != 0) ++length;
    return length;
}

void checkSlots(int expected) {
    const int last = homePages[favouritesPage].last;
    const int filled = last - (firstFavouriteSlot - 1);
    const int wanted = expected < favouriteSlotCount ? expected : favouriteSlotCount;
    if (filled != wanted) broken("a slot count other than the file's entries up to twelve");
    for (int i = firstFavouriteSlot; i < firstFavouriteSlot + favouriteSlotCount; ++i) {
        const WCHAR* caption = tileTable[i].caption;
        if ((i <= last) != (caption != nullptr)) broken("a slot filled beyond the page or empty within it");
        if (caption != nullptr && boundedLength(caption) > favouritesReadLimit) broken("a caption longer than the read");
    }
}

void tapEachSlot() {
    for (int i = firstFavouriteSlot; i <= homePages[favouritesPage].last; ++i) {
        const WCHAR* caption = tileTable[i].caption;
        // As the home screen does: an empty caption is no tap.
        if (caption == nullptr || caption[0] == 0) continue;
        const bool found = openRubricByCaption(nullptr, caption);
        MSG message;
        int posted = 0;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message != openFirmListMessage) continue;
            ++posted;
            if (firmLists.count(static_cast<uint32_t>(message.lParam)) == 0) broken("a tap opens no rubric's firms");
        }
        if (posted != (found ? 1 : 0)) broken("a tap's answer and its message disagree");
    }
}

}  // namespace

bool prepareFavouritesExercise(const std::string& hostRoot) {
    const std::string root = exerciseDeviceRoot(hostRoot, "favourites-exercise");
    if (root.empty()) return false;
    emu::setMessageBoxHandler([](HWND, std::u16string_view, std::u16string_view, UINT) { return IDOK; });
    std::error_code error;
    std::filesystem::create_directories(root + "/Cards", error);
    DatabaseImage image;
    std::string problem;
    if (writeEdition(rubricEdition(), image, problem) != writeOk ||
        saveImage(image, root + "/Cards/fav.ydb", problem) != 0)
        return false;
    DirectoryDatabase* db = createDatabase();
    if (db == nullptr || openDatabase(*db, databasePath) != 0) return false;
    databaseProgram.current = db;
    databaseProgram.choices = DatabaseChoices{};
    std::copy(std::begin(databasePath), std::end(databasePath), databaseProgram.choices.entries[0].path);
    databaseProgram.choices.count = 1;
    shellState.shellBuffer = sharedBuffer;
    resetTileTable(shellState.textStyles);
    collectFirmLists(*db);
    favouritesHostFile = root + "/Cards/Favorites.txt";
    return !firmLists.empty();
}

int exerciseFavourites(const uint8_t* data, size_t size) {
    if (!writeExerciseInput(favouritesHostFile, data, size)) broken("the input could not be written");
    loadFavourites();
    checkSlots(entriesIn(data, size));
    tapEachSlot();
    return homePages[favouritesPage].last - (firstFavouriteSlot - 1);
}
