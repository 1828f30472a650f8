// The layout of a device-independent bitmap as its header describes it: what CreateDIBSection,
// LoadBitmap and icon images share. Every size is checked before it is used.
#pragma once

#include "platform/gdi/gdi_state.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gdi {

struct DibLayout {
    int width = 0;
    int height = 0; // positive; topDown tells the row order
    bool topDown = false;
    int depth = 0;
    uint32_t masks[3] = {0, 0, 0}; // set for BI_BITFIELDS only
    bool bitfields = false;
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    size_t headerBytes = 0;         // header, masks and colour table: where the pixel rows start
    size_t stride = 0;              // bytes per row, a multiple of 4
};

enum class TableRule {
    // A program's own structure: a colour table that claims more entries than the depth can
    // address is cut to what it can (the extra entries are never read).
    clamp,
    // Stored data: such a table is damage, and the rows would be looked for in the wrong place.
    strict,
};

// Reads the header at data (size bytes readable). heightDivisor is 2 for icon images, whose
// header counts the colour rows and the mask rows together. False for anything unusable: an
// unknown size or depth, compression other than BI_RGB or BI_BITFIELDS, a zero or huge size, a
// colour table or masks beyond size.
bool readDibLayout(const uint8_t* data, size_t size, TableRule rule, int heightDivisor, DibLayout& layout);

// Row size in bytes rounded up to 4, or 0 when the width is unusable.
size_t rowBytes(int width, int bitsPerPixel);
// A new bitmap object, its rows zero; null when a side is not positive or the rows would exceed
// 256 MB.
HBITMAP makeBitmap(int width, int height, int bitsPerPixel, bool topDown);
// A new bitmap object of the layout's size, depth, order, masks and palette, its rows zero.
HBITMAP makeBitmapOf(const DibLayout& layout);

// Reads pixel (x, y), top row first, of rows laid out as the layout says, as 0x00RRGGBB.
uint32_t readLayoutPixel(const DibLayout& layout, const uint8_t* rows, int x, int y);

} // namespace gdi
