#include "fuzz/db/database_exercise.h"

#include <cstring>
#include <string>

#include "db/database.h"
#include "db/database_program.h"
#include "emulator.h"
#include "fuzz/exercise_files.h"

namespace {

constexpr char16_t devicePath[] = u"\\exercise.ydb";
// Enough that a record of any size may be tried, few enough that a fuzz input stays quick.
constexpr int maxRecordsPerScan = 4096;
constexpr int maxReferencesFollowed = 64;

std::string hostFile;
size_t boxCount = 0;

[[noreturn]] void broken(const char* what) { exerciseBroken("database", what); }

// What a NEXT read and a read at the same reference must agree on.
struct Decoded {
    std::string text1, text2;
    uint32_t number1 = 0, number2 = 0, number3 = 0;
    bool operator==(const Decoded&) const = default;
};

std::string textOf(const char* text) { return text ? std::string(text) : std::string("<none>"); }

Decoded decoded(const DirectoryDatabase& db, int table) {
    Decoded d;
    switch (table) {
    case tableRubrics:
        d = {textOf(db.rubric.code), textOf(db.rubric.title), db.rubric.flags, db.rubric.firmListRef, 0};
        break;
    case tablePrefixes:
        d = {std::string(db.prefix.prefix, strnlen(db.prefix.prefix, 6)), "", db.prefix.firmRef, 0, 0};
        break;
    case tableRubricFirms:
        d = {"", "", db.rubricFirms.byteCount, db.rubricFirms.count, db.rubricFirms.count ? db.rubricFirms.firmRefs[0] : 0};
        break;
    case tableFirms:
        d = {db.firm.name ? std::string(db.firm.name, strnlen(db.firm.name, db.firm.length)) : "<none>",
             textOf(db.firm.houseSuffixText), db.firm.streetRef, db.firm.house, db.firm.detailsRef};
        break;
    case tableStreets:
        d = {textOf(db.street.key), textOf(db.street.name), db.street.length, db.street.firmListRef, 0};
        break;
    case tableStreetFirms:
        d = {"", "", db.streetFirms.byteCount, db.streetFirms.count, db.streetFirms.count ? db.streetFirms.firmRefs[0] : 0};
        break;
    case tablePhones:
        d = {"", "", db.phoneEntry.number, db.phoneEntry.firmRef, 0};
        break;
    case tableDetails:
        d = {textOf(db.details.rubricCodes), textOf(db.details.hours), db.details.length, db.details.firmRef,
             static_cast<uint32_t>(textOf(db.details.comment).size())};
        break;
    default:
        break;
    }
    return d;
}

// Every text a slot hands out ends inside the window's data or is its own copy.
void checkWindowText(const DirectoryDatabase& db, const char* text) {
    if (!text) return;
    const auto* at = reinterpret_cast<const uint8_t*>(text);
    if (at < db.window || at >= db.window + db.windowLength) broken("a window text outside the window");
    if (!std::memchr(at, 0, static_cast<size_t>(db.window + db.windowLength - at))) broken("a window text without its 0");
}

void checkSlots(const DirectoryDatabase& db, int table, uint16_t detail) {
    if (db.windowLength > db.windowCapacity) broken("more data than the window holds");
    switch (table) {
    case tableRubrics:
        checkWindowText(db, db.rubric.code);
        checkWindowText(db, db.rubric.title);
        break;
    case tableFirms:
        if (db.firm.name) {
            const auto* at = reinterpret_cast<const uint8_t*>(db.firm.name);
            if (at < db.window || at + db.firm.length > db.window + db.windowLength) broken("a firm body outside the window");
        }
        if (detail & detailBody) {
            checkWindowText(db, db.firm.name);
            checkWindowText(db, db.firm.houseSuffixText);
        }
        break;
    case tableStreets:
        checkWindowText(db, db.street.key);
        checkWindowText(db, db.street.name);
        break;
    default:
        break;
    }
}

// References found while scanning, followed afterwards.
struct Followed {
    uint32_t refs[ydb::tableCount][maxReferencesFollowed];
    int count[ydb::tableCount] = {};
    void add(int table, uint32_t ref) {
        if (count[table] < maxReferencesFollowed) refs[table][count[table]++] = ref;
    }
};

void noteReferences(const DirectoryDatabase& db, int table, uint16_t detail, Followed& followed) {
    switch (table) {
    case tableRubrics:
        followed.add(tableRubricFirms, db.rubric.firmListRef);
        break;
    case tablePrefixes:
        followed.add(tableFirms, db.prefix.firmRef);
        break;
    case tableRubricFirms:
        for (uint32_t i = 0; i < db.rubricFirms.count && i < 4; ++i) followed.add(tableFirms, db.rubricFirms.firmRefs[i]);
        break;
    case tableFirms:
        if (detail & detailBody) {
            followed.add(tableStreets, db.firm.streetRef);
            followed.add(tableDetails, db.firm.detailsRef);
        }
        break;
    case tableStreets:
        followed.add(tableStreetFirms, db.street.firmListRef);
        break;
    case tablePhones:
        followed.add(tableFirms, db.phoneEntry.firmRef);
        break;
    case tableDetails:
        followed.add(tableFirms, db.details.firmRef);
        break;
    default:
        break;
    }
}

void scanTable(DirectoryDatabase& db, int table, uint16_t detail, Followed& followed) {
    // Rewinding after a failure: lastError then refuses seekTable, so the first read enters at 0.
    const bool rewound = seekTable(db, table, 0, false, noCap) == 0;
    uint32_t ref = rewound ? tableOffset(db, table) : 0;
    if (ref != 0) broken("a rewound table is not at its first record");
    int32_t r = readRecord(db, table, rewound ? readNext : 0, detail, noCap);
    for (int n = 0; r == 0 && n < maxRecordsPerScan; ++n) {
        checkSlots(db, table, detail);
        const Decoded viaNext = decoded(db, table);
        noteReferences(db, table, detail, followed);
        const uint32_t next = tableOffset(db, table);
        if (next <= ref) broken("NEXT did not advance");
        // The same record entered at its reference decodes the same.
        if (n < maxReferencesFollowed) {
            if (readRecord(db, table, ref, detail, noCap) != 0) broken("a record read by NEXT fails at its reference");
            if (!(decoded(db, table) == viaNext)) broken("a record decodes differently at its reference");
            if (tableOffset(db, table) != next) broken("a record ends elsewhere at its reference");
        }
        ref = next;
        r = readRecord(db, table, readNext, detail, noCap);
    }
    if (r != 0 && r != readEndOfTable && r != errorDamagedRecord && r != errorShortFill && r != errorNoListMemory)
        broken("an unexpected reader code");
}

// Which detail flags the scans use: the firm table's and every other table's, each a range.
struct Details {
    uint16_t firstFirm, firmEnd, firstOther, otherEnd;
};
constexpr Details everyDetail{0, 8, 0, 2};

void readTables(DirectoryDatabase& db, const Details& details) {
    Followed followed;
    for (int table = 0; table < ydb::tableCount; ++table) {
        const bool firms = table == tableFirms;
        const uint16_t end = firms ? details.firmEnd : details.otherEnd;
        for (uint16_t detail = firms ? details.firstFirm : details.firstOther; detail < end; ++detail)
            scanTable(db, table, detail, followed);
    }
    for (int table = 0; table < ydb::tableCount; ++table)
        for (int i = 0; i < followed.count[table]; ++i) {
            const uint16_t detail = table == tableFirms ? 7 : 1;
            const uint32_t cap = table == tableFirms ? cardReadCap : lookupReadCap;
            // A slot is only meaningful after a successful read: after -1 it still holds an
            // earlier decode, whose window texts a later fill may have moved away.
            if (readRecord(db, table, followed.refs[table][i], detail, cap) == 0) checkSlots(db, table, detail);
            if (readRecord(db, table, readNext, detail, noCap) == 0) checkSlots(db, table, detail);
        }
}

// A window of 1024 bytes (below the floor, with nothing to reclaim) or one of 64 KB.
void useWindow(DirectoryDatabase& db, bool small) {
    releaseWindow(db);
    emu::setAvailablePhysicalMemory(small ? 4096 : 256u * 1024);
    takeMemoryReading();
}

// Opens the bytes as a database and reads them through the windows asked for.
void exercise(const uint8_t* data, size_t size, bool smallWindow, bool largeWindow, const Details& details) {
    if (!writeExerciseInput(hostFile, data, size)) return;
    const size_t blocksBefore = emu::liveLocalBlocks();
    DirectoryDatabase* db = createDatabase();
    if (!db) return;
    openDatabase(*db, devicePath);
    for (const bool small : {true, false}) {
        if (small ? !smallWindow : !largeWindow) continue;
        useWindow(*db, small);
        readTables(*db, details);
    }
    destroyDatabase(db);
    emu::clearJournal();
    if (emu::liveLocalBlocks() != blocksBefore) broken("a block was left behind");
}

} // namespace

bool prepareDatabaseExercise(const std::string& hostRoot) {
    const std::string root = exerciseDeviceRoot(hostRoot, "db-exercise");
    if (root.empty()) return false;
    hostFile = root + "/exercise.ydb";
    emu::setMessageBoxHandler([](HWND, std::u16string_view, std::u16string_view, UINT) {
        ++boxCount;
        return IDOK;
    });
    return true;
}

void exerciseDatabase(const uint8_t* data, size_t size) { exercise(data, size, true, true, everyDetail); }

void exerciseDatabaseOneWay(const uint8_t* data, size_t size) {
    const uint8_t way = exerciseWay(data, size);
    const bool small = (way & 1) == 0;
    const auto firm = static_cast<uint16_t>((way >> 1) & 7);
    const auto other = static_cast<uint16_t>((way >> 4) & 1);
    exercise(data, size, small, !small, {firm, static_cast<uint16_t>(firm + 1), other, static_cast<uint16_t>(other + 1)});
}

size_t exerciseMessageBoxes() { return boxCount; }
