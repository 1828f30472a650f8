// Opening and validating a database file, and closing it.
#include <cstring>
#include <new>

#include "db/database.h"
#include "db/database_program.h"
#include "db/text_fields.h"

namespace {

constexpr DWORD shareWithReaders = FILE_SHARE_READ;

HANDLE openForReading(LPCWSTR path) {
    HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, shareWithReaders, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    // A read-only medium or attribute: the program only reads anyway.
    return CreateFileW(path, GENERIC_READ, shareWithReaders, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

int32_t platformError() {
    const DWORD error = GetLastError();
    return error != 0 ? static_cast<int32_t>(error) : static_cast<int32_t>(ERROR_INVALID_FUNCTION);
}

// The header's checks once its magic is known good. Returns 0, -100 or -101.
int32_t checkBoundaries(DirectoryDatabase& db) {
    const DWORD fileSize = GetFileSize(db.file, nullptr);
    if (tableStart(db, ydb::resourceArea) > fileSize) return errorBoundaryBeyondFile;
    for (int k = 0; k < ydb::resourceArea; ++k)
        if (tableStart(db, k) > tableStart(db, k + 1)) return errorBoundaryOrder;
    return 0;
}

void clearSlots(DirectoryDatabase& db) {
    db.rubric = RubricRecord{};
    db.prefix = PrefixEntry{};
    db.rubricFirms = FirmRefList{};
    db.firm = Firm{};
    db.street = Street{};
    db.streetFirms = FirmRefList{};
    db.phoneEntry = PhoneEntry{};
    db.details = FirmDetails{};
}

} // namespace

DirectoryDatabase* createDatabase() { return new (std::nothrow) DirectoryDatabase{}; }

void destroyDatabase(DirectoryDatabase* db) {
    if (!db) return;
    closeDatabase(*db);
    delete db;
}

int32_t openDatabase(DirectoryDatabase& db, LPCWSTR path) {
    // An object is opened once; should it hold anything, it is given back rather than lost.
    closeDatabase(db);
    db.lastError = 0;
    db.windowCapacity = db.windowStart = db.windowLast = db.windowLength = db.cursor = 0;
    db.window = nullptr;
    db.title = nullptr;

    db.file = openForReading(path);
    if (db.file == INVALID_HANDLE_VALUE) {
        // Taken before the message box, whose own calls may change the last error.
        db.lastError = platformError();
        reportDamaged(db);
        return db.lastError;
    }

    char* scratch = databaseProgram.scratch;
    DWORD got = 0;
    const BOOL read = ReadFile(db.file, scratch, scratchCapacity, &got, nullptr);
    if (read && got > ydb::headerSize && ydb::hasMagic(scratch)) {
        std::memcpy(db.header, scratch, ydb::headerSize);
        if (const int32_t bad = checkBoundaries(db); bad != 0) {
            db.lastError = bad;
            reportDamaged(db);
            return bad;
        }
        const char* title = reinterpret_cast<const char*>(db.header + ydb::titleOffset);
        if (std::memchr(title, 0, ydb::titleSize) != nullptr) db.title = title;
    }
    clearSlots(db);
    return db.lastError;
}

void closeDatabase(DirectoryDatabase& db) {
    if (db.file != INVALID_HANDLE_VALUE) CloseHandle(db.file);
    db.file = INVALID_HANDLE_VALUE;
    freeOwned(db.rubricFirms.firmRefs);
    freeOwned(db.streetFirms.firmRefs);
    freeOwned(db.details.rubricCodes);
    freeOwned(db.details.hours);
    freeOwned(db.details.comment);
    releaseWindow(db);
}
