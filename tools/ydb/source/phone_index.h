// Which numbers a firm is found by in the telephone index.
//
// The search reads the typed number (at most 9 digits) as a decimal integer, so every entry is a
// number of at most 9 digits. Each telephone text of a firm (the main telephone and every item of its
// list) gives:
//   - only its part before the first letter ("ф" marks a fax, "доб." an extension);
//   - its digits, in order, as the whole number, when there are 3 to 9 of them;
//   - its local part, when it differs from the whole: the digits after a bracketed code
//     ("(812) 325-12-12" gives 3251212), or, for an unbracketed number of more than 9 digits, its
//     last 7 digits; again only when 3 to 9 digits long.
// A number is kept once per firm.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Appends the index numbers of one telephone text (code page 1251) to `numbers`, without duplicates.
void phoneIndexNumbers(std::string_view telephone, std::vector<uint32_t>& numbers);

// What a publisher should hear about one telephone text (code page 1251) before it goes into the
// index, in UTF-8 with the text quoted: a lone letter before its digits end (a Cyrillic О or З typed
// for 0 or 3 cuts the number there), or a text that gives the index no number at all. Empty when
// the text gives what it seems to hold, or is empty.
std::string telephoneWarning(std::string_view telephone);
