// Decoding the pictures that icon and bitmap resources hold. Resource data is untrusted: every
// decoder bounds its reads by the size in hand, refuses sizes it cannot hold, and fails with
// false (or null) instead of reading past the end.
#pragma once

#include "platform/gdi/gdi_state.h"

#include <cstddef>
#include <cstdint>

namespace gdi {

// The largest icon side decoded or scaled to; larger pictures are refused.
constexpr int maxIconSide = 1024;

// One RT_ICON image: a PNG, or a DIB whose header counts the colour rows and the mask rows
// together (a 32-bit one carrying its own alpha, the others transparent where the mask is set).
bool decodeIconImage(const uint8_t* data, size_t size, IconData& icon);

// A PNG of any colour type and depth as straight-alpha 0xAARRGGBB pixels.
bool decodePng(const uint8_t* data, size_t size, IconData& icon);

// The picture scaled to width x height by averaging the source pixels each target pixel covers
// (weighted by their alpha, so that transparent pixels lend no colour).
IconData scaleIcon(const IconData& icon, int width, int height);

// An RT_BITMAP resource: a packed DIB (header, colour table, rows), or a whole bitmap file.
// The bitmap keeps the resource's depth. Null when any part is missing or unusable.
HBITMAP bitmapFromResource(const uint8_t* data, size_t size);

} // namespace gdi
