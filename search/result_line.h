// The line a search lists for a firm.
#pragma once

#include "win32/types.h"

struct Firm;

constexpr int resultLineLimit = 99;

// Builds the result line of the firm in the firm slot (read with its street name) into `out`
// (resultLineLimit + 1 units). A name followed by a street is cut after 28 characters.
// `phoneVariant`: the telephone search's form, which shows the street whenever the firm has a
// street name reference and the house whenever it is not 0.
void formatResultLine(const Firm& firm, bool phoneVariant, WCHAR* out);
