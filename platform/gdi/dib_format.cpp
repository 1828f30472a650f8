// Reading DIB headers, colour tables, masks and pixels of every depth.
#include "platform/gdi/dib_format.h"

#include "platform/gdi/colour.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace gdi {

namespace {

constexpr int maxDimension = 32767;

uint32_t read32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16) | static_cast<uint32_t>(p[3]) << 24;
}

int maskShift(uint32_t mask)
{
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

// Where a channel's field lies in a masked pixel: worked out once for a mask, not per pixel.
struct MaskedChannel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t field = 0;
    int bits = 0;  // the field's low run of set bits
};

MaskedChannel channelOf(uint32_t mask)
{
    MaskedChannel channel;
    channel.mask = mask;
    if (mask == 0)
        return channel;
    channel.shift = maskShift(mask);
    channel.field = mask >> channel.shift;
    while (channel.bits < 32 && (channel.field >> channel.bits & 1) != 0)
        ++channel.bits;
    return channel;
}

// A channel of a masked pixel widened to 8 bits by repeating its bits, so that a full field
// gives 255 and 5-bit 24 gives 198, as the usual decoders have it.
uint32_t widened(uint32_t value, const MaskedChannel& channel)
{
    if (channel.mask == 0)
        return 0;
    const int bits = channel.bits;
    uint32_t v = (value & channel.mask) >> channel.shift & channel.field;
    if (bits >= 8)
        return v >> (bits - 8) & 0xFF;
    uint32_t out = 0;
    int filled = 0;
    for (; filled < 8; filled += bits)
        out = out << bits | v;
    return out >> (filled - 8) & 0xFF;
}

struct PixelMasks {
    MaskedChannel red, green, blue;
};

PixelMasks masksOf(const uint32_t masks[3])
{
    return {channelOf(masks[0]), channelOf(masks[1]), channelOf(masks[2])};
}

uint32_t masked(uint32_t v, const PixelMasks& masks)
{
    return widened(v, masks.red) << 16 | widened(v, masks.green) << 8 | widened(v, masks.blue);
}

uint32_t masked(uint32_t v, const uint32_t masks[3])
{
    return masked(v, masksOf(masks));
}

uint32_t readRowPixel(const uint8_t* p, int x, int depth, const std::vector<uint32_t>& palette,
                      const uint32_t masks[3])
{
    auto fromPalette = [&](uint32_t index) -> uint32_t { return index < palette.size() ? palette[index] : 0; };
    switch (depth) {
    case 1:
        return fromPalette(p[x / 8] >> (7 - x % 8) & 1);
    case 4:
        return fromPalette(p[x / 2] >> (x % 2 == 0 ? 4 : 0) & 0xF);
    case 8:
        return fromPalette(p[x]);
    case 16:
        return masked(static_cast<uint32_t>(p[2 * x] | p[2 * x + 1] << 8), masks);
    case 24:
        return static_cast<uint32_t>(p[3 * x + 2] << 16 | p[3 * x + 1] << 8 | p[3 * x]);
    default: {
        uint32_t v = read32(p + 4 * static_cast<size_t>(x));
        if (masks[0] == 0x00FF0000 && masks[1] == 0x0000FF00 && masks[2] == 0x000000FF)
            return v & 0xFFFFFF;
        return masked(v, masks);
    }
    }
}

void defaultMasks(int depth, uint32_t masks[3])
{
    if (depth == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else {
        masks[0] = 0x00FF0000;
        masks[1] = 0x0000FF00;
        masks[2] = 0x000000FF;
    }
}

} // namespace

size_t rowBytes(int width, int bitsPerPixel)
{
    if (width <= 0 || width > maxDimension)
        return 0;
    uint64_t bits = static_cast<uint64_t>(width) * static_cast<uint64_t>(bitsPerPixel);
    return static_cast<size_t>((bits + 31) / 32 * 4);
}

