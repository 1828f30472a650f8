// Validates a whole directory database through the reader: every record of every table, the cross
// references between tables, the prefix index against the firm order, and the resource chunks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "db/database.h"

struct CheckFault {
    int table;           // 0-7; 8 for the resource area; -1 for the header
    uint32_t offset;     // within the table (the file for the header and the resource area)
    int32_t code;        // the reader's code, or 0 for a fault the reader does not see
    std::string what;
};

struct CheckReport {
    std::vector<CheckFault> faults;
    uint32_t records[8] = {};  // records read per table
};

// Never loops: every scan stops at the table's end, at a reader failure, or when the reader stops
// advancing. Faults beyond `maxFaults` are counted but not described.
CheckReport checkDatabase(DirectoryDatabase& db, size_t maxFaults = 100);

const char* tableName(int table);
