// Turning database texts (code page 1251) into the slots' fields: capped UTF-16 arrays and owned
// copies.
#pragma once

#include <cstddef>
#include <cstdint>

#include "win32.h"

// Converts `length` bytes of `text` into `out` (capacity units, the 0 included): a longer text is
// cut to capacity - 1 units. `out` always ends with a 0.
void convertText(const char* text, size_t length, WCHAR* out, size_t capacity);

template <size_t capacity>
void convertText(const char* text, size_t length, WCHAR (&out)[capacity]) {
    convertText(text, length, out, capacity);
}

// A LocalAlloc copy of `length` bytes of `text` with a 0 after them, or none when memory is refused.
char* copyOwnedText(const char* text, size_t length);
// Frees an owned text or list and sets it to none.
void freeOwned(char*& text);
void freeOwned(uint32_t*& list);
