// The search screen's search with its chain of wider searches, as one operation.
#pragma once

#include <cstdint>

#include "search/sinks.h"
#include "win32/types.h"

struct DirectoryDatabase;

// SearchMode: the lines of the mode box, in this order.
enum : int32_t {
    modeNameBegins = 0,
    modeNameContains = 1,
    modeAddressContains = 2,
    modeNoteContains = 3,
};
constexpr int32_t searchModeCount = 4;
const WCHAR* searchModeText(int32_t mode);

// What the screen's fields hold when "ИСКАТЬ" is pressed (UTF-16 as the controls give them).
struct SearchRequest {
    int32_t mode = modeNameBegins;
    const WCHAR* name = nullptr;
    const WCHAR* street = nullptr;  // as typed; the box shows upper case
    const WCHAR* phone = nullptr;
};

constexpr uint32_t resultLimit = 1000;
// runSearch's result when no name, street or telephone was given: the screen puts the focus
// into the name box.
constexpr int32_t searchNeedsConditions = -1;

// Runs the search into `results` (the screen empties the list first). The theme filter is
// searchState.rubricChoice when its marker is '|'. Questions and messages go through `hooks`.
// Returns the number of firm lines of the last pass (the overflow line not counted), or
// searchNeedsConditions.
int32_t runSearch(DirectoryDatabase& db, const SearchRequest& request, ListSink& results, ScreenHooks& hooks);

// The theme box's line with item value `index` was selected: the theme filter becomes that
// rubric's code when it is an entry of the rubric table, else none.
void selectTheme(int32_t index);
