// An open directory database: the file, a copy of its header, the read window through which every
// table record is decoded, and one slot per table holding the record decoded last.
//
// Reading works record by record on one object:
//   seekTable(db, tableFirms, 0, false, noCap);             // rewind
//   uint32_t ref = tableOffset(db, tableFirms);             // identity of the record about to be read
//   while (readRecord(db, tableFirms, readNext, detailBody, noCap) == 0) { use db.firm; ref = ...; }
//   readRecord(db, tableFirms, ref, detailBody | detailStreet | detailDetails, cardReadCap);
// A slot is overwritten by the next decode of its table; window texts (const char* into the window)
// become invalid at the next fill or release of the window, so copy what you keep.
//
// Results are 32-bit signed: 0 decoded, -1 end of table, and the failures below. Failures of the
// file and of memory keep the platform's error number in lastError.
#pragma once

#include <cstdint>

#include "db/format.h"
#include "win32.h"

using ydb::tableDetails;
using ydb::tableFirms;
using ydb::tablePhones;
using ydb::tablePrefixes;
using ydb::tableRubricFirms;
using ydb::tableRubrics;
using ydb::tableStreetFirms;
using ydb::tableStreets;

// Reader codes.
constexpr int32_t readOk = 0;
constexpr int32_t readEndOfTable = -1;
constexpr int32_t errorBoundaryBeyondFile = -100;  // tableStart[8] lies beyond the end of the file
constexpr int32_t errorBoundaryOrder = -101;       // the table boundaries decrease somewhere
constexpr int32_t errorNoWindow = -102;            // no read window could be obtained
constexpr int32_t errorSeek = -103;                // positioning in the file failed during a fill
constexpr int32_t errorRead = -104;                // reading from the file failed during a fill
constexpr int32_t errorDamagedRecord = -107;       // a record did not fit even after a forced re-read
constexpr int32_t errorFillRefused = -108;         // seekTable while lastError is set
constexpr int32_t errorNoListMemory = -110;        // no memory for a firm-reference list
constexpr int32_t errorShortFill = -111;           // after a fill, the record's start lies beyond the data

// readRecord's offset for "the record after the one read last".
constexpr uint32_t readNext = 0xFFFFFFFF;
// maxBytes for "no cap" (scans).
constexpr uint32_t noCap = 0xFFFFFFFF;
// maxBytes of a firm read with its details (business card, telephone search).
constexpr uint32_t cardReadCap = 10240;
// maxBytes of the business card's rubric look-ups.
constexpr uint32_t lookupReadCap = 4096;

// Detail flags of readRecord.
constexpr uint16_t detailBody = 1;     // table 3: decode the firm's body (else only length and name)
constexpr uint16_t detailStreet = 2;   // table 3, with detailBody: fetch the street's name
constexpr uint16_t detailDetails = 4;  // table 3, with detailBody: fetch the details record
constexpr uint16_t detailList = 1;     // table 5: load the list into firmRefs (else skip it)
// Table 3, with detailBody: walk the body exactly as detailBody does but leave the UTF-16 fields
// empty. For scans that test texts in place (a name search reads a million firms).
constexpr uint16_t detailTextsInPlace = 0x100;

// The details fetch of a firm read reads this much of the details record, into the scratch buffer.
constexpr uint32_t scratchCapacity = 8192;
// Below this much free physical memory the window asks other applications to close first.
constexpr uint32_t windowMemoryFloor = 4120576;

struct RubricRecord {
    const char* code = nullptr;   // window text
    const char* title = nullptr;  // window text
    uint32_t flags = 0;           // ydb::rubricInPickerTree, ydb::rubricInFullTree
    uint32_t firmListRef = 0;     // into table 2, or ydb::noFirmList
};

struct PrefixEntry {
    char prefix[ydb::prefixFieldSize] = {};  // up to 5 characters, 0-filled
    uint32_t firmRef = 0;
};

// A firm-reference list: table 2 (32-bit count) and table 5 (16-bit count) share this slot shape.
struct FirmRefList {
    uint32_t byteCount = 0;
    uint32_t* firmRefs = nullptr;  // owned (LocalAlloc), `count` entries, or none
    uint32_t count = 0;
};

struct Firm {
    uint16_t length = 0;
    // Window text: the record body's first byte. Read without detailBody it is not checked for a
    // terminating 0 within the record: bound it by `length`.
    const char* name = nullptr;
    uint32_t streetRef = 0;
    uint32_t house = 0;
    WCHAR houseSuffix[ydb::houseSuffixMax + 1] = {};
    WCHAR web[ydb::webMax + 1] = {};
    WCHAR email[ydb::emailMax + 1] = {};
    WCHAR phone[ydb::phoneMax + 1] = {};
    uint32_t detailsRef = 0;
    WCHAR streetName[48] = {};
    const char* streetNameText = nullptr;   // scratch text, until the next direct fetch
    const char* houseSuffixText = nullptr;  // window text
};

