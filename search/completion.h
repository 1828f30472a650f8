// The completion lists of the search screen's name and street boxes, run on every edit change.
#pragma once

#include <cstdint>

#include "search/sinks.h"

struct DirectoryDatabase;

// The name box (mode 0 only): once the typed text grows to five letters of search key, the
// distinct names of the firms whose key begins with them. The length of the text at the previous
// change is kept in searchState.rememberedNameLength, across screens and clearing.
void completeName(DirectoryDatabase& db, int32_t mode, const WCHAR* boxText, CompletionSink& box);

// The street box: once the typed text is three letters of search key, every street of that key.
void completeStreet(DirectoryDatabase& db, const WCHAR* boxText, CompletionSink& box);

// The name list stops after this many names and ends with the line that says so.
constexpr int32_t nameCompletionCap = 100;
