#include "tools/ydb/source/bitmap_check.h"

#include <cstdint>
#include <cstdlib>

namespace {

uint32_t u32(const std::string& b, size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}
uint16_t u16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

} // namespace

bool checkBitmap(std::string& bytes, std::string& why) {
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') {
        why = "not a Windows bitmap file";
        return false;
    }
    if (bytes.size() > 0x7FFFFFFF) {
        why = "too large";
        return false;
    }
    uint32_t offBits = u32(bytes, 10);
    uint32_t infoSize = u32(bytes, 14);
    int32_t width = static_cast<int32_t>(u32(bytes, 18));
    int32_t height = static_cast<int32_t>(u32(bytes, 22));
    uint16_t planes = u16(bytes, 26);
    uint16_t bpp = u16(bytes, 28);
    uint32_t compression = u32(bytes, 30);
    uint32_t colorsUsed = u32(bytes, 46);
    if (infoSize < 40 || 14ull + infoSize > offBits || offBits > bytes.size()) {
        why = "bitmap header and pixel offset do not agree";
        return false;
    }
    if (width <= 0 || width > 32767 || height == 0 || height < -32767 || height > 32767 || planes != 1) {
        why = "width or height out of range (1 to 32767)";
        return false;
    }
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        why = "unsupported bits per pixel " + std::to_string(bpp);
        return false;
    }
    if (compression != 0) {
        why = "compressed bitmaps are not supported";
        return false;
    }
    uint64_t colors = bpp <= 8 ? (colorsUsed != 0 ? colorsUsed : (1u << bpp)) : colorsUsed;
    if (bpp <= 8 && colors > (1u << bpp)) {
        why = "colour table larger than the bit depth allows";
        return false;
    }
    if (14ull + infoSize + 4 * colors > offBits) {
        why = "colour table overlaps the pixel rows";
        return false;
    }
    uint64_t rowSize = (static_cast<uint64_t>(width) * bpp + 31) / 32 * 4;
    uint64_t pixelBytes = rowSize * static_cast<uint64_t>(std::abs(height));
    if (offBits + pixelBytes > bytes.size()) {
        why = "pixel rows end before the picture does (" + std::to_string(bytes.size()) + " bytes, need " +
              std::to_string(offBits + pixelBytes) + ")";
        return false;
    }
    uint32_t size = static_cast<uint32_t>(bytes.size());
    for (int i = 0; i < 4; ++i) bytes[2 + i] = static_cast<char>(size >> (8 * i));
    return true;
}
