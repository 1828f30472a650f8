// The panel's three keyboards. Each row fills 24 units; letters come in the order of the
// device's keyboards, so that a user finds them where the hardware keyboard has them.
#include "platform/shell/sip_layouts.h"

#include <array>

namespace shell {

namespace {

constexpr SipKey key(char16_t ch, int units = 2) { return SipKey{KeyKind::character, ch, SipLayout::russian, units, nullptr}; }
constexpr SipKey special(KeyKind kind, const char16_t* label, int units)
{
    return SipKey{kind, 0, SipLayout::russian, units, label};
}
constexpr SipKey labelled(char16_t ch, const char16_t* label, int units)
{
    return SipKey{KeyKind::character, ch, SipLayout::russian, units, label};
}
constexpr SipKey tab(SipLayout target, const char16_t* label)
{
    return SipKey{KeyKind::layout, 0, target, 3, label};
}

constexpr SipKey backspace = special(KeyKind::backspace, u"\u2190", 2);
constexpr SipKey enterKey = special(KeyKind::enter, u"\u21B5", 2);

// The last row is the same on every keyboard: the layout tabs and the space bar.
constexpr std::array bottomRow{tab(SipLayout::russian, u"\u0420\u0443\u0441"), tab(SipLayout::latin, u"Lat"),
                               tab(SipLayout::digits, u"123"), labelled(u' ', u"", 9), key(u','), key(u'.'),
                               key(u'-')};
static_assert(bottomRow.size() == 7);

constexpr std::array russian0{key(u'\u0451'), key(u'1'), key(u'2'), key(u'3'), key(u'4'), key(u'5'),
                              key(u'6'),      key(u'7'), key(u'8'), key(u'9'), key(u'0'), backspace};
constexpr std::array russian1{key(u'\u0439'), key(u'\u0446'), key(u'\u0443'), key(u'\u043A'),
                              key(u'\u0435'), key(u'\u043D'), key(u'\u0433'), key(u'\u0448'),
                              key(u'\u0449'), key(u'\u0437'), key(u'\u0445'), key(u'\u044A')};
constexpr std::array russian2{key(u'\u0444'), key(u'\u044B'), key(u'\u0432'), key(u'\u0430'),
                              key(u'\u043F'), key(u'\u0440'), key(u'\u043E'), key(u'\u043B'),
                              key(u'\u0434'), key(u'\u0436'), key(u'\u044D'), enterKey};
constexpr std::array russian3{special(KeyKind::shift, u"\u21E7", 3), key(u'\u044F'), key(u'\u0447'),
                              key(u'\u0441'), key(u'\u043C'), key(u'\u0438'), key(u'\u0442'),
                              key(u'\u044C'), key(u'\u0431'), key(u'\u044E'), key(u'"', 3)};

constexpr std::array latin0{key(u'1'), key(u'2'), key(u'3'), key(u'4'), key(u'5'), key(u'6'),
                            key(u'7'), key(u'8'), key(u'9'), key(u'0'), key(u'@'), backspace};
constexpr std::array latin1{key(u'q'), key(u'w'), key(u'e'), key(u'r'), key(u't'), key(u'y'),
                            key(u'u'), key(u'i'), key(u'o'), key(u'p'), key(u'/'), key(u'_')};
constexpr std::array latin2{key(u'a', 3), key(u's'), key(u'd'), key(u'f'), key(u'g'), key(u'h'),
                            key(u'j'), key(u'k'), key(u'l'), key(u':'), special(KeyKind::enter, u"\u21B5", 3)};
constexpr std::array latin3{special(KeyKind::shift, u"\u21E7", 4), key(u'z'), key(u'x'), key(u'c'),
                            key(u'v'), key(u'b'), key(u'n'), key(u'm'), key(u'\''), key(u'&', 4)};

constexpr std::array digits0{key(u'1', 4), key(u'2', 4), key(u'3', 4), key(u'+', 4), key(u'(', 4),
                             special(KeyKind::backspace, u"\u2190", 4)};
constexpr std::array digits1{key(u'4', 4), key(u'5', 4), key(u'6', 4), key(u'*', 4), key(u')', 4),
                             key(u'/', 4)};
constexpr std::array digits2{key(u'7', 4), key(u'8', 4), key(u'9', 4), key(u'#', 4), key(u'=', 4),
                             special(KeyKind::enter, u"\u21B5", 4)};
constexpr std::array digits3{key(u'0', 8), key(u'.', 4), key(u'%', 4), key(u':', 4), key(u';', 4)};

template <size_t N>
constexpr int unitsOf(const std::array<SipKey, N>& row)
{
    int total = 0;
    for (const SipKey& k : row) total += k.units;
    return total;
}
static_assert(unitsOf(bottomRow) == sipUnitsPerRow);
static_assert(unitsOf(russian0) == sipUnitsPerRow && unitsOf(russian1) == sipUnitsPerRow);
static_assert(unitsOf(russian2) == sipUnitsPerRow && unitsOf(russian3) == sipUnitsPerRow);
static_assert(unitsOf(latin0) == sipUnitsPerRow && unitsOf(latin1) == sipUnitsPerRow);
static_assert(unitsOf(latin2) == sipUnitsPerRow && unitsOf(latin3) == sipUnitsPerRow);
static_assert(unitsOf(digits0) == sipUnitsPerRow && unitsOf(digits1) == sipUnitsPerRow);
static_assert(unitsOf(digits2) == sipUnitsPerRow && unitsOf(digits3) == sipUnitsPerRow);

int rowTop(int height, int row) { return height * row / sipRowCount; }
int unitLeft(int width, int unit) { return width * unit / sipUnitsPerRow; }

}  // namespace

std::span<const SipKey> sipRow(SipLayout layout, int row)
{
    if (row == sipRowCount - 1) return bottomRow;
    switch (layout) {
    case SipLayout::russian:
        switch (row) {
        case 0: return russian0;
        case 1: return russian1;
        case 2: return russian2;
        case 3: return russian3;
        default: return {};
        }
    case SipLayout::latin:
        switch (row) {
        case 0: return latin0;
        case 1: return latin1;
        case 2: return latin2;
        case 3: return latin3;
        default: return {};
        }
    case SipLayout::digits:
        switch (row) {
        case 0: return digits0;
        case 1: return digits1;
        case 2: return digits2;
        case 3: return digits3;
        default: return {};
        }
    }
    return {};
}

const SipKey* sipKey(SipLayout layout, KeyHit hit)
{
    const std::span<const SipKey> row = sipRow(layout, hit.row);
    if (hit.index < 0 || static_cast<size_t>(hit.index) >= row.size()) return nullptr;
    return &row[static_cast<size_t>(hit.index)];
}

RECT sipKeyRect(SipLayout layout, int width, int height, KeyHit hit)
{
    const std::span<const SipKey> row = sipRow(layout, hit.row);
    if (hit.index < 0 || static_cast<size_t>(hit.index) >= row.size()) return RECT{0, 0, 0, 0};
    int unit = 0;
    for (int i = 0; i < hit.index; ++i) unit += row[static_cast<size_t>(i)].units;
    const int units = row[static_cast<size_t>(hit.index)].units;
    return RECT{unitLeft(width, unit), rowTop(height, hit.row), unitLeft(width, unit + units),
                rowTop(height, hit.row + 1)};
}

KeyHit sipKeyAt(SipLayout layout, int width, int height, POINT point)
{
    if (width <= 0 || height <= 0 || point.x < 0 || point.y < 0 || point.x >= width || point.y >= height) return {};
    int row = 0;
    while (row + 1 < sipRowCount && point.y >= rowTop(height, row + 1)) ++row;
    const std::span<const SipKey> keys = sipRow(layout, row);
    int unit = 0;
    for (size_t i = 0; i < keys.size(); ++i) {
        unit += keys[i].units;
        if (point.x < unitLeft(width, unit)) return KeyHit{row, static_cast<int>(i)};
    }
    return {};
}

char16_t typedCharacter(const SipKey& key, bool shift)
{
    const char16_t ch = key.ch;
    if (!shift) return ch;
    if (ch >= u'a' && ch <= u'z') return static_cast<char16_t>(ch - 0x20);
    if (ch >= u'\u0430' && ch <= u'\u044F') return static_cast<char16_t>(ch - 0x20);
    if (ch == u'\u0451') return u'\u0401';
    return ch;
}

std::u16string keyLabel(const SipKey& key, bool shift)
{
    if (key.label != nullptr) return key.label;
    return std::u16string(1, typedCharacter(key, shift));
}

}  // namespace shell
