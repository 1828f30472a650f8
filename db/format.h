// The on-disk layout of a directory database (".ydb"), shared by the reader (db/) and the writer
// (tools/writer/). Every offset and size of the file is named here and nowhere else.
//
// Little-endian, unaligned, no padding. Texts are code page 1251, NUL-terminated, no length prefix.
// A reference is a byte offset from the first byte of the table it points into.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace ydb {

// --- Header: the first 256 bytes of the file -------------------------------------------------------
constexpr uint32_t headerSize = 256;
constexpr uint32_t magicOffset = 0;
constexpr uint32_t magicSize = 6;
constexpr char magic[magicSize] = {'Y', 'E', 'L', 'D', 'B', '\0'};
constexpr uint32_t tableStartOffset = 16;   // nine 32-bit absolute offsets
constexpr uint32_t tableStartCount = 9;     // tables 0..7, then the start of the resource area
constexpr uint32_t rubricCountOffset = 52;
constexpr uint32_t prefixCountOffset = 56;
constexpr uint32_t streetCountOffset = 68;
constexpr uint32_t phoneCountOffset = 76;
constexpr uint32_t cityLetterOffset = 84;
constexpr uint32_t titleOffset = 116;
constexpr uint32_t titleSize = 81;          // at most 80 characters and the 0 byte
constexpr uint32_t titleMaxLength = titleSize - 1;

// The city letter М (code page 1251) that selects the second set of information pages.
constexpr uint8_t cityLetterMoscow = 0xCC;

// --- Tables ------------------------------------------------------------------------------------------
constexpr int tableRubrics = 0;        // RubricRecord: code, title, flags, firmListRef
constexpr int tablePrefixes = 1;       // PrefixEntry, fixed size
constexpr int tableRubricFirms = 2;    // rubric firm lists: 32-bit byte count + refs
constexpr int tableFirms = 3;          // Firm: 16-bit length + body
constexpr int tableStreets = 4;        // Street: 16-bit length + body
constexpr int tableStreetFirms = 5;    // street firm lists: 16-bit byte count + refs
constexpr int tablePhones = 6;         // PhoneEntry, fixed size
constexpr int tableDetails = 7;        // FirmDetails: 16-bit length + body
constexpr int tableCount = 8;
constexpr int resourceArea = 8;        // index into tableStart of the resource area's start

// Rubric flags.
constexpr uint8_t rubricInPickerTree = 1;   // shown in the tile's and the favourites' tree
constexpr uint8_t rubricInFullTree = 2;     // shown in the yellow pages
constexpr uint32_t noFirmList = 0xFFFFFFFF; // a rubric that is a pure heading

// Name-prefix index entry.
constexpr uint32_t prefixEntrySize = 10;
constexpr uint32_t prefixFieldSize = 6;     // up to 5 characters, 0-padded
constexpr uint32_t prefixMaxLength = 5;
constexpr uint32_t prefixFirmRefOffset = 6;

// Telephone index entry.
constexpr uint32_t phoneEntrySize = 8;
constexpr uint32_t phoneNumberOffset = 0;
constexpr uint32_t phoneFirmRefOffset = 4;

// Sizes of the counts and lengths that open records.
constexpr uint32_t recordLengthSize = 2;        // tables 3, 4 and 7
constexpr uint32_t rubricListCountSize = 4;     // table 2
constexpr uint32_t streetListCountSize = 2;     // table 5
constexpr uint32_t refSize = 4;
constexpr uint32_t maxRecordBody = 0xFFFF;      // what a 16-bit length can count
constexpr uint32_t maxStreetListBytes = 0xFFFF; // what table 5's 16-bit count can count

// Field limits (characters, without the 0 byte) that the reader and the screens apply.
constexpr uint32_t houseSuffixMax = 11;
constexpr uint32_t webMax = 63;
constexpr uint32_t emailMax = 63;
constexpr uint32_t phoneMax = 15;
constexpr uint32_t streetKeyMax = 3;
constexpr uint32_t streetNameMax = 39;
constexpr uint32_t phonesMax = 1023;
constexpr uint32_t namePrefixMax = 31;
constexpr uint32_t rubricCodesMax = 4095;
constexpr uint32_t hoursMax = 511;
constexpr uint32_t commentMax = 32767;

// Details record: offsets inside the record, counted from its length field.
constexpr uint32_t detailsFirmRefOffset = 2;
constexpr uint32_t detailsPhonesOffset = 6;

// --- Resource area: a chain of chunks from tableStart[8] to the end of the file ------------------
constexpr uint32_t chunkHeaderSize = 14;
constexpr uint32_t chunkTagOffset = 0;
constexpr uint32_t chunkSizeOffset = 2;
constexpr uint32_t chunkBitsOffset = 10;    // "BM": offset of the pixel bits from the chunk start
constexpr char chunkTagPicture[2] = {'B', 'M'};
constexpr char chunkTagHelp[2] = {'H', 'T'};

// --- Little-endian access; callers bound every access by the data they hold -----------------------
inline uint16_t loadU16(const void* at) {
    const auto* b = static_cast<const uint8_t*>(at);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}
inline uint32_t loadU32(const void* at) {
    const auto* b = static_cast<const uint8_t*>(at);
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
           (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}
inline void storeU16(void* at, uint16_t value) {
    auto* b = static_cast<uint8_t*>(at);
    b[0] = static_cast<uint8_t>(value);
    b[1] = static_cast<uint8_t>(value >> 8);
}
inline void storeU32(void* at, uint32_t value) {
    auto* b = static_cast<uint8_t*>(at);
    for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(value >> (8 * i));
}

inline bool hasMagic(const void* header) { return std::memcmp(header, magic, magicSize) == 0; }

} // namespace ydb
