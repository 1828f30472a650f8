// The rubric table (table 0 in memory, with a root entry) and the data side of the rubric tree.
#pragma once

#include <cstdint>

#include "search/search_state.h"
#include "search/sinks.h"

struct DirectoryDatabase;

// Without a tree: makes sure searchState.rubricTable exists (built only when absent). With a tree:
// (re)builds the table and fills the tree in searchState.flatMode.
void buildRubricTable(DirectoryDatabase& db, TreeSink* tree, ScreenHooks& hooks);

// The index of the entry whose tree item is `item`, or -1 (also for item 0, a tap on no item).
int32_t findRubricEntry(TreeItem item);

// What opening a rubric leads to.
enum : int32_t {
    rubricNothing = 0,   // a heading outside a choice: nothing opens
    rubricChosen = 1,    // searchState.rubricChoice holds the choice; the screen closes
    rubricFirmList = 2,  // searchState.firmListRequest is set; the screen opens the firm list
};

// Opens entry `index` shown as `itemText` (a tap on an item): a choice when one is asked for,
// else its firm list when it has one.
int32_t openRubric(int32_t index, const WCHAR* itemText);

// Opens the firm list of entry `index` when it has one, whatever the mode (Right arrow or Enter).
int32_t openRubricFirmList(int32_t index);
