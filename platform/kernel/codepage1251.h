// Code page 1251, the device's ANSI code page.
#pragma once

namespace kernel {

char16_t cp1251ToUnicode(unsigned char byte);
// The 1251 byte of a UTF-16 unit, or -1 when the code page has none.
int unicodeToCp1251(char16_t unit);

}  // namespace kernel
