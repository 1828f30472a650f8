#include "db/firm_scan.h"

namespace {

// Walks the firm record at `start` of the window; false when it is not wholly there.
bool walkInWindow(const DirectoryDatabase& db, uint32_t start, FirmFields& fields, uint32_t* next) {
    RecordCursor in{db.window, db.windowLength, start};
    fields.bodyLength = walkBodyLength(in);
    if (!in.fits) return false;
    walkFirmBody(in, fields);
    if (!in.fits) return false;
    *next = in.position;
    return true;
}

} // namespace

int32_t scanFirmTexts(DirectoryDatabase& db, uint32_t endRef, FirmTest test, void* context, uint32_t* ref) {
    const uint32_t begin = tableStart(db, tableFirms);
    const uint32_t tableEnd = tableStart(db, tableFirms + 1);
    FirmFields fields;
    for (;;) {
        if (db.window) {
            // readRecord's own end test, in window terms.
            const uint32_t windowEnd = tableEnd - db.windowStart;
            for (;;) {
                const uint32_t start = db.cursor;
                const uint32_t r = start + db.windowStart - begin;
                if (r >= endRef) return readEndOfTable;
                if (start >= db.windowLength) break;
                if (start >= windowEnd) return readEndOfTable;
                uint32_t next = 0;
                if (!walkInWindow(db, start, fields, &next)) break;
                db.lastError = 0;  // as every read clears it
                db.cursor = next;
                if (test(fields, context)) {
                    *ref = r;
                    return readOk;
                }
            }
        }
        const uint32_t r = tableOffset(db, tableFirms);
        if (r >= endRef) return readEndOfTable;
        if (const int32_t failed = readRecord(db, tableFirms, readNext, detailBody | detailTextsInPlace, noCap))
            return failed;
        // The read may have refilled the window; the record now lies wholly in it.
        uint32_t next = 0;
        if (!walkInWindow(db, r + begin - db.windowStart, fields, &next)) return errorDamagedRecord;
        if (test(fields, context)) {
            *ref = r;
            return readOk;
        }
    }
}
