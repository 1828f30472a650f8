// The one comparable form of typed text and firm names: upper case, separators removed.
// All texts are code page 1251 byte strings ending in a 0 byte, changed in place. Callers work on
// copies: texts in the database's read window are never changed.
#pragma once

#include <cstddef>

// Upper-cases the 33 Cyrillic letters (ё included, to Ё) and the 26 Latin letters; every other byte
// stays. Returns `text`.
char* upcaseText(char* text);

// The search key: drops " & ' ( ) , - . space @ «, writes Ё as Е, keeps » and everything else.
// Returns the new length. The name-prefix index and the firm order are built from
// compactKey(upcaseText(name)).
size_t compactKey(char* text);

// A name for display in lists: drops " & ' , - . @ « », writes Ё as Е, keeps spaces and parentheses.
// Returns the new length.
size_t cleanName(char* text);
