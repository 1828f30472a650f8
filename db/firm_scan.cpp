#include "db/firm_scan.h"

#include "db/window_scan.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using Bytes16 = uint8_t __attribute__((vector_size(16)));

Bytes16 load16(const uint8_t* at) {
    Bytes16 value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// Bit i set where byte i of the sixteen at `at` is 0.
uint32_t zeroMask16(const uint8_t* at) {
    const auto zeros = reinterpret_cast<Bytes16>(load16(at) == 0);
#if defined(__SSE2__)
    return static_cast<uint32_t>(_mm_movemask_epi8(reinterpret_cast<__m128i>(zeros)));
#else
    uint64_t halves[2];
    std::memcpy(halves, &zeros, sizeof halves);
    uint32_t mask = 0;
    // One distinct bit per lane, gathered into the top byte by the multiplication.
    for (int h = 0; h < 2; ++h)
        mask |= static_cast<uint32_t>(((halves[h] & 0x8040201008040201ull) * 0x0101010101010101ull) >> 56) << (8 * h);
    return mask;
#endif
}

// The mask of the 0 bytes among the `length` bytes at `at` (1 to 64, read as whole blocks of
// sixteen) when there are exactly four and the last byte is the fourth, else 0: with the three
// lowest set bits cleared, the mask must be the last byte's bit alone.
uint64_t fourZerosEnding(const uint8_t* at, uint32_t length) {
    uint64_t zeros = zeroMask16(at);
    if (length > 16) zeros |= uint64_t{zeroMask16(at + 16)} << 16;
    if (length > 32) zeros |= uint64_t{zeroMask16(at + 32)} << 32;
    if (length > 48) zeros |= uint64_t{zeroMask16(at + 48)} << 48;
    const uint64_t last = uint64_t{1} << (length - 1);
    zeros &= last | (last - 1);
    uint64_t rest = zeros & (zeros - 1);
    rest &= rest - 1;
    rest &= rest - 1;
    return rest == last ? zeros : 0;
}

// The four texts of a sound record from the mask of their 0 bytes.
void placeTexts(const uint8_t* stretch, uint64_t zeros, FirmFields& fields) {
    uint32_t begin = 0;
    const char** texts[4] = {&fields.houseSuffix, &fields.web, &fields.email, &fields.phone};
    uint32_t* lengths[4] = {&fields.houseSuffixLength, &fields.webLength, &fields.emailLength, &fields.phoneLength};
    for (int k = 0; k < 4; ++k) {
        const auto end = static_cast<uint32_t>(__builtin_ctzll(zeros));
        zeros &= zeros - 1;
        *texts[k] = reinterpret_cast<const char*>(stretch + begin);
        *lengths[k] = end - begin;
        begin = end + 1;
    }
}

// The name of a sound record, and the proof that the field walk would end exactly at the body's
// end: after the name and the two numbers, the four texts take the rest but the details
// reference, so that stretch holds exactly four 0 bytes and ends with one. Any other record (or
// one whose name runs past its body) is left to the full walk.
bool walkSoundRecord(const DirectoryDatabase& db, uint32_t start, FirmTexts wanted, FirmFields& fields,
                     uint32_t* next) {
    if (db.windowLength - start < 2) return false;
    const uint16_t length = ydb::loadU16(db.window + start);
    if (length > db.windowLength - start - 2) return false;
    const uint8_t* body = db.window + start + 2;
    const void* nameEnd = std::memchr(body, 0, length);
    if (!nameEnd) return false;
    const auto nameLength = static_cast<uint32_t>(static_cast<const uint8_t*>(nameEnd) - body);
    const uint32_t texts = nameLength + 1 + 8;
    if (length < texts + 4 + 4) return false;
    const uint32_t textsLength = length - 4 - texts;
    const uint8_t* stretch = body + texts;
    // One mask covers up to 64 bytes, read in blocks that must lie in the window's memory; longer
    // stretches (rare: a sound record's take some 20 to 160 bytes) get the full walk.
    const uint32_t blocksEnd = start + 2 + texts + (textsLength + 15) / 16 * 16;
    if (textsLength > 64 || blocksEnd > db.windowCapacity) return false;
    const uint64_t zeros = fourZerosEnding(stretch, textsLength);
    if (zeros == 0) return false;
    if (wanted == firmAllFields) {
        placeTexts(stretch, zeros, fields);
        fields.streetRef = ydb::loadU32(body + nameLength + 1);
        fields.house = ydb::loadU32(body + nameLength + 5);
        fields.detailsRef = ydb::loadU32(body + length - 4);
    }
    fields.bodyLength = length;
    fields.name = reinterpret_cast<const char*>(body);
    fields.nameLength = nameLength;
    *next = start + 2 + length;
    return true;
}

bool walkInWindow(const DirectoryDatabase& db, uint32_t start, FirmFields& fields, uint32_t* next) {
    return walkWholeRecord(db, start, fields, walkFirmBody, next);
}

} // namespace

int32_t scanFirmTexts(DirectoryDatabase& db, uint32_t endRef, FirmTexts wanted, FirmTest test, void* context,
                      uint32_t* ref) {
    FirmFields fields;
    uint32_t next = 0;
    return scanWindow(
        db, tableFirms, detailBody | detailTextsInPlace, endRef, fields,
        [&](uint32_t start, FirmFields& f, uint32_t* after) {
            return walkSoundRecord(db, start, wanted, f, after) || walkInWindow(db, start, f, after);
        },
        [&](uint32_t start, FirmFields& f) { return walkInWindow(db, start, f, &next); },
        [&](const FirmFields& f) { return test(f, context); }, ref);
}