struct Street {
    uint16_t length = 0;
    const char* key = nullptr;   // window text
    const char* name = nullptr;  // window text
    uint32_t firmListRef = 0;    // into table 5
};

struct PhoneEntry {
    uint32_t number = 0;
    uint32_t firmRef = 0;
};

struct FirmDetails {
    uint16_t length = 0;
    uint32_t firmRef = 0;
    WCHAR phones[ydb::phonesMax + 1] = {};
    WCHAR namePrefix[ydb::namePrefixMax + 1] = {};
    char* rubricCodes = nullptr;  // owned code page 1251 texts (LocalAlloc), or none
    char* hours = nullptr;
    char* comment = nullptr;
};

struct DirectoryDatabase {
    HANDLE file = INVALID_HANDLE_VALUE;
    int32_t lastError = 0;
    uint8_t header[ydb::headerSize] = {};
    const char* title = nullptr;  // inside header, or none

    // The read window: windowLength bytes of the file from windowStart, decoded at cursor.
    uint32_t windowCapacity = 0;
    uint32_t windowStart = 0;
    uint32_t windowLast = 0;
    uint32_t windowLength = 0;
    uint32_t cursor = 0;
    uint8_t* window = nullptr;  // owned (LocalAlloc) block of windowCapacity bytes, or none

    // The record slots, one per table.
    RubricRecord rubric;        // table 0
    PrefixEntry prefix;         // table 1
    FirmRefList rubricFirms;    // table 2
    Firm firm;                  // table 3
    Street street;              // table 4
    FirmRefList streetFirms;    // table 5
    PhoneEntry phoneEntry;      // table 6
    FirmDetails details;        // table 7
};

// --- The header, read in place --------------------------------------------------------------------
inline uint32_t tableStart(const DirectoryDatabase& db, int k) {
    return ydb::loadU32(db.header + ydb::tableStartOffset + 4 * k);
}
inline uint32_t tableLength(const DirectoryDatabase& db, int table) {
    return tableStart(db, table + 1) - tableStart(db, table);
}
inline uint32_t rubricCount(const DirectoryDatabase& db) { return ydb::loadU32(db.header + ydb::rubricCountOffset); }
inline uint32_t prefixCount(const DirectoryDatabase& db) { return ydb::loadU32(db.header + ydb::prefixCountOffset); }
inline uint32_t streetCount(const DirectoryDatabase& db) { return ydb::loadU32(db.header + ydb::streetCountOffset); }
inline uint32_t phoneCount(const DirectoryDatabase& db) { return ydb::loadU32(db.header + ydb::phoneCountOffset); }
inline uint8_t cityLetter(const DirectoryDatabase& db) { return db.header[ydb::cityLetterOffset]; }

// --- Life of the object ---------------------------------------------------------------------------
// A new, cleared object, or none when memory is refused. Pair with destroyDatabase.
DirectoryDatabase* createDatabase();
// closeDatabase, then frees the object. Accepts none.
void destroyDatabase(DirectoryDatabase* db);

// Opens and validates the file at a device path (on a fresh object). Returns lastError: 0 also for
// a file that is too short or has another magic (it then has no header and no title); -100, -101
// or the platform's error number when the file cannot be opened (each shown as the damaged-file
// message). The caller closes the object whatever the result.
int32_t openDatabase(DirectoryDatabase& db, LPCWSTR path);
// Closes the file and frees the window, the firm-reference lists and the details texts.
void closeDatabase(DirectoryDatabase& db);

// Makes sure a read window exists, sized from the program's memory reading (see database_program.h).
// On failure the out-of-memory message is shown and lastError holds the platform's error number.
void acquireWindow(DirectoryDatabase& db);
// Gives the window's memory back (when the program goes to the background); the next read builds a
// new one.
void releaseWindow(DirectoryDatabase& db);

// "Файл базы данных поврежден !?" / "ОШИБКА"; the bitmap loader uses it for pictures it cannot read.
void reportDamaged(const DirectoryDatabase& db);

// --- Reading --------------------------------------------------------------------------------------
// Positions the window on `offset` of `table`, filling it from the file when the position is not in
// it (always when `force`), with at most maxBytes. 0, -103, -104, or -108 while lastError is set.
// Shows nothing: its callers report.
int32_t seekTable(DirectoryDatabase& db, int table, uint32_t offset, bool force, uint32_t maxBytes);
// The cursor as an offset into `table`: before a NEXT read, the reference of the record it decodes.
uint32_t tableOffset(const DirectoryDatabase& db, int table);
// Decodes the record of `table` at `offset` (or readNext) into the table's slot.
// 0, -1 at the end of the table, or -102, -103, -104, -107, -110, -111.
int32_t readRecord(DirectoryDatabase& db, int table, uint32_t offset, uint16_t detail, uint32_t maxBytes);
