// The pane's history as plain text operations: ten entries of up to 255 bytes, the oldest dropped
// when a store runs past the last.
#pragma once

#include "card/html_pane.h"

enum class HistoryEntryKind { helpText, anchor, address };

HistoryEntryKind historyEntryKind(const char* entry);

// Writes `text` at position p (nothing for p below 0). A store at 10 drops entry 0, moves the rest
// down and writes entry 9. Entries after p are kept. Returns the position written, or p when
// nothing was. Texts longer than an entry holds are cut at 255 bytes.
int storeHistoryEntry(HtmlPane& pane, int position, const char* text);

// The index after a new entry: one past the current one, stored there.
void recordHistoryEntry(HtmlPane& pane, const char* text);

// Whether forward has somewhere to go.
bool historyHasNext(const HtmlPane& pane);
