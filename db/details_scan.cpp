#include "db/details_scan.h"

#include "db/record_masks.h"
#include "db/window_scan.h"

namespace {

struct LongText {
    const char** text;
    uint32_t length;
    uint32_t limit;
};

// The long texts the details slot would not hold (empty, or over their limits) become none;
// true when one was over its limit, whose decode shows a message.
bool dropUnheldTexts(DetailsFields& fields) {
    const LongText texts[] = {{&fields.rubricCodes, fields.rubricCodesLength, ydb::rubricCodesMax},
                              {&fields.hours, fields.hoursLength, ydb::hoursMax},
                              {&fields.comment, fields.commentLength, ydb::commentMax}};
    bool over = false;
    for (const LongText& t : texts) {
        if (!*t.text) continue;
        over |= t.length > t.limit;
        if (t.length == 0 || t.length > t.limit) *t.text = nullptr;
    }
    return over;
}

bool walkDetails(const DirectoryDatabase& db, uint32_t start, DetailsFields& fields, uint32_t* next) {
    return walkWholeRecord(db, start, fields, walkDetailsBody, next);
}

enum SoundWalk { notSound, walked, passedOver };

// As the firm scan's: a sound record's five texts take the whole body after the firm reference,
// so that stretch holds exactly five 0 bytes and ends with one. Its texts are read from the
// window's masks; one whose comment holds none of `commentBytes` is passed over. Records longer
// than the masks' span, or near the window's end, take the field walk.
// The five 0 bytes of a sound record's stretch window[from, from + stretch) (masked) into `ends`:
// false unless it holds exactly five and the last is its last byte. Most stretches are read from
// two mask words at once.
bool findTextEnds(const WindowMasks& masks, uint32_t from, uint32_t stretch, uint32_t (&ends)[5]) {
    if (stretch <= 64) {
        // With the four lowest cleared, exactly the last byte's bit is left.
        const uint64_t zeros = bitsAt(masks.zeros, from) & lowBits(stretch);
        uint64_t rest = zeros & (zeros - 1);
        rest &= rest - 1;
        rest &= rest - 1;
        rest &= rest - 1;
        if (rest != uint64_t{1} << (stretch - 1)) return false;
        uint64_t left = zeros;
        for (uint32_t& end : ends) {
            end = from + static_cast<uint32_t>(__builtin_ctzll(left));
            left &= left - 1;
        }
        return true;
    }
    if (stretch <= 128) {
        const uint64_t words[2] = {bitsAt(masks.zeros, from) & lowBits(stretch),
                                   stretch > 64 ? bitsAt(masks.zeros, from + 64) & lowBits(stretch - 64) : 0};
        int k = 0;
        for (uint32_t w = 0; w < 2; ++w) {
            for (uint64_t bits = words[w]; bits; bits &= bits - 1) {
                if (k == 5) return false;
                ends[k++] = from + 64 * w + static_cast<uint32_t>(__builtin_ctzll(bits));
            }
        }
        return k == 5 && ends[4] == from + stretch - 1;
    }
    uint32_t at = from;
    for (uint32_t& end : ends) {
        end = nextBit(masks.zeros, at, from + stretch);
        if (end == from + stretch) return false;
        at = end + 1;
    }
    return ends[4] == from + stretch - 1;
}

// As the firm scan's: a sound record's five texts take the whole body after the firm reference,
// so that stretch holds exactly five 0 bytes and ends with one. Its texts are read from the
// window's masks; one whose comment holds none of `commentBytes` is passed over. Records longer
// than the masks' span, or near the window's end, take the field walk.
SoundWalk walkSoundRecord(const DirectoryDatabase& db, WindowMasks& masks, uint32_t start,
                          const ByteSet& commentBytes, DetailsFields& fields, uint32_t* next) {
    if (db.windowLength - start < 2) return notSound;
    const uint16_t length = ydb::loadU16(db.window + start);
    if (length > db.windowLength - start - 2 || length < 4 + 5) return notSound;
    if (!maskedThrough(masks, db.window, db.windowLength, commentBytes, start, start + 2 + length)) return notSound;
    const uint32_t body = start + 2 - masks.base;
    uint32_t ends[5];
    if (!findTextEnds(masks, body + 4, length - 4, ends)) return notSound;
    // A text over its limit shows a message: readRecord shows it.
    if (ends[2] - ends[1] - 1 > ydb::rubricCodesMax || ends[3] - ends[2] - 1 > ydb::hoursMax ||
        ends[4] - ends[3] - 1 > ydb::commentMax)
        return notSound;
    *next = start + 2 + length;
    if (commentBytes.count > 0 && nextBit(masks.chosen, ends[3] + 1, ends[4]) == ends[4]) return passedOver;

    const uint8_t* bytes = db.window + start + 2;
    fields.bodyLength = length;
    fields.firmRef = ydb::loadU32(bytes);
    const char** texts[5] = {&fields.phones, &fields.namePrefix, &fields.rubricCodes, &fields.hours, &fields.comment};
    uint32_t* lengths[5] = {&fields.phonesLength, &fields.namePrefixLength, &fields.rubricCodesLength,
                            &fields.hoursLength, &fields.commentLength};
    uint32_t begin = body + 4;
    for (int k = 0; k < 5; ++k) {
        *lengths[k] = ends[k] - begin;
        // As dropUnheldTexts leaves them: the long texts (from the third) are none when empty.
        *texts[k] = k < 2 || *lengths[k] ? reinterpret_cast<const char*>(bytes + (begin - body)) : nullptr;
        begin = ends[k] + 1;
    }
    return walked;
}

} // namespace

int32_t scanDetailTexts(DirectoryDatabase& db, const ByteSet& commentBytes, DetailsTest test, void* context,
                        uint32_t* ref) {
    DetailsFields fields;
    uint32_t next = 0;
    bool testIt = true;
    WindowMasks masks;
    return scanWindow(
        db, tableDetails, 0, noCap, fields,
        // A record whose decode shows a message goes through readRecord, which shows it.
        [&](uint32_t start, DetailsFields& f, uint32_t* after) {
            const SoundWalk walk = walkSoundRecord(db, masks, start, commentBytes, f, after);
            testIt = walk != passedOver;
            return walk != notSound || (walkDetails(db, start, f, after) && !dropUnheldTexts(f));
        },
        [&](uint32_t start, DetailsFields& f) {
            // The read may have filled the window anew: the masks are of what it held before.
            masks.length = 0;
            testIt = true;
            if (!walkDetails(db, start, f, &next)) return false;
            dropUnheldTexts(f);
            return true;
        },
        [&](const DetailsFields& f) { return testIt && test(f, context); }, ref);
}
