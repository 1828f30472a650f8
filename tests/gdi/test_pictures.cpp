#include "tests/gdi/test_pictures.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <random>
#include <unistd.h>

namespace gdi_test {

void put16(std::vector<uint8_t>& v, size_t at, uint32_t x)
{
    v[at] = static_cast<uint8_t>(x);
    v[at + 1] = static_cast<uint8_t>(x >> 8);
}

void put32(std::vector<uint8_t>& v, size_t at, uint32_t x)
{
    put16(v, at, x);
    put16(v, at + 2, x >> 16);
}

std::vector<uint8_t> BmpFile::packed() const
{
    std::vector<uint8_t> out = info;
    out.insert(out.end(), bits.begin(), bits.end());
    return out;
}

BmpFile makeBmp(int width, int height, int depth, bool topDown, uint32_t seed)
{
    std::mt19937 random(seed);
    BmpFile bmp;
    size_t colours = depth <= 8 ? (size_t{1} << depth) : 0;
    bmp.info.assign(40 + 4 * colours, 0);
    put32(bmp.info, 0, 40);
    put32(bmp.info, 4, static_cast<uint32_t>(width));
    put32(bmp.info, 8, static_cast<uint32_t>(topDown ? -height : height));
    put16(bmp.info, 12, 1);
    put16(bmp.info, 14, static_cast<uint32_t>(depth));
    for (size_t i = 0; i < colours; ++i) {
        bmp.info[40 + 4 * i] = static_cast<uint8_t>(random());
        bmp.info[41 + 4 * i] = static_cast<uint8_t>(random());
        bmp.info[42 + 4 * i] = static_cast<uint8_t>(random());
    }
    size_t stride = (static_cast<size_t>(width) * static_cast<size_t>(depth) + 31) / 32 * 4;
    bmp.bits.assign(stride * static_cast<size_t>(height), 0);
    for (size_t row = 0; row < static_cast<size_t>(height); ++row)
        for (size_t i = 0; i < (static_cast<size_t>(width) * static_cast<size_t>(depth) + 7) / 8; ++i)
            bmp.bits[row * stride + i] = static_cast<uint8_t>(random());
    if (depth == 16) // the top bit of a 5-5-5 pixel is unused
        for (size_t i = 1; i < bmp.bits.size(); i += 2)
            bmp.bits[i] &= 0x7F;
    if (depth == 32)
        for (size_t i = 3; i < bmp.bits.size(); i += 4)
            bmp.bits[i] = 0;
    bmp.file.assign(14, 0);
    bmp.file[0] = 'B';
    bmp.file[1] = 'M';
    put32(bmp.file, 2, static_cast<uint32_t>(14 + bmp.info.size() + bmp.bits.size()));
    put32(bmp.file, 10, static_cast<uint32_t>(14 + bmp.info.size()));
    bmp.file.insert(bmp.file.end(), bmp.info.begin(), bmp.info.end());
    bmp.file.insert(bmp.file.end(), bmp.bits.begin(), bmp.bits.end());
    return bmp;
}

bool haveReferenceDecoder() { return access("/usr/bin/convert", X_OK) == 0; }

std::vector<uint32_t> decodeWithImageMagick(const std::vector<uint8_t>& file)
{
    std::string path = testing::TempDir() + "gdi_dib_" + std::to_string(::getpid()) + ".bmp";
    std::vector<uint32_t> pixels;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return pixels;
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
    std::string command = "/usr/bin/convert BMP:" + path + " -alpha off -depth 8 RGB:-";
    FILE* pipe = popen(command.c_str(), "r");
    uint8_t rgb[3];
    while (pipe != nullptr && std::fread(rgb, 1, 3, pipe) == 3)
        pixels.push_back(static_cast<uint32_t>(rgb[0] << 16 | rgb[1] << 8 | rgb[2]));
    if (pipe != nullptr)
        pclose(pipe);
    std::remove(path.c_str());
    return pixels;
}

std::vector<uint8_t> encodePng(int width, int height, const std::vector<uint32_t>& pixels)
{
    std::vector<uint8_t> rgba;
    for (uint32_t p : pixels)
        rgba.insert(rgba.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p),
                                 static_cast<uint8_t>(p >> 24)});
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    std::vector<uint8_t> out;
    if (png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr) == 0)
        return out;
    out.resize(size);
    if (png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr) == 0)
        out.clear();
    out.resize(size);
    return out;
}

std::vector<uint8_t> groupDirectory(const std::vector<IconImage>& images)
{
    std::vector<uint8_t> out(6 + 14 * images.size(), 0);
    put16(out, 2, 1);
    put16(out, 4, static_cast<uint32_t>(images.size()));
    for (size_t i = 0; i < images.size(); ++i) {
        size_t at = 6 + 14 * i;
        out[at] = static_cast<uint8_t>(images[i].width);
        out[at + 1] = static_cast<uint8_t>(images[i].height);
        put16(out, at + 4, 1);
        put16(out, at + 6, static_cast<uint32_t>(images[i].bitCount));
        put16(out, at + 12, images[i].id);
    }
    return out;
}

} // namespace gdi_test
