// The text a web and e-mail search looks in: a firm's web address and e-mail joined by "|" as the
// firm slot's fields hold them (each cut to 63 characters), in code page 1251, upper case, cut to
// the 99 characters of the search's buffer.
#pragma once

#include <cstddef>

#include "search/text_match.h"

constexpr size_t addressKeyCapacity = 100;  // 99 characters and the 0

// Through the conversions themselves: both texts to UTF-16, joined, back to code page 1251, folded.
size_t addressKeyByConversion(const char* web, size_t webLength, const char* email, size_t emailLength,
                              char (&out)[addressKeyCapacity]);

// The same text byte by byte, through a table the conversions made of each byte once: the code
// page is single-byte, so a text converts as its bytes do one by one. A million-firm search makes
// a million of these.
size_t addressKey(const char* web, size_t webLength, const char* email, size_t emailLength,
                  char (&out)[addressKeyCapacity]);

// The search key prepared against raw web addresses and e-mails: a firm whose two texts hold none
// of its witnesses cannot have an address key that contains it. None when the table above cannot
// be made (the texts then go through the conversions).
PreparedKey prepareAddressKey(const char* key, size_t length);
