// Pictures of pages: read from the device file system once per address, kept as plain pixels,
// and drawn scaled into whatever part of their box is visible. Pictures are BMP or PNG files.
#pragma once

#include "win32.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace htmlview {

// Larger pictures are refused (shown as their empty box).
constexpr int maxImageSide = 2048;

struct PageImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // 0x00RRGGBB, top row first
};

// A Windows bitmap file (any depth the drawing layer reads). False for anything else, and for a
// damaged or oversized one.
bool decodeBitmapFile(std::string_view bytes, PageImage& image);
// A bitmap or PNG file (transparent parts of a PNG over white, the page's background). False for
// other formats (GIF, JPEG), which show as their empty box.
bool decodePicture(std::string_view bytes, PageImage& image);

// Draws the picture stretched over `box`, only where `box` meets `clip` (target coordinates).
void drawPageImage(HDC dc, const PageImage& image, const RECT& box, const RECT& clip);

} // namespace htmlview