bool readDibLayout(const uint8_t* data, size_t size, TableRule rule, int heightDivisor, DibLayout& layout)
{
    layout = DibLayout{};
    if (data == nullptr || size < sizeof(BITMAPINFOHEADER) || heightDivisor < 1)
        return false;
    BITMAPINFOHEADER h;
    std::memcpy(&h, data, sizeof h);
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > size || h.biPlanes > 1)
        return false;
    int depth = h.biBitCount;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
        return false;
    bool bitfields = h.biCompression == BI_BITFIELDS;
    if (h.biCompression != BI_RGB && !(bitfields && (depth == 16 || depth == 32)))
        return false;
    if (h.biWidth <= 0 || h.biWidth > maxDimension || h.biHeight == 0 || h.biHeight < -maxDimension * heightDivisor ||
        h.biHeight > maxDimension * heightDivisor)
        return false;
    layout.topDown = h.biHeight < 0;
    int rows = layout.topDown ? -h.biHeight : h.biHeight;
    if (rows % heightDivisor != 0)
        return false;
    layout.width = static_cast<int>(h.biWidth);
    layout.height = rows / heightDivisor;
    layout.depth = depth;
    layout.stride = rowBytes(layout.width, depth);
    size_t at = h.biSize;
    defaultMasks(depth, layout.masks);
    if (bitfields) {
        // The masks follow a 40-byte header; larger headers carry them inside.
        size_t masksAt = sizeof(BITMAPINFOHEADER);
        if (h.biSize == sizeof(BITMAPINFOHEADER)) {
            if (size - at < 12)
                return false;
            at += 12;
        } else if (h.biSize < sizeof(BITMAPINFOHEADER) + 12) {
            return false;
        }
        for (int i = 0; i < 3; ++i)
            layout.masks[i] = read32(data + masksAt + 4 * static_cast<size_t>(i));
        layout.bitfields = true;
    }
    size_t addressable = depth <= 8 ? size_t{1} << depth : 0;
    size_t entries = h.biClrUsed;
    if (depth <= 8 && entries == 0)
        entries = addressable;
    if (rule == TableRule::strict && entries > (depth <= 8 ? addressable : 256))
        return false;
    if (depth <= 8 && entries > addressable)
        entries = addressable;
    if (depth > 8 && rule == TableRule::clamp)
        entries = 0; // the program's structure holds no table for these depths
    if (entries > (size - at) / 4)
        return false;
    if (depth <= 8)
        for (size_t i = 0; i < entries; ++i) {
            const uint8_t* q = data + at + 4 * i;
            layout.palette.push_back(static_cast<uint32_t>(q[2] << 16 | q[1] << 8 | q[0]));
        }
    layout.headerBytes = at + 4 * entries;
    return true;
}

uint32_t readLayoutPixel(const DibLayout& layout, const uint8_t* rows, int x, int y)
{
    int row = layout.topDown ? y : layout.height - 1 - y;
    return readRowPixel(rows + static_cast<size_t>(row) * layout.stride, x, layout.depth, layout.palette,
                        layout.masks);
}

uint32_t readBitmapPixel(const BitmapData& b, int x, int y)
{
    int row = b.topDown ? y : b.height - 1 - y;
    return readRowPixel(b.bits.data() + static_cast<size_t>(row) * b.stride, x, b.bitsPerPixel, b.palette, b.masks);
}

namespace {

// Pixels of row y at columns at(0) .. at(count - 1), the depth and masks decided once for them.
template <class Column>
void readRowPixels(const BitmapData& b, int y, int count, Column at, uint32_t* out)
{
    const int row = b.topDown ? y : b.height - 1 - y;
    const uint8_t* p = b.bits.data() + static_cast<size_t>(row) * b.stride;
    const bool plain32 = b.masks[0] == 0x00FF0000 && b.masks[1] == 0x0000FF00 && b.masks[2] == 0x000000FF;
    if (b.bitsPerPixel == 8) {
        const size_t entries = b.palette.size();
        for (int i = 0; i < count; ++i) {
            const uint8_t index = p[at(i)];
            out[i] = index < entries ? b.palette[index] & 0xFFFFFF : 0;
        }
    } else if (b.bitsPerPixel == 24) {
        for (int i = 0; i < count; ++i) {
            const uint8_t* q = p + 3 * static_cast<size_t>(at(i));
            out[i] = static_cast<uint32_t>(q[2] << 16 | q[1] << 8 | q[0]);
        }
    } else if (b.bitsPerPixel == 32 && plain32) {
        for (int i = 0; i < count; ++i)
            out[i] = read32(p + 4 * static_cast<size_t>(at(i))) & 0xFFFFFF;
    } else if (b.bitsPerPixel == 16) {
        const PixelMasks masks = masksOf(b.masks);
        for (int i = 0; i < count; ++i) {
            const uint8_t* q = p + 2 * static_cast<size_t>(at(i));
            out[i] = masked(static_cast<uint32_t>(q[0] | q[1] << 8), masks);
        }
    } else if (b.bitsPerPixel == 32) {
        const PixelMasks masks = masksOf(b.masks);
        for (int i = 0; i < count; ++i)
            out[i] = masked(read32(p + 4 * static_cast<size_t>(at(i))), masks);
    } else {
        for (int i = 0; i < count; ++i)
            out[i] = readRowPixel(p, at(i), b.bitsPerPixel, b.palette, b.masks) & 0xFFFFFF;
    }
}

} // namespace

