// A scan of the firm table that walks the records inside the read window instead of decoding each
// one into the firm slot: a name search reads a million firms and wants only their texts.
//
// It steps from record to record exactly as NEXT reads with detailBody do (the same field walk and
// fit tests), and hands every record it cannot walk in place (not wholly in the window, no window)
// to readRecord, which refills, re-reads and reports as always. So a scan visits the same records
// in the same order, and stops on the same failures, as the loop
//   ref = tableOffset(db, tableFirms); ref < endRef && readRecord(db, tableFirms, readNext, ...) == 0
#pragma once

#include <cstdint>

#include "db/database.h"
#include "db/record_masks.h"
#include "db/record_walk.h"

// The test a scan puts to each firm; true stops the scan on it. The texts are window texts.
using FirmTest = bool (*)(const FirmFields& firm, void* context);

// What the test looks at: with firmNameOnly only bodyLength, name and nameLength are set, which
// lets the scan step over more sound records without placing their other texts.
enum FirmTexts { firmNameOnly, firmAllFields };

// A byte filter before the test: a firm the scan walks in place whose name (or web address and
// e-mail) holds none of `bytes` is passed over untested. It only spares work: the test must turn
// such a firm down as well, since firms read through readRecord are always tested.
enum FilterTexts { filterName, filterWebAndEmail };
struct FirmFilter {
    ByteSet bytes;
    FilterTexts where = filterName;
};

// From the cursor, the next firm below endRef (a table offset) that passes `test`: readOk with *ref
// its reference and the cursor after it; readEndOfTable when none is left before endRef or the
// table's end; otherwise readRecord's failure. The firm slot is not kept current: read the firm
// found by its reference.
int32_t scanFirmTexts(DirectoryDatabase& db, uint32_t endRef, FirmTexts wanted, const FirmFilter& filter,
                      FirmTest test, void* context, uint32_t* ref);
