// The passes that runSearch chains: what each scans and the tests a firm must pass.
#pragma once

#include <cstddef>
#include <cstdint>

#include "search/sinks.h"
#include "search/text_match.h"

struct DirectoryDatabase;

struct SearchContext {
    DirectoryDatabase& db;
    ListSink& results;
    ScreenHooks& hooks;
    int32_t mode;
    char nameKey[100];
    size_t nameKeyLength;
    char street[40];
    size_t streetLength;
    char theme[8];  // "|" + code, or empty for no theme
    uint32_t* notes;       // references collected by the note search
    uint32_t noteCount;
    PreparedKey nameFilter;  // the name key against folded names
    PreparedKey noteFilter;  // the name key against upper-cased notes
    PreparedKey addressFilter;  // the name key against raw web addresses and e-mails
};

// Lists the firms of [searchState.rangeStart, rangeEnd) (or the collected notes in mode 3) that
// pass the tests; returns the number listed (at most resultLimit).
uint32_t scanFirms(SearchContext& context);

// Collects into context.notes the firms whose notes hold the name key. Returns false when its
// memory was refused.
bool collectNotes(SearchContext& context);

// The street search: every firm of every street whose name holds the street text.
uint32_t searchStreets(SearchContext& context);

// The telephone search: the one firm of table 6 with the number `phone` reads as.
uint32_t searchPhone(SearchContext& context, const char* phone);

// The street and theme tests of a firm in the firm slot read with its street name; the theme
// test reads the firm at `ref` again with its details.
bool passesStreet(const SearchContext& context);
bool passesTheme(SearchContext& context, uint32_t ref);

// Adds the line for `ref`; false when the list is out of space (the message was shown).
bool addResult(SearchContext& context, const WCHAR* line, uint32_t ref);

// pumpMessages after lines 1 to 9 and then after every tenth line from line 11.
inline bool pumpAfterResult(uint32_t line) {
    return line < 10 || line % 10 == 1;
}
