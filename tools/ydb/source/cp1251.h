// Code page 1251 text for the database: the source edition is UTF-8, the file holds 8-bit text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Converts UTF-8 to code page 1251. Returns false (and leaves `out` partly filled) when the input is
// not valid UTF-8 or holds a character that the code page cannot hold; `bad` then names it ("U+2603",
// or "invalid UTF-8").
bool utf8ToCp1251(std::string_view utf8, std::string& out, std::string* bad = nullptr);

// Code page 1251 to UTF-8; the one unassigned byte (0x98) becomes U+FFFD.
std::string cp1251ToUtf8(std::string_view text);

// UTF-16 (as the reader's converted fields hold it) to UTF-8, stopping at a 0 unit.
std::string utf16ToUtf8(const char16_t* text, size_t capacity);

// Number of characters of a UTF-8 text (code points), for messages about lengths.
size_t utf8Length(std::string_view utf8);

// The code page 1251 byte of one Unicode character, or -1 when the code page has none.
int cp1251ByteOf(uint32_t cp);

// Decodes the UTF-8 character at text[i] into `cp` and advances i past it; false (i unchanged) on a
// malformed or cut sequence.
bool nextCodePoint(std::string_view text, size_t& i, uint32_t& cp);
