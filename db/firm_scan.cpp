#include "db/firm_scan.h"

#include "db/record_masks.h"
#include "db/window_scan.h"

namespace {

enum SoundWalk { notSound, walked, passedOver };

// A sound record is one whose field walk ends exactly at its body's end: after the name and the
// two numbers, the four texts take the rest but the details reference, so that stretch holds
// exactly four 0 bytes and ends with one. Such a record is read from the window's masks, and one
// whose texts hold none of the filter's bytes is passed over without placing them. Any other
// record (one whose name runs past its body, a long one, one near the window's end) is left to
// the full walk.
// `wanted` and the filter's place are template arguments: a million records make the same choices.
template <FirmTexts wanted, FilterTexts where>
SoundWalk walkSoundRecord(const DirectoryDatabase& db, WindowMasks& masks, uint32_t start, const ByteSet& filter,
                          FirmFields& fields, uint32_t* next) {
    if (db.windowLength - start < 2) return notSound;
    const uint16_t length = ydb::loadU16(db.window + start);
    if (length > db.windowLength - start - 2) return notSound;
    if (!maskedThrough(masks, db.window, db.windowLength, filter, start, start + 2 + length)) return notSound;
    const uint32_t body = start + 2 - masks.base;
    const uint64_t nameZeros = bitsAt(masks.zeros, body);
    if (nameZeros == 0) return notSound;
    const auto nameLength = static_cast<uint32_t>(__builtin_ctzll(nameZeros));
    const uint32_t texts = nameLength + 1 + 8;
    if (nameLength >= length || length < texts + 4 + 4 || length - 4 - texts > 64) return notSound;
    const uint32_t stretch = length - 4 - texts;
    // Most records fit one mask word, the name's: the stretch is then read from it.
    const uint64_t zeros =
        (length - 4 <= 64 ? nameZeros >> texts : bitsAt(masks.zeros, body + texts)) & lowBits(stretch);
    // Exactly four 0 bytes, the last on the stretch's last byte: with the three lowest cleared,
    // the last byte's bit is left alone.
    uint64_t rest = zeros & (zeros - 1);
    rest &= rest - 1;
    rest &= rest - 1;
    if (rest != uint64_t{1} << (stretch - 1)) return notSound;
    *next = start + 2 + length;

    // The name is looked at before the other texts are placed.
    const bool filtered = filter.count > 0;
    if (where == filterName && filtered && (bitsAt(masks.chosen, body) & lowBits(nameLength)) == 0)
        return passedOver;
    uint32_t ends[4];
    uint64_t left = zeros;
    for (uint32_t& end : ends) {
        end = static_cast<uint32_t>(__builtin_ctzll(left));
        left &= left - 1;
    }
    if (where == filterWebAndEmail && filtered) {
        // The web address and e-mail with the 0 between them (never a chosen byte).
        const uint32_t from = body + texts + ends[0] + 1;
        if ((bitsAt(masks.chosen, from) & lowBits(ends[2] - ends[0] - 1)) == 0) return passedOver;
    }

    const uint8_t* bytes = db.window + start + 2;
    fields.bodyLength = length;
    fields.name = reinterpret_cast<const char*>(bytes);
    fields.nameLength = nameLength;
    if constexpr (wanted == firmAllFields) {
        const char** textsOf[4] = {&fields.houseSuffix, &fields.web, &fields.email, &fields.phone};
        uint32_t* lengths[4] = {&fields.houseSuffixLength, &fields.webLength, &fields.emailLength, &fields.phoneLength};
        uint32_t begin = 0;
        for (int k = 0; k < 4; ++k) {
            *textsOf[k] = reinterpret_cast<const char*>(bytes + texts + begin);
            *lengths[k] = ends[k] - begin;
            begin = ends[k] + 1;
        }
        fields.streetRef = ydb::loadU32(bytes + nameLength + 1);
        fields.house = ydb::loadU32(bytes + nameLength + 5);
        fields.detailsRef = ydb::loadU32(bytes + length - 4);
    }
    return walked;
}

bool walkInWindow(const DirectoryDatabase& db, uint32_t start, FirmFields& fields, uint32_t* next) {
    return walkWholeRecord(db, start, fields, walkFirmBody, next);
}

template <FirmTexts wanted, FilterTexts where>
int32_t scanWith(DirectoryDatabase& db, uint32_t endRef, const ByteSet& filter, FirmTest test, void* context,
                 uint32_t* ref) {
    FirmFields fields;
    uint32_t next = 0;
    bool testIt = true;
    WindowMasks masks;
    return scanWindow(
        db, tableFirms, detailBody | detailTextsInPlace, endRef, fields,
        [&](uint32_t start, FirmFields& f, uint32_t* after) {
            const SoundWalk walk = walkSoundRecord<wanted, where>(db, masks, start, filter, f, after);
            testIt = walk != passedOver;
            return walk != notSound || walkInWindow(db, start, f, after);
        },
        [&](uint32_t start, FirmFields& f) {
            // The read may have filled the window anew: the masks are of what it held before.
            masks.length = 0;
            testIt = true;
            return walkInWindow(db, start, f, &next);
        },
        [&](const FirmFields& f) { return testIt && test(f, context); }, ref);
}

} // namespace

int32_t scanFirmTexts(DirectoryDatabase& db, uint32_t endRef, FirmTexts wanted, const FirmFilter& filter,
                      FirmTest test, void* context, uint32_t* ref) {
    const bool name = filter.where == filterName;
    if (wanted == firmNameOnly)
        return name ? scanWith<firmNameOnly, filterName>(db, endRef, filter.bytes, test, context, ref)
                    : scanWith<firmNameOnly, filterWebAndEmail>(db, endRef, filter.bytes, test, context, ref);
    return name ? scanWith<firmAllFields, filterName>(db, endRef, filter.bytes, test, context, ref)
                : scanWith<firmAllFields, filterWebAndEmail>(db, endRef, filter.bytes, test, context, ref);
}
