// Damaging a written image on purpose, for the tests of bad input: fields overwritten in place,
// table boundaries moved, the file cut short. Offsets are absolute file offsets (see
// absoluteOffset); a patch that would reach past the image's end is refused with false.
#pragma once

#include <cstdint>
#include <string_view>

#include "tools/writer/edition_writer.h"

bool patchU8(DatabaseImage& image, uint32_t at, uint8_t value);
bool patchU16(DatabaseImage& image, uint32_t at, uint16_t value);
bool patchU32(DatabaseImage& image, uint32_t at, uint32_t value);
bool patchBytes(DatabaseImage& image, uint32_t at, std::string_view bytes);
// Sets the header's tableStart[k] (and image.tableStart[k]).
bool setTableStart(DatabaseImage& image, int k, uint32_t value);
// Keeps the first `size` bytes.
bool truncateImage(DatabaseImage& image, uint32_t size);
