// Map texts are Unicode; the directory holds code page 1251. What the code page cannot hold is
// folded into what it can where the meaning survives.
#pragma once

#include <string>
#include <string_view>

// Converts UTF-8 to code page 1251: Latin letters lose their diacritics (é to e, ß to ss), odd
// dashes and spaces become plain ones, pictographs, arrows and invisible marks are dropped, control
// characters become spaces, runs of spaces become one and the ends are trimmed. Returns false when
// something else is left that the code page has not (a letter of another script, invalid UTF-8):
// such a text cannot be written without losing part of it.
bool foldToCp1251(std::string_view utf8, std::string& out);
