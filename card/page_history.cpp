#include "card/page_history.h"

#include <cstring>

HistoryEntryKind historyEntryKind(const char* entry)
{
    if (entry[0] == 0)
        return HistoryEntryKind::helpText;
    return entry[0] == '#' ? HistoryEntryKind::anchor : HistoryEntryKind::address;
}

int storeHistoryEntry(HtmlPane& pane, int position, const char* text)
{
    if (position < 0)
        return position;
    if (position >= historyEntries) {
        std::memmove(pane.history[0], pane.history[1], sizeof pane.history[0] * (historyEntries - 1));
        position = historyEntries - 1;
    }
    char* entry = pane.history[position];
    const size_t length = strnlen(text, historyEntryBytes - 1);
    std::memcpy(entry, text, length);
    entry[length] = 0;
    return position;
}

void recordHistoryEntry(HtmlPane& pane, const char* text)
{
    pane.historyIndex = static_cast<int16_t>(storeHistoryEntry(pane, pane.historyIndex + 1, text));
}

bool historyHasNext(const HtmlPane& pane)
{
    return pane.historyIndex >= 0 && pane.historyIndex <= historyEntries - 2 &&
           pane.history[pane.historyIndex + 1][0] != 0;
}
