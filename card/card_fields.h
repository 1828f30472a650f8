// What the business card shows and what its actions do, decided without a window: the texts of its
// fields, its telephone entries and list lines, the number to dial, the web host to open, the mail
// program's command line and the notes filed under a rubric. The screen and the actions call these
// and only move their results into controls, message boxes and program starts.
#pragma once

#include "search/sinks.h"
#include "win32.h"

#include <cstdint>
#include <string>
#include <vector>

struct DirectoryDatabase;

// "prefix name", the name (code page 1251) cut at 256 characters, every "&" doubled so that the
// static control shows it instead of underlining the next letter.
std::u16string cardNameText(const WCHAR* namePrefix, const char* name);

// " street, д.house/suffix": the house only when it lies in 1..9999; the "/" whenever there is a
// suffix, so house 0 with a suffix gives "street/suffix".
std::u16string cardAddressText(const WCHAR* streetName, uint32_t house, const WCHAR* houseSuffix);

// " text", or nothing for an empty text (the web and e-mail fields).
std::u16string cardLinkText(const WCHAR* text);

// The telephone drop-down's entries, each with three spaces in front: the part of the main number
// before its first "ф" (when it has one), the main number, then every comma-separated extra number
// that is not a leading part of the main one.
std::vector<std::u16string> telephoneEntries(const WCHAR* mainPhone, const WCHAR* phones);

// A line of the card's list: the hours line (rubric 0) or a rubric title.
struct CardListLine {
    std::u16string text;  // at most cardListLineCharacters
    uint32_t value;       // low half: the rubric's table index; high half: the text's length + 1
};
constexpr int cardListLineCharacters = 99;
// A line longer than this does not fit the list's width; a tap shows it whole in a box.
constexpr uint32_t cardListFitLength = 36;

uint32_t cardLineValue(uint32_t rubricIndex, size_t length);
// The line for a code page 1251 text, cut at cardListLineCharacters.
CardListLine cardListLine(const char* text, uint32_t rubricIndex);

// The hours line, then one line per distinct title (compared without regard to letter case) of the
// rubrics whose codes stand in the firm's "|code|code|" list, in table order. Loads the rubric
// table when it is not loaded and reads each title from table 0. `hours` and `rubricCodes` are
// owned copies (or none): reading table 0 moves the read window under any window text.
std::vector<CardListLine> cardListLines(DirectoryDatabase& db, const char* hours, const char* rubricCodes,
                                        ScreenHooks& hooks);

// The number the telephone service is asked to dial for a drop-down text: its digits, "8" in front
// of a bracketed code that does not begin with 8, "+7" in front of 8 or 9 digits. Empty when fewer
// than three digits are left (nothing is dialled).
std::u16string numberToDial(const WCHAR* text);

// What the browser is started with for a web text: from the host (past a scheme, "//" and anything
// before the last separator in front of the first ".") up to the first " ,;:|". Empty for an empty
// text and for a text without any "." (no host can be told in it).
std::u16string webHostText(const WCHAR* text);

// The mail program's command line for an e-mail text (leading spaces skipped): -to "text", a fixed
// subject and a fixed body. Empty when nothing is left.
std::u16string emailCommandLine(const WCHAR* text);

// The notes of a firm's comment filed under a rubric: every "|xx|... |$note|" whose key holds the
// first two characters of the rubric's code, joined by an empty line. An occurrence of the key
// without "|$" after it ends the search.
constexpr int notesFound = 0;
constexpr int notesKeyAbsent = -1;
constexpr int notesNoMemory = -2;
// notesFound with `joined` a LocalAlloc'ed text (possibly empty; the caller frees it), or
// notesKeyAbsent / notesNoMemory with `joined` null.
int rubricNotes(const char* comment, const char* code, WCHAR*& joined);
