// How list texts compare: the order of sorted list boxes and the matching of LB_FINDSTRING.
#pragma once

#include <string_view>

namespace controls {

// The device's case-insensitive order: symbols and blanks first, then digits, then Latin
// letters, then Cyrillic letters (Ё after Е); within a class by folded character, then by
// length. Hyphens and apostrophes count only between texts equal without them (word sort).
// Answers < 0, 0 or > 0.
int compareListText(std::u16string_view a, std::u16string_view b);

// True when text begins with prefix, letter case ignored. An empty prefix matches every text.
bool startsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix);
bool equalsIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace controls
