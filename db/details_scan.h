// A scan of the details table that walks the records inside the read window instead of decoding
// each into the details slot, which converts two texts and copies three: the note search reads
// every firm's details.
#pragma once

#include <cstdint>

#include "db/database.h"
#include "db/record_masks.h"
#include "db/record_walk.h"

// The texts are window texts. rubricCodes, hours and comment are none where the details slot would
// hold none: empty, or longer than its limit (a record with such a text goes through readRecord,
// which shows the text's message).
using DetailsTest = bool (*)(const DetailsFields& details, void* context);

// From the cursor, the next details record that passes `test`: readOk with *ref its reference and
// the cursor after it; readEndOfTable at the table's end; otherwise readRecord's failure. The
// details slot is not kept current. A record walked in place whose comment holds none of
// `commentBytes` is passed over untested (the test must turn it down as well).
int32_t scanDetailTexts(DirectoryDatabase& db, const ByteSet& commentBytes, DetailsTest test, void* context,
                        uint32_t* ref);
