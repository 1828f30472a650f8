// One record of a table as a JSON object, under the field names of its slot.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "db/database.h"

// Table number 0-7 for a number or a table name ("firms"), or -1.
int parseTableName(const std::string& text);
// The record the reader decoded last for `table`, with its reference, as one line of JSON (UTF-8).
std::string recordJson(const DirectoryDatabase& db, int table, uint32_t ref);

// The reader handed the same record again: the walk stops rather than loop.
constexpr int32_t dumpNotAdvancing = -1000;

// Reads `table` front to back through the reader with `detail`, calling `each(ref)` while the slot
// holds each record. Returns 0 at the table's end, or the reader's code of the record that could
// not be read (`failedRef` is its reference) and dumpNotAdvancing when the reader stops advancing.
int32_t walkTable(DirectoryDatabase& db, int table, uint16_t detail, const std::function<void(uint32_t ref)>& each,
                  uint32_t& failedRef);

// Reads `table` front to back through the reader, handing each record's line to `line`; firms with
// their body and street lists with their entries, everything the slots hold. Returns 0 at the
// table's end, or the reader's code of the record that could not be read (`failedRef` is its
// reference) and -1000 when the reader stops advancing.
int32_t dumpTable(DirectoryDatabase& db, int table, const std::function<void(const std::string&)>& line,
                  uint32_t& failedRef);
