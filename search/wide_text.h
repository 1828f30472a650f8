// Conversions between code page 1251 texts and the fixed-capacity UTF-16 buffers the lists show.
#pragma once

#include <cstddef>

#include "win32/types.h"

// Converts `text` (0-terminated, code page 1251) into `out`, which holds `capacity` units: a text
// longer than capacity - 1 characters is cut there. `out` always ends with a 0.
void toWide(const char* text, WCHAR* out, size_t capacity);
void toWide(const char* text, size_t length, WCHAR* out, size_t capacity);

// Converts UTF-16 `text` into code page 1251 in `out` of `capacity` bytes, cut at capacity - 1
// characters; returns the length written.
size_t toCodePage(const WCHAR* text, char* out, size_t capacity);

// Length of a 0-terminated UTF-16 text.
size_t wideLength(const WCHAR* text);
