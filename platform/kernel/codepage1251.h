// Code page 1251, the device's ANSI code page.
#pragma once

#include <array>

namespace kernel {

// The UTF-16 unit of every byte, for conversions that go byte by byte (the reader converts every
// field of every firm it decodes).
extern const std::array<char16_t, 256> cp1251Units;

char16_t cp1251ToUnicode(unsigned char byte);
// The 1251 byte of a UTF-16 unit, or -1 when the code page has none.
int unicodeToCp1251(char16_t unit);

}  // namespace kernel
