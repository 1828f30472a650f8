// The two fetches of a firm read that go past the window, straight from the file into the scratch
// buffer: the street's name and the details record.
//
// The scratch buffer still holds whatever an earlier fetch or open left in it, so every text of a
// fetch ends at the bytes this fetch read: nothing beyond them is ever looked at.
#include <cstring>

#include "db/database_program.h"
#include "db/record_decoding.h"
#include "db/text_fields.h"

namespace {

constexpr uint32_t streetFetchSize = 256;
constexpr uint32_t detailsTextEnd = scratchCapacity - 1;  // byte 8191 is always a 0
constexpr uint32_t hoursFetchMax = 255;
constexpr uint32_t commentFetchMax = 7933;

// Reads up to `size` bytes (at most scratchCapacity) at an absolute file offset into the scratch
// buffer and puts a 0 byte after those that arrived. False when positioning or reading failed.
bool readScratch(const DirectoryDatabase& db, uint32_t at, uint32_t size, uint32_t& got) {
    LONG high = 0;
    if (SetFilePointer(db.file, static_cast<LONG>(at), &high, FILE_BEGIN) != at || high != 0) return false;
    DWORD read = 0;
    if (!ReadFile(db.file, databaseProgram.scratch, size, &read, nullptr)) return false;
    got = read < size ? read : size;
    databaseProgram.scratch[got] = 0;
    return true;
}

// A text of the bytes read: from `at`, up to its 0 byte or to `end`, whichever comes first. Empty
// when `at` is at or beyond `end`.
struct ScratchText {
    const char* text;
    uint32_t length;
};

ScratchText textAt(const char* data, uint32_t at, uint32_t end) {
    if (at >= end) return {"", 0};
    const void* zero = std::memchr(data + at, 0, end - at);
    const uint32_t stop = zero ? static_cast<uint32_t>(static_cast<const char*>(zero) - data) : end;
    return {data + at, stop - at};
}

} // namespace

void fetchStreetName(DirectoryDatabase& db) {
    Firm& firm = db.firm;
    const uint32_t begin = tableStart(db, ydb::tableStreets);
    if (firm.streetRef >= tableStart(db, ydb::tableStreetFirms) - begin) return;
    uint32_t got = 0;
    if (!readScratch(db, begin + firm.streetRef, streetFetchSize, got) || got < ydb::recordLengthSize) return;

    const char* record = databaseProgram.scratch;
    // The key's 0 byte, searched from position 2 up to position m + 1 (m the record's length), and
    // only among the bytes read.
    uint32_t last = static_cast<uint32_t>(ydb::loadU16(record)) + 1;
    if (last > got - 1) last = got - 1;
    for (uint32_t i = ydb::recordLengthSize; i <= last; ++i) {
        if (record[i] != 0) continue;
        const ScratchText name = textAt(record, i + 1, got);
        // The 0 put after the bytes read ends the name at the latest.
        firm.streetNameText = name.text;
        convertText(name.text, name.length, firm.streetName);
        return;
    }
}

void fetchDetails(DirectoryDatabase& db) {
    FirmDetails& details = db.details;
    const uint32_t begin = tableStart(db, ydb::tableDetails);
    if (db.firm.detailsRef >= tableStart(db, ydb::resourceArea) - begin) return;
    uint32_t got = 0;
    if (!readScratch(db, begin + db.firm.detailsRef, scratchCapacity, got)) return;

    char* record = databaseProgram.scratch;
    record[detailsTextEnd] = 0;
    // Texts end at byte 8191 or at the end of the bytes read, whichever comes first.
    const uint32_t end = got < detailsTextEnd ? got : detailsTextEnd;
    uint8_t head[ydb::detailsPhonesOffset] = {};
    std::memcpy(head, record, got < sizeof head ? got : sizeof head);
    details.length = ydb::loadU16(head);
    details.firmRef = ydb::loadU32(head + ydb::detailsFirmRefOffset);

    uint32_t p = ydb::detailsPhonesOffset;
    ScratchText text = textAt(record, p, end);
    convertText(text.text, text.length, details.phones);
    p += text.length + 1;
    text = textAt(record, p, end);
    convertText(text.text, text.length, details.namePrefix);
    p += text.length + 1;

    if (p < scratchCapacity) {
        text = textAt(record, p, end);
        if (text.length > 0) details.rubricCodes = copyOwnedText(text.text, text.length);
        p += text.length + 1;
    }
    if (p < scratchCapacity) {
        text = textAt(record, p, end);
        if (text.length >= 1 && text.length <= hoursFetchMax && p + text.length < scratchCapacity)
            details.hours = copyOwnedText(text.text, text.length);
        p += text.length + 1;
    }
    if (p < scratchCapacity) {
        text = textAt(record, p, end);
        if (text.length >= 1 && text.length <= commentFetchMax && p + text.length < scratchCapacity)
            details.comment = copyOwnedText(text.text, text.length);
    }
}
