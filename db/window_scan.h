// The loop the in-window scans share. It walks records of one table inside the read window and
// hands every record it cannot walk in place to readRecord, which refills, re-reads and reports
// as always, so that a scan visits the same records in the same order and stops on the same
// failures as the loop
//   ref = tableOffset(db, table); ref < endRef && readRecord(db, table, readNext, detail, noCap) == 0
#pragma once

#include <cstdint>

#include "db/database.h"
#include "db/record_walk.h"

// The full walk of the record at window offset `start`: its length and fit test, then walkBody
// (walkFirmBody, walkDetailsBody); false when it is not wholly in the window.
template <class Fields>
bool walkWholeRecord(const DirectoryDatabase& db, uint32_t start, Fields& fields,
                     void (*walkBody)(RecordCursor&, Fields&), uint32_t* next) {
    RecordCursor in{db.window, db.windowLength, start};
    fields.bodyLength = walkBodyLength(in);
    if (!in.fits) return false;
    walkBody(in, fields);
    if (!in.fits) return false;
    *next = in.position;
    return true;
}

// walkInPlace(start, fields, &next): the record at window offset `start` walked into `fields` and
// the offset after it; false when it must go through readRecord (not wholly in the window, or its
// decode would show a message). walkAfterRead(start, fields): the same for a record readRecord
// has just decoded. test(fields): true stops the scan on the record; it must not read the file.
template <class Fields, class WalkInPlace, class WalkAfterRead, class Test>
int32_t scanWindow(DirectoryDatabase& db, int table, uint16_t detail, uint32_t endRef, Fields& fields,
                   WalkInPlace&& walkInPlace, WalkAfterRead&& walkAfterRead, Test&& test, uint32_t* ref) {
    const uint32_t begin = tableStart(db, table);
    const uint32_t tableEnd = tableStart(db, table + 1);
    for (;;) {
        if (db.window) {
            // Neither the walk nor the test reads the file (a test must not), so the window's
            // figures are read once; the stores into the database record would otherwise have
            // them read again for every record.
            const uint32_t windowStart = db.windowStart;
            const uint32_t windowLength = db.windowLength;
            for (;;) {
                const uint32_t start = db.cursor;
                const uint32_t r = start + windowStart - begin;
                if (r >= endRef) return readEndOfTable;
                if (start >= windowLength) break;
                if (start >= tableEnd - windowStart) return readEndOfTable;  // readRecord's own end test
                uint32_t next = 0;
                if (!walkInPlace(start, fields, &next)) break;
                db.lastError = 0;  // as every read clears it
                db.cursor = next;
                if (test(fields)) {
                    *ref = r;
                    return readOk;
                }
            }
        }
        const uint32_t r = tableOffset(db, table);
        if (r >= endRef) return readEndOfTable;
        if (const int32_t failed = readRecord(db, table, readNext, detail, noCap)) return failed;
        // The read may have refilled the window; the record now lies wholly in it.
        if (!walkAfterRead(r + begin - db.windowStart, fields)) return errorDamagedRecord;
        if (test(fields)) {
            *ref = r;
            return readOk;
        }
    }
}
