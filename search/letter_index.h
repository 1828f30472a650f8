// The white pages: the index of two-letter name beginnings and the firms of one index line.
#pragma once

#include <cstdint>

#include "search/sinks.h"

struct DirectoryDatabase;

// Fills `index` with one line per run of name-prefix entries (table 1): a new line starts only
// where the first two letters change and the firms since the last line fill more than 1/64 of
// the firm table. Each line's value is the reference of its first firm. Selects the first line.
void fillLetterIndex(DirectoryDatabase& db, ListSink& index, ScreenHooks& hooks);

// Fills `firms` with the names of the firms from `start` up to `end` (table 3 references; `end`
// is the value of the next index line, or the firm table's size for the last one), at most
// letterFirmsLimit lines.
void fillLetterFirms(DirectoryDatabase& db, uint32_t start, uint32_t end, ListSink& firms, ScreenHooks& hooks);

constexpr uint32_t letterFirmsLimit = 10000;
