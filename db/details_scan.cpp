#include "db/details_scan.h"

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

} // namespace

int32_t scanDetailTexts(DirectoryDatabase& db, DetailsTest test, void* context, uint32_t* ref) {
    DetailsFields fields;
    uint32_t next = 0;
    return scanWindow(
        db, tableDetails, 0, noCap, fields,
        // A record whose decode shows a message goes through readRecord, which shows it.
        [&](uint32_t start, DetailsFields& f, uint32_t* after) {
            return walkDetails(db, start, f, after) && !dropUnheldTexts(f);
        },
        [&](uint32_t start, DetailsFields& f) {
            if (!walkDetails(db, start, f, &next)) return false;
            dropUnheldTexts(f);
            return true;
        },
        [&](const DetailsFields& f) { return test(f, context); }, ref);
}
