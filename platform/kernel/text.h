// UTF-8 / UTF-16 transcoding and the case folding used for device names.
#pragma once

#include <string>
#include <string_view>

namespace kernel {

// Invalid sequences become U+FFFD; `valid` (when given) tells whether there were none.
std::u16string utf8ToUtf16(std::string_view text, bool* valid = nullptr);
// Unpaired surrogates become U+FFFD; `valid` (when given) tells whether there were none.
std::string utf16ToUtf8(std::u16string_view text, bool* valid = nullptr);

// Upper case for the letters the device's names use: ASCII, Latin-1 and Cyrillic.
char16_t foldCase(char16_t c);
std::u16string foldCase(std::u16string_view text);
bool equalsIgnoringCase(std::u16string_view a, std::u16string_view b);

// Length of a NUL-terminated UTF-16 text.
size_t textLength(const char16_t* text);

}  // namespace kernel
