// Screenshots: a framebuffer written as an 8-bit RGB PNG.
#include "platform/gdi/png_writer.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace gdi {

namespace {

bool writeFile(const Framebuffer& framebuffer, FILE* file)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    std::vector<png_byte> row(static_cast<size_t>(framebuffer.width) * 3);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(framebuffer.width), static_cast<png_uint_32>(framebuffer.height),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < framebuffer.height; ++y) {
        const uint32_t* source = framebuffer.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(framebuffer.width);
        for (int x = 0; x < framebuffer.width; ++x) {
            row[3 * static_cast<size_t>(x)] = static_cast<png_byte>(source[x] >> 16);
            row[3 * static_cast<size_t>(x) + 1] = static_cast<png_byte>(source[x] >> 8);
            row[3 * static_cast<size_t>(x) + 2] = static_cast<png_byte>(source[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool savePng(const Framebuffer& framebuffer, const std::string& path)
{
    if (framebuffer.width <= 0 || framebuffer.height <= 0 ||
        framebuffer.pixels.size() != static_cast<size_t>(framebuffer.width) * static_cast<size_t>(framebuffer.height))
        return false;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool written = writeFile(framebuffer, file);
    // A full disk shows only when the buffered rest is flushed.
    written = std::fclose(file) == 0 && written;
    if (!written)
        std::remove(path.c_str());
    return written;
}

} // namespace gdi
