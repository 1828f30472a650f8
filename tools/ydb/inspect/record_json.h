// One record of a table as a JSON object, under the field names of its slot.
#pragma once

#include <cstdint>
#include <string>

#include "db/database.h"

// Table number 0-7 for a number or a table name ("firms"), or -1.
int parseTableName(const std::string& text);
// The record the reader decoded last for `table`, with its reference, as one line of JSON (UTF-8).
std::string recordJson(const DirectoryDatabase& db, int table, uint32_t ref);
