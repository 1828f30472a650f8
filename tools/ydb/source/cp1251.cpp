#include "tools/ydb/source/cp1251.h"

#include <cstdint>
#include <cstdio>

namespace {

// Unicode of the bytes 0x80..0xBF; 0xC0..0xFF are А..я (U+0410..U+044F) in order.
constexpr char16_t upperHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char16_t unicodeOf(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xC0) return static_cast<char16_t>(0x0410 + (byte - 0xC0));
    return upperHalf[byte - 0x80];
}

} // namespace

int cp1251ByteOf(uint32_t cp) {
    if (cp < 0x80) return static_cast<int>(cp);
    if (cp >= 0x0410 && cp <= 0x044F) return static_cast<int>(0xC0 + (cp - 0x0410));
    for (int i = 0; i < 64; ++i)
        if (upperHalf[i] == cp && cp != 0xFFFD) return 0x80 + i;
    return -1;
}

namespace {

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

bool nextCodePoint(std::string_view text, size_t& i, uint32_t& cp) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    int extra = 0;
    if (c < 0x80) {
        cp = c;
    } else if (c >= 0xC2 && c < 0xE0) {
        cp = c & 0x1F, extra = 1;
    } else if (c >= 0xE0 && c < 0xF0) {
        cp = c & 0x0F, extra = 2;
    } else if (c >= 0xF0 && c < 0xF5) {
        cp = c & 0x07, extra = 3;
    } else {
        return false;
    }
    if (extra > 0 && i + static_cast<size_t>(extra) >= text.size()) return false;
    for (int k = 1; k <= extra; ++k) {
        unsigned char n = static_cast<unsigned char>(text[i + k]);
        if ((n & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (n & 0x3F);
    }
    static constexpr uint32_t least[4] = {0, 0x80, 0x800, 0x10000};
    if (cp < least[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += 1 + extra;
    return true;
}

bool utf8ToCp1251(std::string_view utf8, std::string& out, std::string* bad) {
    out.clear();
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        uint32_t cp = 0;
        if (!nextCodePoint(utf8, i, cp)) {
            if (bad) *bad = "invalid UTF-8";
            return false;
        }
        int b = cp1251ByteOf(cp);
        if (b < 0) {
            if (bad) {
                char name[16];
                std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(cp));
                *bad = name;
            }
            return false;
        }
        out += static_cast<char>(b);
    }
    return true;
}

std::string cp1251ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) appendUtf8(out, unicodeOf(static_cast<unsigned char>(c)));
    return out;
}

std::string utf16ToUtf8(const char16_t* text, size_t capacity) {
    std::string out;
    for (size_t i = 0; i < capacity && text[i] != 0; ++i) {
        uint32_t cp = text[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < capacity && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        appendUtf8(out, cp);
    }
    return out;
}

size_t utf8Length(std::string_view utf8) {
    size_t n = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}
