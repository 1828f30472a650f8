// PNG pictures from memory through libpng, bounded by the bytes in hand.
#include "platform/gdi/icon_images.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace gdi {

namespace {

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t at;
};

// libpng errors leave through longjmp; nothing here has a destructor to skip.
[[noreturn]] void onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void onWarning(png_structp, png_const_charp) {}

void readBytes(png_structp png, png_bytep out, png_size_t count)
{
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > reader->size - reader->at)
        png_error(png, "truncated");
    std::memcpy(out, reader->data + reader->at, count);
    reader->at += count;
}

struct Decoding {
    MemoryReader reader;
    std::vector<uint8_t> rgba;
    std::vector<png_bytep> rows;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
};

// Separate from the caller so that the only state touched after setjmp lives behind a pointer.
bool run(png_structp png, png_infop info, Decoding* d)
{
    if (setjmp(png_jmpbuf(png)) != 0)
        return false;
    png_set_read_fn(png, &d->reader, &readBytes);
    png_set_user_limits(png, maxIconSide, maxIconSide);
    // A bomb of a compressed stream stops at what a largest icon can need.
    png_set_chunk_malloc_max(png, 8u << 20);
    png_read_info(png, info);
    int bitDepth = 0, colourType = 0;
    png_get_IHDR(png, info, &d->width, &d->height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
    if (d->width == 0 || d->height == 0 || d->width > maxIconSide || d->height > maxIconSide)
        return false;
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS) != 0)
        png_set_tRNS_to_alpha(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<size_t>(d->width) * 4)
        return false;
    d->rgba.resize(static_cast<size_t>(d->width) * d->height * 4);
    d->rows.resize(d->height);
    for (png_uint_32 y = 0; y < d->height; ++y)
        d->rows[y] = d->rgba.data() + static_cast<size_t>(y) * d->width * 4;
    png_read_image(png, d->rows.data());
    return true;
}

} // namespace

bool decodePng(const uint8_t* data, size_t size, IconData& icon)
{
    if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, &onError, &onWarning);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    Decoding d{{data, size, 0}, {}, {}};
    bool ok = run(png, info, &d);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok)
        return false;
    icon.width = static_cast<int>(d.width);
    icon.height = static_cast<int>(d.height);
    icon.pixels.resize(static_cast<size_t>(d.width) * d.height);
    for (size_t i = 0; i < icon.pixels.size(); ++i) {
        const uint8_t* p = d.rgba.data() + 4 * i;
        icon.pixels[i] = static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[0] << 16 | p[1] << 8 | p[2]);
    }
    return true;
}

} // namespace gdi
