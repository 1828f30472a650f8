#include "tools/ydb/import/text_fold.h"

#include <cstdint>

#include "tools/ydb/source/cp1251.h"

namespace {

// The base letters of U+00C0..U+00FF and U+0100..U+017F; '?' where the letter is written with two.
constexpr std::string_view latin1Bases = "AAAAAA?CEEEEIIIIDNOOOOOxOUUUUY??aaaaaa?ceeeeiiiidnooooo?ouuuuy?y";
constexpr std::string_view extendedABases =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi??JjKkkLlLlLlLlLlNnNnNnnNnOoOoOo??RrRrRrSsSsSsSsTtTtTt"
    "UuUuUuUuUuUuWwYyYZzZzZzs";
static_assert(latin1Bases.size() == 0x40 && extendedABases.size() == 0x80);

std::string_view twoLetters(uint32_t cp) {
    switch (cp) {
    case 0xC6: return "AE";
    case 0xDE: return "Th";
    case 0xDF: return "ss";
    case 0xE6: return "ae";
    case 0xF7: return "";   // the division sign
    case 0xFE: return "th";
    case 0x132: return "IJ";
    case 0x133: return "ij";
    case 0x152: return "OE";
    case 0x153: return "oe";
    default: return {};
    }
}

bool dropped(uint32_t cp) {
    return (cp >= 0x0300 && cp <= 0x036F) ||   // combining diacritics
           (cp >= 0x200B && cp <= 0x200F) || cp == 0x2060 || cp == 0xFEFF ||   // invisible marks
           (cp >= 0x2190 && cp <= 0x2BFF && cp != 0x2212) ||   // arrows, technical and other symbols
           (cp >= 0xFE00 && cp <= 0xFE0F) || (cp >= 0x1F000 && cp <= 0x1FAFF) || (cp >= 0xE0000 && cp <= 0xE007F);
}

// Appends what stands for `cp`; false when nothing can.
bool appendFolded(uint32_t cp, std::string& out) {
    if (cp < 0x20 || cp == 0x7F) cp = ' ';
    if (cp == 0xA0 || (cp >= 0x2000 && cp <= 0x200A) || cp == 0x202F || cp == 0x205F || cp == 0x3000) cp = ' ';
    if ((cp >= 0x2010 && cp <= 0x2012) || cp == 0x2212 || cp == 0x2043) cp = '-';
    if (cp == 0x201B || cp == 0x2032) cp = '\'';
    if (cp == 0x201F || cp == 0x2033) cp = '"';
    int b = cp1251ByteOf(cp);
    if (b >= 0) {
        out += static_cast<char>(b);
        return true;
    }
    if (dropped(cp)) return true;
    char base = 0;
    if (cp >= 0xC0 && cp <= 0xFF) base = latin1Bases[cp - 0xC0];
    if (cp >= 0x100 && cp <= 0x17F) base = extendedABases[cp - 0x100];
    if (base == 0) return false;
    if (base == '?')
        out += twoLetters(cp);
    else
        out += base;
    return true;
}

} // namespace

bool foldToCp1251(std::string_view utf8, std::string& out) {
    std::string folded;
    folded.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        uint32_t cp = 0;
        if (!nextCodePoint(utf8, i, cp) || !appendFolded(cp, folded)) return false;
    }
    out.clear();
    for (char c : folded)
        if (c != ' ' || (!out.empty() && out.back() != ' ')) out += c;
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return true;
}
