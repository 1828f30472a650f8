// The two fetches of a firm read that go past the window, straight from the file into the scratch
// buffer: the street's name and the details record.
#include <cstring>

#include "db/database_program.h"
#include "db/record_decoding.h"
#include "db/text_fields.h"

namespace {

constexpr uint32_t streetFetchSize = 256;
constexpr uint32_t detailsTextEnd = scratchCapacity - 1;  // byte 8191 is always a 0
constexpr uint32_t hoursFetchMax = 255;
constexpr uint32_t commentFetchMax = 7933;

// Reads up to `size` bytes at an absolute offset into the scratch buffer. The bytes after those that
// arrived, up to and including byte `size`, are set to 0, so that no text of this fetch runs into what an earlier one left there.
bool readScratch(const DirectoryDatabase& db, uint32_t at, uint32_t size) {
    LONG high = 0;
    if (SetFilePointer(db.file, static_cast<LONG>(at), &high, FILE_BEGIN) != at || high != 0) return false;
    DWORD got = 0;
    if (!ReadFile(db.file, databaseProgram.scratch, size, &got, nullptr)) return false;
    if (got > size) got = size;
    std::memset(databaseProgram.scratch + got, 0, size + 1 - got);
    return true;
}

} // namespace

void fetchStreetName(DirectoryDatabase& db) {
    Firm& firm = db.firm;
    const uint32_t begin = tableStart(db, ydb::tableStreets);
    if (firm.streetRef >= tableStart(db, ydb::tableStreetFirms) - begin) return;
    if (!readScratch(db, begin + firm.streetRef, streetFetchSize)) return;

    const char* record = databaseProgram.scratch;
    // The key's 0 byte, searched within the record's length and within what was read.
    uint32_t last = static_cast<uint32_t>(ydb::loadU16(record)) + 1;
    if (last > streetFetchSize - 1) last = streetFetchSize - 1;
    for (uint32_t i = ydb::recordLengthSize; i <= last; ++i) {
        if (record[i] != 0) continue;
        firm.streetNameText = record + i + 1;
        convertText(firm.streetNameText, std::strlen(firm.streetNameText), firm.streetName);
        return;
    }
}

void fetchDetails(DirectoryDatabase& db) {
    FirmDetails& details = db.details;
    const uint32_t begin = tableStart(db, ydb::tableDetails);
    if (db.firm.detailsRef >= tableStart(db, ydb::resourceArea) - begin) return;
    if (!readScratch(db, begin + db.firm.detailsRef, scratchCapacity)) return;

    char* record = databaseProgram.scratch;
    record[detailsTextEnd] = 0;
    details.length = ydb::loadU16(record);
    details.firmRef = ydb::loadU32(record + ydb::detailsFirmRefOffset);

    // Every text below ends by byte 8191 at the latest, and p never passes 8192.
    uint32_t p = ydb::detailsPhonesOffset;
    size_t n = std::strlen(record + p);
    convertText(record + p, n, details.phones);
    p += static_cast<uint32_t>(n) + 1;
    n = std::strlen(record + p);
    convertText(record + p, n, details.namePrefix);
    p += static_cast<uint32_t>(n) + 1;

    if (p < scratchCapacity) {
        n = std::strlen(record + p);
        if (n > 0) details.rubricCodes = copyOwnedText(record + p, n);
        p += static_cast<uint32_t>(n) + 1;
    }
    if (p < scratchCapacity) {
        n = std::strlen(record + p);
        if (n >= 1 && n <= hoursFetchMax && p + n < scratchCapacity) details.hours = copyOwnedText(record + p, n);
        p += static_cast<uint32_t>(n) + 1;
    }
    if (p < scratchCapacity) {
        n = std::strlen(record + p);
        if (n >= 1 && n <= commentFetchMax && p + n < scratchCapacity)
            details.comment = copyOwnedText(record + p, n);
    }
}
