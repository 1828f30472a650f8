// The same firm mapped more than once (a point for the shop and its building as an area) becomes one.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/ydb/import/imported_firm.h"

// How near two objects of one name must lie to be one firm: about 50 m, in the map's 1e-7 degrees.
constexpr int32_t sameFirmDistance = 5000;

// Merges firms of the same name that have the same address, or lie within sameFirmDistance of each
// other without addresses; one without an address joins the nearest with one (and others without
// one only when none with one is near). The first of each set
// keeps its place and takes what the others add. Returns how many firms were merged away.
uint64_t mergeDuplicates(FirmList& firms);
