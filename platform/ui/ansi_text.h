// Code page 1251 text of the ...A forms, and case folding of class names.
#pragma once

#include "win32.h"

#include <string>

namespace ui {

std::u16string fromAnsi(LPCSTR text);
// Writes at most capacity - 1 bytes and a terminator; returns the bytes written.
int toAnsi(std::u16string_view text, LPSTR buffer, int capacity);
// Class names compare case-insensitively, Latin and Cyrillic alike.
bool sameNameIgnoringCase(std::u16string_view a, std::u16string_view b);

} // namespace ui
