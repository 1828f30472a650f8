// The city-dependent tiles of the home screen: two sets of captions, pages and pictures, chosen
// by the open edition's city letter (М, 0xCC in code page 1251, picks the second).
#pragma once

#include <cstdint>

constexpr uint8_t secondCityLetter = 0xCC;

// 1 writes the second set into the tile table, 0 the first; other values change nothing.
// Nothing is laid out or redrawn here.
void applyCityVariant(int selector);
