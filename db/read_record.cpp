// readRecord: positioning on a record, refilling the window when the record is not in it, and the
// one forced re-read of a record that straddles the window's end.
#include "db/record_decoding.h"

int32_t readRecord(DirectoryDatabase& db, int table, uint32_t offset, uint16_t detail, uint32_t maxBytes) {
    if (table < 0 || table >= ydb::tableCount) return readEndOfTable;
    db.lastError = 0;
    bool retried = false;

    if (!db.window) {
        acquireWindow(db);
        if (!db.window) return errorNoWindow;
    }

    const uint32_t begin = tableStart(db, table);
    const uint32_t end = tableStart(db, table + 1);
    const uint32_t length = end - begin;
    int32_t fill = 0;
    bool refill = false;
    if (offset == readNext) {
        refill = db.cursor >= db.windowLength;
    } else {
        if (offset >= length) return readEndOfTable;
        const uint32_t at = begin + offset;
        if (at < db.windowStart || at - db.windowStart >= db.windowLength) {
            db.cursor = at - db.windowStart;
            fill = seekTable(db, table, offset, false, maxBytes);
        } else {
            db.cursor = at - db.windowStart;
        }
    }

    for (;;) {
        if (refill) {
            const uint32_t o = db.cursor + db.windowStart - begin;
            if (o >= length) return readEndOfTable;
            fill = seekTable(db, table, o, retried, maxBytes);
            refill = false;
        }
        const uint32_t start = db.cursor;
        if (start >= end - db.windowStart) return readEndOfTable;
        if (fill != 0 || start >= db.windowLength) {
            reportDamaged(db);
            if (fill == 0) db.lastError = errorShortFill;
            return fill != 0 ? fill : errorShortFill;
        }

        if (const int32_t failed = decodeRecord(db, table, detail); failed != 0) {
            db.lastError = failed;
            return failed;
        }
        if (db.cursor <= db.windowLength && db.cursor > start) return readOk;

        if (retried) {
            reportDamaged(db);
            db.lastError = errorDamagedRecord;
            return errorDamagedRecord;
        }
        retried = true;
        db.cursor = start;
        refill = true;
    }
}
