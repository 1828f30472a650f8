#include "db/details_scan.h"

#include "db/window_scan.h"

namespace {

struct LongText {
    const char** text;
    uint32_t length;
    uint32_t limit;
};

// Whether a long text's decode would show its message; with `drop`, the texts the slot would not
// hold become none.
bool overLimit(DetailsFields& fields, bool drop) {
    const LongText texts[] = {{&fields.rubricCodes, fields.rubricCodesLength, ydb::rubricCodesMax},
                              {&fields.hours, fields.hoursLength, ydb::hoursMax},
                              {&fields.comment, fields.commentLength, ydb::commentMax}};
    bool over = false;
    for (const LongText& t : texts) {
        if (!*t.text) continue;
        if (t.length > t.limit) over = true;
        if (drop && (t.length == 0 || t.length > t.limit)) *t.text = nullptr;
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
        [&](uint32_t start, DetailsFields& f, uint32_t* after) {
            if (!walkDetails(db, start, f, after) || overLimit(f, false)) return false;
            overLimit(f, true);
            return true;
        },
        [&](uint32_t start, DetailsFields& f) {
            if (!walkDetails(db, start, f, &next)) return false;
            overLimit(f, true);
            return true;
        },
        [&](const DetailsFields& f) { return test(f, context); }, ref);
}
