// Substring tests on search text. Names are folded in one pass through a byte table that is
// derived from upcaseText and compactKey themselves, so the folded text is exactly what
// compactKey(upcaseText(copy)) would give, without the copy and the two walks per firm.
#pragma once

#include <cstddef>
#include <cstdint>

// Byte tables: for each byte, its upper-case form (`upcase`) and its form in a compacted key
// (`key`, 0 when compactKey drops it). Byte 0 maps to 0 in both.
struct TextFold {
    uint8_t upcase[256];
    uint8_t key[256];
};

const TextFold& textFold();

// Writes compactKey(upcaseText(text[0..length))) to `out` (room for `length` bytes, no 0 added)
// and returns its length.
size_t foldToKey(const char* text, size_t length, char* out);

// Writes upcaseText(text[0..length)) to `out` (room for `length` bytes, no 0 added).
void foldToUpper(const char* text, size_t length, char* out);

// True when `needle` (non-empty) occurs in `hay`.
bool containsText(const char* hay, size_t hayLength, const char* needle, size_t needleLength);

// True when a compacted name key contains `key`: the folded name of `name[0..length)` is
// tested without keeping it.
bool nameContainsKey(const char* name, size_t length, const char* key, size_t keyLength);
