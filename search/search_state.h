// The shared state of the search and listing subsystem, in one place: the rubric table and the
// records by which the screens hand a rubric to each other, the range of the current scan, and
// what the name completion remembers between edit changes.
#pragma once

#include <cstdint>
#include <memory>

#include "search/sinks.h"
#include "win32/types.h"

constexpr uint32_t noFirmList = 0xFFFFFFFFu;

struct RubricTableEntry {
    char code[9];          // first 8 characters of the rubric's code, 0-filled; empty for the root
    uint8_t flags;
    uint32_t firmListRef;  // table 2, or noFirmList
    uint32_t recordRef;    // the rubric's record in table 0
    TreeItem treeItem;     // item shown for it, or the item inserted last before it
    TreeItem parentItem;   // the item of its parent as the build found it (0 = top level)
};

// Entry 0 is the root; entry i (i >= 1) is the i-th rubric of table 0.
struct RubricTable {
    std::unique_ptr<RubricTableEntry[]> entries;  // none: no table (never built or memory refused)
    uint32_t capacity = 0;  // entries allocated so far
    uint32_t limit = 0;     // rubricCount + 1: the build stops there
    uint32_t count = 0;
    // The build read table 0 to its end (or to the count): a later build without a tree keeps
    // the table. A build cut short by a failed read is done again the next time it is asked for.
    bool complete = false;
};

// How the rubric tree hands a rubric back to its opener; `marker` and `code` together are the
// theme filter text "|" + code of the search.
struct RubricChoice {
    char marker = 0;   // 0: none, '?': a choice is asked for, '|': a choice was made
    char code[7] = {}; // first 6 characters of the chosen code, 0-terminated
    WCHAR title[128] = {};
    int32_t index = 0;
};

constexpr char choiceAsked = '?';
constexpr char choiceMade = '|';

struct FirmListRequest {
    uint32_t firmListRef = noFirmList;
    int32_t rubricIndex = 0;
};

struct SearchState {
    RubricTable rubricTable;
    int32_t flatMode = 0;  // 0: hierarchy, 1: flat list of rubrics with firms
    RubricChoice rubricChoice;
    FirmListRequest firmListRequest;
    // Firm references [rangeStart, rangeEnd) of the current scan; both all ones before a look-up.
    uint32_t rangeStart = 0xFFFFFFFFu;
    uint32_t rangeEnd = 0xFFFFFFFFu;
    // Length of the name box's text at its previous change; kept for the life of the program.
    int32_t rememberedNameLength = 0;
};

extern SearchState searchState;

// Drops the rubric table (the database changed or the program ends).
void freeRubricTable();
