// Small text rules shared by the web and mail addresses.
#pragma once

#include <string>
#include <string_view>

namespace host {

// True when the text holds a control character (below U+0020, or DEL).
bool hasControlCharacter(std::string_view text);
// Percent-encodes every byte that is not unreserved in a URI and not in `keep`.
std::string percentEncode(std::string_view text, std::string_view keep);
std::string_view trimBlanks(std::string_view text);
bool startsWithNoCase(std::string_view text, std::string_view prefix);

}  // namespace host
