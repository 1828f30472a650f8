// The halving search of the name-prefix index (table 1).
#pragma once

#include <cstddef>

struct DirectoryDatabase;

// Looks `key` (its first 1 to 5 characters count) up in the name-prefix index. When found, sets
// searchState.rangeStart and rangeEnd to the firms whose name key begins with it and returns
// true; otherwise both are all ones.
bool findPrefixRange(DirectoryDatabase& db, const char* key, size_t keyLength);

// At most this many index entries are probed.
constexpr int prefixProbeLimit = 100;
