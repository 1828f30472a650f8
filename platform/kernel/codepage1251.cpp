#include "codepage1251.h"

#include <algorithm>
#include <array>
#include <utility>

namespace kernel {
namespace {

// Bytes 0x80-0xBF; 0xC0-0xFF are U+0410-U+044F in order. 0x98 is unassigned in the code page;
// the device maps it to U+0098, and so do we, so that every byte survives a round trip.
constexpr std::array<char16_t, 64> upperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

struct ReverseEntry {
    char16_t unit;
    unsigned char byte;
};

// The non-ASCII half sorted by UTF-16 unit, for a binary search.
constexpr std::array<ReverseEntry, 128> makeReverse() {
    std::array<ReverseEntry, 128> table{};
    for (unsigned i = 0; i < 128; ++i) {
        const auto byte = static_cast<unsigned char>(0x80 + i);
        table[i] = {byte < 0xC0 ? upperHalf[i] : static_cast<char16_t>(0x410 + (byte - 0xC0)), byte};
    }
    std::sort(table.begin(), table.end(), [](ReverseEntry a, ReverseEntry b) { return a.unit < b.unit; });
    return table;
}

constexpr std::array<ReverseEntry, 128> reverse = makeReverse();

constexpr std::array<char16_t, 256> makeUnits() {
    std::array<char16_t, 256> units{};
    for (unsigned b = 0; b < 256; ++b)
        units[b] = b < 0x80 ? static_cast<char16_t>(b)
                 : b >= 0xC0 ? static_cast<char16_t>(0x410 + (b - 0xC0))
                             : upperHalf[b - 0x80];
    return units;
}

}  // namespace

const std::array<char16_t, 256> cp1251Units = makeUnits();

char16_t cp1251ToUnicode(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xC0) return static_cast<char16_t>(0x410 + (byte - 0xC0));
    return upperHalf[byte - 0x80];
}

int unicodeToCp1251(char16_t unit) {
    if (unit < 0x80) return unit;
    if (unit >= 0x410 && unit <= 0x44F) return 0xC0 + (unit - 0x410);
    const auto* found = std::lower_bound(reverse.begin(), reverse.end(), unit,
                                         [](ReverseEntry e, char16_t u) { return e.unit < u; });
    return (found != reverse.end() && found->unit == unit) ? found->byte : -1;
}

}  // namespace kernel
