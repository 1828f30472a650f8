// The firm list of a rubric: one line per firm of a rubric firm list, with its street and house.
#pragma once

#include <cstdint>

#include "search/sinks.h"

struct DirectoryDatabase;

// Fills `list` with the firms of the rubric firm list at `firmListRef` (table 2), in stored
// order. Line k stands for firmRefs[k] of the database's rubric firm-list slot, which keeps the
// list until the next read of table 2; lines carry that reference as their value too.
void fillRubricFirmList(DirectoryDatabase& db, uint32_t firmListRef, ListSink& list, ScreenHooks& hooks);

// Longest line of the rubric firm list, in characters.
constexpr int firmListLineLimit = 511;
