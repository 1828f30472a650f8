#include "search/search_text.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

// Code page 1251: а..е, ё, ж..я, then the Latin letters in keyboard order; the upper-case string
// holds the same letters at the same positions.
constexpr char lowerLetters[] = "\xE0\xE1\xE2\xE3\xE4\xE5\xB8\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF"
                                "\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF7\xF8\xF9\xFA\xFB\xFC\xFD\xFE\xFF"
                                "qwertyuiopasdfghjklzxcvbnm";
constexpr char upperLetters[] = "\xC0\xC1\xC2\xC3\xC4\xC5\xA8\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF"
                                "\xD0\xD1\xD2\xD3\xD4\xD5\xD6\xD7\xD8\xD9\xDA\xDB\xDC\xDD\xDE\xDF"
                                "QWERTYUIOPASDFGHJKLZXCVBNM";
static_assert(sizeof lowerLetters == 60 && sizeof upperLetters == 60, "59 letters each");

constexpr uint8_t capitalYo = 0xA8;
constexpr uint8_t capitalYe = 0xC5;

constexpr std::array<uint8_t, 256> makeUpcaseTable() {
    std::array<uint8_t, 256> table{};
    for (int b = 0; b < 256; ++b) table[b] = static_cast<uint8_t>(b);
    for (size_t i = 0; i + 1 < sizeof lowerLetters; ++i)
        table[static_cast<uint8_t>(lowerLetters[i])] = static_cast<uint8_t>(upperLetters[i]);
    return table;
}
constexpr std::array<uint8_t, 256> upcaseTable = makeUpcaseTable();

// What a walk does with each byte: keep it, drop it, or write Е for Ё.
enum : uint8_t { keep = 0, drop = 1 };

constexpr std::array<uint8_t, 256> makeDropTable(const char* dropped) {
    std::array<uint8_t, 256> table{};
    for (const char* p = dropped; *p; ++p) table[static_cast<uint8_t>(*p)] = drop;
    return table;
}
constexpr std::array<uint8_t, 256> keyDrops = makeDropTable("\"&'(),-. @\xAB");
constexpr std::array<uint8_t, 256> nameDrops = makeDropTable("\"&',-.@\xAB\xBB");

size_t compactWith(char* text, const std::array<uint8_t, 256>& drops) {
    size_t write = 0;
    for (size_t read = 0; text[read] != '\0'; ++read) {
        const auto byte = static_cast<uint8_t>(text[read]);
        if (drops[byte] == drop) continue;
        text[write++] = static_cast<char>(byte == capitalYo ? capitalYe : byte);
    }
    text[write] = '\0';
    return write;
}

} // namespace

char* upcaseText(char* text) {
    for (size_t i = std::strlen(text); i-- > 0;)
        text[i] = static_cast<char>(upcaseTable[static_cast<uint8_t>(text[i])]);
    return text;
}

size_t compactKey(char* text) { return compactWith(text, keyDrops); }

size_t cleanName(char* text) { return compactWith(text, nameDrops); }
