// The keyboards of the input panel as data: five rows of keys, each key a number of width units
// out of 24, and the geometry that turns a panel size and a point into a key. Nothing here
// draws or types.
#pragma once

#include "win32.h"

#include <span>
#include <string>

namespace shell {

enum class SipLayout { russian, latin, digits };

enum class KeyKind { character, backspace, enter, shift, layout };

struct SipKey {
    KeyKind kind = KeyKind::character;
    char16_t ch = 0;  // the character typed (lower case for letters)
    SipLayout target = SipLayout::russian;  // KeyKind::layout: the layout it switches to
    int units = 2;
    const char16_t* label = nullptr;  // null: the character itself
};

constexpr int sipRowCount = 5;
constexpr int sipUnitsPerRow = 24;

std::span<const SipKey> sipRow(SipLayout layout, int row);

struct KeyHit {
    int row = -1;
    int index = -1;
    bool valid() const { return row >= 0 && index >= 0; }
    bool operator==(const KeyHit&) const = default;
};

// Panel-relative rectangle of a key; rows share the panel's height, units its width.
RECT sipKeyRect(SipLayout layout, int width, int height, KeyHit key);
// The key under a panel-relative point, or an invalid hit.
KeyHit sipKeyAt(SipLayout layout, int width, int height, POINT point);
const SipKey* sipKey(SipLayout layout, KeyHit key);

// What a character key types and shows: letters in upper case while shift is on.
char16_t typedCharacter(const SipKey& key, bool shift);
std::u16string keyLabel(const SipKey& key, bool shift);

}  // namespace shell
