// readRecord's pieces: the decoders of the eight record kinds and the two direct fetches of a firm.
#pragma once

#include <cstdint>

#include "db/database.h"

// Decodes the record at db.cursor into the table's slot and leaves db.cursor after it, or beyond
// db.windowLength when the record is not wholly in the window. 0, or -110 when a firm-reference
// list gets no memory.
int32_t decodeRecord(DirectoryDatabase& db, int table, uint16_t detail);

// The firm slot's street name, read from table 4 straight into the scratch buffer.
void fetchStreetName(DirectoryDatabase& db);
// The details slot, from the first 8192 bytes of the firm's details record, straight from the file.
void fetchDetails(DirectoryDatabase& db);