void readBitmapSpan(const BitmapData& b, int x, int y, int count, uint32_t* out)
{
    const bool plain32 = b.masks[0] == 0x00FF0000 && b.masks[1] == 0x0000FF00 && b.masks[2] == 0x000000FF;
    if constexpr (std::endian::native == std::endian::little) {
        if (b.bitsPerPixel == 32 && plain32) {
            // The stored words are the pixels: one copy, then the unused byte cleared.
            const int row = b.topDown ? y : b.height - 1 - y;
            std::memcpy(out, b.bits.data() + static_cast<size_t>(row) * b.stride + 4 * static_cast<size_t>(x),
                        4 * static_cast<size_t>(count));
            for (int i = 0; i < count; ++i)
                out[i] &= 0xFFFFFF;
            return;
        }
    }
    readRowPixels(b, y, count, [x](int i) { return x + i; }, out);
}

void readBitmapColumns(const BitmapData& b, const int* columns, int y, int count, uint32_t* out)
{
    readRowPixels(b, y, count, [columns](int i) { return columns[i]; }, out);
}

HBITMAP makeBitmap(int width, int height, int bitsPerPixel, bool topDown)
{
    size_t stride = rowBytes(width, bitsPerPixel);
    if (stride == 0 || height <= 0 || height > maxDimension)
        return nullptr;
    if (stride > SIZE_MAX / static_cast<size_t>(height) || stride * static_cast<size_t>(height) > (256u << 20))
        return nullptr;
    auto object = std::make_unique<Object>();
    object->kind = ObjectKind::bitmap;
    BitmapData& b = object->bitmap;
    b.width = width;
    b.height = height;
    b.bitsPerPixel = bitsPerPixel;
    b.topDown = topDown;
    b.stride = stride;
    b.bits.assign(stride * static_cast<size_t>(height), 0);
    defaultMasks(bitsPerPixel, b.masks);
    if (bitsPerPixel == 1)
        b.palette = {0x000000, 0xFFFFFF};
    return static_cast<HBITMAP>(addObject(std::move(object)));
}

HBITMAP makeBitmapOf(const DibLayout& layout)
{
    HBITMAP bitmap = makeBitmap(layout.width, layout.height, layout.depth, layout.topDown);
    Object* object = lookup(bitmap, ObjectKind::bitmap);
    if (object == nullptr)
        return nullptr;
    BitmapData& b = object->bitmap;
    if (layout.depth <= 8)
        b.palette = layout.palette;
    std::copy(layout.masks, layout.masks + 3, b.masks);
    return bitmap;
}

HBITMAP makeDib(const BITMAPINFO* info, size_t infoSize, void** bits)
{
    if (bits != nullptr)
        *bits = nullptr;
    DibLayout layout;
    if (!readDibLayout(reinterpret_cast<const uint8_t*>(info), infoSize, TableRule::clamp, 1, layout))
        return nullptr;
    HBITMAP bitmap = makeBitmapOf(layout);
    Object* object = lookup(bitmap, ObjectKind::bitmap);
    if (object == nullptr)
        return nullptr;
    if (bits != nullptr)
        *bits = object->bitmap.bits.data();
    return bitmap;
}

} // namespace gdi
