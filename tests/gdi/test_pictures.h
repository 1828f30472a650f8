// Pictures made for the tests: bitmap files of every depth, PNGs with alpha, icon directories,
// and the reference decoder's reading of a bitmap file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gdi_test {

void put16(std::vector<uint8_t>& v, size_t at, uint32_t x);
void put32(std::vector<uint8_t>& v, size_t at, uint32_t x);

struct BmpFile {
    std::vector<uint8_t> info; // header, masks, colour table
    std::vector<uint8_t> bits;
    std::vector<uint8_t> file; // file header, info, bits
    std::vector<uint8_t> packed() const; // info and bits: an RT_BITMAP resource
};

// A bitmap of random pixels with a random colour table.
BmpFile makeBmp(int width, int height, int depth, bool topDown, uint32_t seed);

// ImageMagick's decoder, the reference for bitmap files.
bool haveReferenceDecoder();
// Its pixels of the file, 0x00RRGGBB, top row first; empty when it could not decode it.
std::vector<uint32_t> decodeWithImageMagick(const std::vector<uint8_t>& file);

// An RGBA PNG of 0xAARRGGBB pixels, top row first.
std::vector<uint8_t> encodePng(int width, int height, const std::vector<uint32_t>& pixels);

struct IconImage {
    int width;
    int height;
    int bitCount;
    uint16_t id;
};
// An RT_GROUP_ICON directory naming the images.
std::vector<uint8_t> groupDirectory(const std::vector<IconImage>& images);

} // namespace gdi_test
