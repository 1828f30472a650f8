// Arbitrary bytes taken as every kind of picture resource the programs load: a bitmap, an icon
// image under a sound directory, and an icon directory itself; whatever loads is drawn.
#pragma once

#include <cstddef>
#include <cstdint>

// Returns how many pictures loaded.
int exerciseImageResources(const uint8_t* data, size_t size);
