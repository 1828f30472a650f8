// The database subsystem's program-wide state: the one scratch buffer of the direct fetches, the
// memory-status reading the read window is sized from, the owner of its message boxes, the list of
// database choices and the current database. One instance, `databaseProgram`.
#pragma once

#include <cstdint>

#include "db/database.h"

constexpr int maxDatabaseChoices = 3;
constexpr int databasePathCapacity = MAX_PATH;  // 259 characters and the 0

// One usable database file found at start-up; its folder holds the favourites and HTML\.
struct DatabaseChoice {
    WCHAR path[databasePathCapacity] = {};
};

struct DatabaseChoices {
    DatabaseChoice entries[maxDatabaseChoices];
    int count = 0;
    int current = 0;
};

struct DatabaseProgram {
    // Opening reads the first bytes of a file here; the street and details fetches read into it.
    // One byte more than the largest read, for a terminating 0.
    char scratch[scratchCapacity + 1] = {};
    // Taken once by the shell at start-up (takeMemoryReading); acquireWindow refreshes it only when
    // it had to ask other applications to close.
    MEMORYSTATUS memoryReading = {};
    // The main window once it exists; message boxes of the reader are owned by it.
    HWND messageOwner = nullptr;
    DatabaseChoices choices;
    DirectoryDatabase* current = nullptr;
};

extern DatabaseProgram databaseProgram;

// GlobalMemoryStatus into databaseProgram.memoryReading.
void takeMemoryReading();
