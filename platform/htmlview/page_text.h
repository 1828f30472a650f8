// Turning the bytes of a page into the UTF-8 text the layout engine reads, and the few text
// conversions the view needs on the way (link targets back to code page 1251 for the parent,
// UTF-8 to UTF-16 for drawing).
#pragma once

#include "win32.h"

#include <string>
#include <string_view>

namespace htmlview {

// Pages larger than this are cut here: no edition page comes near it, and a hostile one must
// not make the handheld lay out megabytes.
constexpr size_t maxPageBytes = 1u << 20;

// The code page a page declares in its first bytes ("charset=" in a meta tag, or a UTF-8 byte
// order mark); 1251 when it declares none or one we cannot read.
UINT declaredCodePage(std::string_view bytes);

// The page as UTF-8: converted from its declared code page, NUL bytes dropped (they would end
// the text early), invalid sequences replaced, cut at maxPageBytes.
std::string pageToUtf8(std::string_view bytes);

// Plain text made safe to append to markup (&, < and > written as references).
std::string escapePlainText(std::string_view text);

std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);
// Characters without a 1251 byte become '?'.
std::string utf8To1251(std::string_view text);
std::string cp1251ToUtf8(std::string_view text);

} // namespace htmlview
