// The read window: one large block holding a run of a table, filled from the file on demand.
#include "ce.h"
#include "db/database.h"
#include "db/database_messages.h"
#include "db/database_program.h"

namespace {

int32_t platformErrorOr(int32_t fallback) {
    const DWORD error = GetLastError();
    return error != 0 ? static_cast<int32_t>(error) : fallback;
}

// The window holds file offset a, not on its last byte: a record starting on the last byte cannot
// be whole, so it counts as outside and causes a fill.
bool windowHolds(const DirectoryDatabase& db, uint32_t a) {
    return db.windowLength > 0 && a >= db.windowStart && a - db.windowStart < db.windowLength - 1;
}

// After a failed fill nothing in the window is trusted; the next read fills again.
void forgetWindowData(DirectoryDatabase& db) {
    db.windowLength = 0;
    db.windowLast = db.windowStart;
}

} // namespace

void acquireWindow(DirectoryDatabase& db) {
    if (db.window) return;
    DWORD available = databaseProgram.memoryReading.dwAvailPhys;
    if (available < windowMemoryFloor) {
        SHCloseApps(windowMemoryFloor);
        takeMemoryReading();
        available = databaseProgram.memoryReading.dwAvailPhys;
    }
    const SIZE_T quarter = available >> 2;
    void* block = LocalAlloc(LMEM_FIXED, quarter);
    if (!block) {
        // Taken before the message box, whose own calls may change the last error.
        db.lastError = platformErrorOr(errorNoWindow);
        reportOutOfMemory();
        return;
    }
    db.window = static_cast<uint8_t*>(block);
    // The allocator's own figure: it may be larger than asked.
    db.windowCapacity = static_cast<uint32_t>(LocalSize(block));
    db.lastError = 0;
    db.windowStart = db.windowLast = db.windowLength = db.cursor = 0;
}

void releaseWindow(DirectoryDatabase& db) {
    if (!db.window) return;
    LocalFree(db.window);
    db.window = nullptr;
    db.windowCapacity = 0;
}

int32_t seekTable(DirectoryDatabase& db, int table, uint32_t offset, bool force, uint32_t maxBytes) {
    if (table < 0 || table >= ydb::tableCount) return errorSeek;
    acquireWindow(db);
    if (db.lastError != 0 || !db.window) return errorFillRefused;

    const uint32_t a = tableStart(db, table) + offset;
    if (!force && windowHolds(db, a)) {
        db.cursor = a - db.windowStart;
        return 0;
    }

    LONG high = 0;  // with a high part the low one counts as unsigned: offsets up to 4 GB
    if (SetFilePointer(db.file, static_cast<LONG>(a), &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR) {
        db.lastError = platformErrorOr(errorSeek);
        forgetWindowData(db);
        return errorSeek;
    }
    db.windowStart = a;

    // Never past the end of the table the window is filled for.
    const uint32_t end = tableStart(db, table + 1);
    uint32_t amount = a < end ? end - a : 0;
    if (amount > db.windowCapacity) amount = db.windowCapacity;
    if (amount > maxBytes) amount = maxBytes;

    DWORD got = 0;
    if (!ReadFile(db.file, db.window, amount, &got, nullptr)) {
        db.lastError = platformErrorOr(errorRead);
        forgetWindowData(db);
        db.cursor = 0;
        return errorRead;
    }
    if (got > amount) got = amount;
    db.windowLength = got;
    db.windowLast = db.windowStart + got - 1;
    db.cursor = 0;
    return 0;
}

uint32_t tableOffset(const DirectoryDatabase& db, int table) {
    if (table < 0 || table >= ydb::tableCount) return 0;
    return db.cursor + db.windowStart - tableStart(db, table);
}
