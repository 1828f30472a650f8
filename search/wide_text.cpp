#include "search/wide_text.h"

#include <cstring>

#include "db/text_fields.h"
#include "win32.h"

void toWide(const char* text, WCHAR* out, size_t capacity) {
    toWide(text, text ? std::strlen(text) : 0, out, capacity);
}

void toWide(const char* text, size_t length, WCHAR* out, size_t capacity) {
    if (!text) length = 0;
    convertText(text ? text : "", length, out, capacity);
}

size_t toCodePage(const WCHAR* text, char* out, size_t capacity) {
    if (capacity == 0) return 0;
    size_t n = wideLength(text);
    if (n > capacity - 1) n = capacity - 1;
    int written = 0;
    if (n > 0)
        written = WideCharToMultiByte(1251, 0, text, static_cast<int>(n), out, static_cast<int>(n), nullptr, nullptr);
    const size_t length = written > 0 ? static_cast<size_t>(written) : 0;
    out[length] = 0;
    return length;
}

size_t wideLength(const WCHAR* text) {
    size_t n = 0;
    if (text)
        while (text[n]) ++n;
    return n;
}
