// Icon images (PNG or DIB with mask), their scaling, and bitmap resources.
#include "platform/gdi/icon_images.h"

#include "platform/gdi/dib_format.h"

#include <algorithm>
#include <cstring>

namespace gdi {

namespace {

constexpr uint8_t pngSignature[4] = {0x89, 'P', 'N', 'G'};

bool isPng(const uint8_t* data, size_t size)
{
    return size >= sizeof pngSignature && std::memcmp(data, pngSignature, sizeof pngSignature) == 0;
}

bool decodeDibIcon(const uint8_t* data, size_t size, IconData& icon)
{
    DibLayout layout;
    if (!readDibLayout(data, size, TableRule::strict, 2, layout))
        return false;
    if (layout.width > maxIconSide || layout.height > maxIconSide)
        return false;
    const size_t colourBytes = layout.stride * static_cast<size_t>(layout.height);
    const size_t maskStride = rowBytes(layout.width, 1);
    const size_t maskBytes = maskStride * static_cast<size_t>(layout.height);
    if (layout.headerBytes > size || size - layout.headerBytes < colourBytes + maskBytes)
        return false;
    const uint8_t* colour = data + layout.headerBytes;
    const uint8_t* mask = colour + colourBytes;

    bool ownAlpha = false;
    if (layout.depth == 32)
        for (size_t i = 3; i < colourBytes && !ownAlpha; i += 4)
            ownAlpha = colour[i] != 0;
    icon.width = layout.width;
    icon.height = layout.height;
    icon.pixels.assign(static_cast<size_t>(layout.width) * static_cast<size_t>(layout.height), 0);
    for (int y = 0; y < layout.height; ++y) {
        int row = layout.topDown ? y : layout.height - 1 - y;
        const uint8_t* maskRow = mask + static_cast<size_t>(row) * maskStride;
        for (int x = 0; x < layout.width; ++x) {
            uint32_t rgb = readLayoutPixel(layout, colour, x, y);
            uint32_t alpha;
            if (ownAlpha)
                alpha = colour[static_cast<size_t>(row) * layout.stride + 4 * static_cast<size_t>(x) + 3];
            else
                alpha = (maskRow[x / 8] >> (7 - x % 8) & 1) != 0 ? 0 : 255;
            icon.pixels[static_cast<size_t>(y) * static_cast<size_t>(layout.width) + static_cast<size_t>(x)] =
                alpha << 24 | rgb;
        }
    }
    return true;
}

} // namespace

bool decodeIconImage(const uint8_t* data, size_t size, IconData& icon)
{
    icon = IconData{};
    if (data == nullptr)
        return false;
    bool ok = isPng(data, size) ? decodePng(data, size, icon) : decodeDibIcon(data, size, icon);
    if (!ok)
        icon = IconData{};
    return ok;
}

IconData scaleIcon(const IconData& icon, int width, int height)
{
    IconData out;
    if (width <= 0 || height <= 0 || width > maxIconSide || height > maxIconSide || icon.width <= 0 ||
        icon.height <= 0)
        return out;
    out.width = width;
    out.height = height;
    out.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int ty = 0; ty < height; ++ty) {
        int y0 = ty * icon.height / height;
        int y1 = std::max(y0 + 1, (ty + 1) * icon.height / height);
        for (int tx = 0; tx < width; ++tx) {
            int x0 = tx * icon.width / width;
            int x1 = std::max(x0 + 1, (tx + 1) * icon.width / width);
            uint64_t a = 0, r = 0, g = 0, b = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) {
                    uint32_t p = icon.pixels[static_cast<size_t>(y) * static_cast<size_t>(icon.width) +
                                             static_cast<size_t>(x)];
                    uint32_t pa = p >> 24;
                    a += pa;
                    r += (p >> 16 & 0xFF) * pa;
                    g += (p >> 8 & 0xFF) * pa;
                    b += (p & 0xFF) * pa;
                }
            uint64_t count = static_cast<uint64_t>(x1 - x0) * static_cast<uint64_t>(y1 - y0);
            uint32_t pixel = 0;
            if (a != 0)
                pixel = static_cast<uint32_t>((a + count / 2) / count) << 24 |
                        static_cast<uint32_t>((r + a / 2) / a) << 16 | static_cast<uint32_t>((g + a / 2) / a) << 8 |
                        static_cast<uint32_t>((b + a / 2) / a);
            out.pixels[static_cast<size_t>(ty) * static_cast<size_t>(width) + static_cast<size_t>(tx)] = pixel;
        }
    }
    return out;
}

HBITMAP bitmapFromResource(const uint8_t* data, size_t size)
{
    if (data == nullptr)
        return nullptr;
    // A whole bitmap file: its header says where the rows begin, counted from the file's start.
    size_t rowsAt = 0;
    bool file = size >= sizeof(BITMAPFILEHEADER) && data[0] == 'B' && data[1] == 'M';
    if (file) {
        BITMAPFILEHEADER header;
        std::memcpy(&header, data, sizeof header);
        if (header.bfOffBits < sizeof header || header.bfOffBits > size)
            return nullptr;
        rowsAt = header.bfOffBits - sizeof header;
        data += sizeof header;
        size -= sizeof header;
    }
    DibLayout layout;
    if (!readDibLayout(data, size, TableRule::strict, 1, layout))
        return nullptr;
    if (!file)
        rowsAt = layout.headerBytes;
    if (rowsAt < layout.headerBytes)
        return nullptr;
    const size_t bytes = layout.stride * static_cast<size_t>(layout.height);
    if (size - rowsAt < bytes)
        return nullptr;
    HBITMAP bitmap = makeBitmapOf(layout);
    Object* object = lookup(bitmap, ObjectKind::bitmap);
    if (object == nullptr)
        return nullptr;
    std::memcpy(object->bitmap.bits.data(), data + rowsAt, bytes);
    return bitmap;
}

} // namespace gdi
