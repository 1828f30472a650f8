// Bitmaps and DIB sections of 1 to 32 bits per pixel, pixel reading, and blits.
#include "platform/gdi/gdi_state.h"
#include "platform/gdi/colour.h"

#include <algorithm>

namespace gdi {

namespace {

constexpr int maxDimension = 32767;

// Row size in bytes rounded up to 4, or 0 when the sizes are unusable or would overflow.
size_t rowBytes(int width, int bitsPerPixel)
{
    if (width <= 0 || width > maxDimension)
        return 0;
    uint64_t bits = static_cast<uint64_t>(width) * static_cast<uint64_t>(bitsPerPixel);
    return static_cast<size_t>((bits + 31) / 32 * 4);
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

// A channel of a masked pixel widened to 8 bits by repeating its bits, so that a full field
// gives 255 and 5-bit 24 gives 198, as the usual decoders have it.
uint32_t maskedChannel(uint32_t value, uint32_t mask)
{
    if (mask == 0)
        return 0;
    int shift = maskShift(mask);
    uint32_t field = mask >> shift;
    int bits = 0;
    while (bits < 32 && (field >> bits & 1) != 0)
        ++bits;
    uint32_t v = (value & mask) >> shift & field;
    if (bits >= 8)
        return v >> (bits - 8) & 0xFF;
    uint32_t out = 0;
    int filled = 0;
    for (; filled < 8; filled += bits)
        out = out << bits | v;
    return out >> (filled - 8) & 0xFF;
}

} // namespace

uint32_t readBitmapPixel(const BitmapData& b, int x, int y)
{
    int row = b.topDown ? y : b.height - 1 - y;
    const uint8_t* p = b.bits.data() + static_cast<size_t>(row) * b.stride;
    auto fromPalette = [&](uint32_t index) -> uint32_t {
        return index < b.palette.size() ? b.palette[index] : 0;
    };
    switch (b.bitsPerPixel) {
    case 1:
        return fromPalette(p[x / 8] >> (7 - x % 8) & 1);
    case 4:
        return fromPalette(p[x / 2] >> (x % 2 == 0 ? 4 : 0) & 0xF);
    case 8:
        return fromPalette(p[x]);
    case 16: {
        uint32_t v = static_cast<uint32_t>(p[2 * x] | p[2 * x + 1] << 8);
        return maskedChannel(v, b.masks[0]) << 16 | maskedChannel(v, b.masks[1]) << 8 | maskedChannel(v, b.masks[2]);
    }
    case 24:
        return static_cast<uint32_t>(p[3 * x + 2] << 16 | p[3 * x + 1] << 8 | p[3 * x]);
    default: {
        const uint8_t* q = p + 4 * static_cast<size_t>(x);
        uint32_t v = static_cast<uint32_t>(q[0] | q[1] << 8 | q[2] << 16) | static_cast<uint32_t>(q[3]) << 24;
        if (b.masks[0] == 0x00FF0000 && b.masks[1] == 0x0000FF00 && b.masks[2] == 0x000000FF)
            return v & 0xFFFFFF;
        return maskedChannel(v, b.masks[0]) << 16 | maskedChannel(v, b.masks[1]) << 8 | maskedChannel(v, b.masks[2]);
    }
    }
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
    b.masks[0] = 0x00FF0000;
    b.masks[1] = 0x0000FF00;
    b.masks[2] = 0x000000FF;
    if (bitsPerPixel == 16) {
        b.masks[0] = 0x7C00;
        b.masks[1] = 0x03E0;
        b.masks[2] = 0x001F;
    }
    if (bitsPerPixel == 1)
        b.palette = {0x000000, 0xFFFFFF};
    return static_cast<HBITMAP>(addObject(std::move(object)));
}

HBITMAP makeDib(const BITMAPINFO* info, size_t infoSize, void** bits)
{
    if (bits != nullptr)
        *bits = nullptr;
    if (info == nullptr || infoSize < sizeof(BITMAPINFOHEADER))
        return nullptr;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > infoSize)
        return nullptr;
    int depth = h.biBitCount;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
        return nullptr;
    if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && (depth == 16 || depth == 32)))
        return nullptr;
    if (h.biHeight == 0 || h.biHeight == INT32_MIN || h.biWidth <= 0)
        return nullptr;
    bool topDown = h.biHeight < 0;
    int height = topDown ? -h.biHeight : h.biHeight;
    const uint8_t* extra = reinterpret_cast<const uint8_t*>(info) + h.biSize;
    size_t extraSize = infoSize - h.biSize;
    uint32_t masks[3] = {0, 0, 0};
    size_t tableOffset = 0;
    if (h.biCompression == BI_BITFIELDS) {
        // The masks follow a 40-byte header; larger headers carry them inside.
        const uint8_t* m = reinterpret_cast<const uint8_t*>(info) + 40;
        if (h.biSize == 40) {
            if (extraSize < 12)
                return nullptr;
            tableOffset = 12;
        } else if (h.biSize < 52) {
            return nullptr;
        }
        for (int i = 0; i < 3; ++i)
            masks[i] = static_cast<uint32_t>(m[4 * i] | m[4 * i + 1] << 8 | m[4 * i + 2] << 16) |
                       static_cast<uint32_t>(m[4 * i + 3]) << 24;
    }
    std::vector<uint32_t> palette;
    if (depth <= 8) {
        size_t entries = h.biClrUsed == 0 ? (size_t{1} << depth) : std::min<size_t>(h.biClrUsed, size_t{1} << depth);
        if (extraSize < entries * 4)
            return nullptr;
        for (size_t i = 0; i < entries; ++i) {
            const uint8_t* q = extra + 4 * i;
            palette.push_back(static_cast<uint32_t>(q[2] << 16 | q[1] << 8 | q[0]));
        }
    }
    (void)tableOffset;
    HBITMAP bitmap = makeBitmap(static_cast<int>(h.biWidth), height, depth, topDown);
    Object* object = lookup(bitmap, ObjectKind::bitmap);
    if (object == nullptr)
        return nullptr;
    BitmapData& b = object->bitmap;
    b.palette = std::move(palette);
    if (h.biCompression == BI_BITFIELDS)
        std::copy(masks, masks + 3, b.masks);
    if (bits != nullptr)
        *bits = b.bits.data();
    return bitmap;
}

} // namespace gdi

using namespace gdi;

HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits)
{
    if (nPlanes != 1 || (nBitCount != 1 && nBitCount != 32))
        return nullptr;
    // Device-dependent bitmaps keep their rows top-down, with the platform's word-aligned rows
    // on input.
    HBITMAP bitmap = makeBitmap(nWidth, nHeight, static_cast<int>(nBitCount), true);
    Object* object = lookup(bitmap, ObjectKind::bitmap);
    if (object != nullptr && lpBits != nullptr) {
        BitmapData& b = object->bitmap;
        size_t inStride = (static_cast<size_t>(nWidth) * nBitCount + 15) / 16 * 2;
        const uint8_t* in = static_cast<const uint8_t*>(lpBits);
        for (int y = 0; y < nHeight; ++y)
            std::copy(in + static_cast<size_t>(y) * inStride, in + static_cast<size_t>(y) * inStride + std::min(inStride, b.stride),
                      b.bits.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(y) * b.stride));
    }
    return bitmap;
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy)
{
    if (lookup(hdc, ObjectKind::dc) == nullptr)
        return nullptr;
    return makeBitmap(cx, cy, 32, true);
}

HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, void** ppvBits, HANDLE, DWORD)
{
    if (ppvBits != nullptr)
        *ppvBits = nullptr;
    if ((hdc != nullptr && lookup(hdc, ObjectKind::dc) == nullptr) || usage != DIB_RGB_COLORS || pbmi == nullptr)
        return nullptr;
    // The program's structure carries its whole colour table; its size follows from the header.
    const BITMAPINFOHEADER& h = pbmi->bmiHeader;
    size_t size = h.biSize;
    if (h.biCompression == BI_BITFIELDS && h.biSize == 40)
        size += 12;
    if (h.biBitCount <= 8 && h.biBitCount > 0) {
        size_t full = size_t{1} << h.biBitCount;
        size += 4 * (h.biClrUsed == 0 ? full : std::min<size_t>(h.biClrUsed, full));
    }
    return makeDib(pbmi, size, ppvBits);
}

namespace {

bool blit(HDC dest, int xDest, int yDest, int wDest, int hDest, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
          DWORD rop)
{
    Object* d = lookup(dest, ObjectKind::dc);
    if (d == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    Target target;
    if (!targetOf(d->dc, target))
        return true;
    if (rop == BLACKNESS || rop == WHITENESS) {
        fillSpan(target, {xDest + target.originX, yDest + target.originY, xDest + wDest + target.originX,
                          yDest + hDest + target.originY},
                 rop == BLACKNESS ? 0 : 0xFFFFFF);
        notifyChanged(target);
        return true;
    }
    Object* s = lookup(src, ObjectKind::dc);
    if (s == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    if (wDest == 0 || hDest == 0 || wSrc == 0 || hSrc == 0)
        return true;
    // A window source reads the screen; a memory source its bitmap.
    const BitmapData* bitmap = nullptr;
    Target screenSource;
    if (s->dc.window) {
        targetOf(s->dc, screenSource);
    } else {
        Object* b = lookup(s->dc.state.bitmap, ObjectKind::bitmap);
        if (b == nullptr)
            return false;
        bitmap = &b->bitmap;
    }
    int srcWidth = bitmap != nullptr ? bitmap->width : screenSource.width;
    int srcHeight = bitmap != nullptr ? bitmap->height : screenSource.height;
    int srcOffsetX = bitmap != nullptr ? 0 : screenSource.originX;
    int srcOffsetY = bitmap != nullptr ? 0 : screenSource.originY;
    bool mirrorX = (wDest < 0) != (wSrc < 0);
    bool mirrorY = (hDest < 0) != (hSrc < 0);
    if (wDest < 0) {
        xDest += wDest;
        wDest = -wDest;
    }
    if (hDest < 0) {
        yDest += hDest;
        hDest = -hDest;
    }
    if (wSrc < 0) {
        xSrc += wSrc;
        wSrc = -wSrc;
    }
    if (hSrc < 0) {
        ySrc += hSrc;
        hSrc = -hSrc;
    }
    for (int dy = 0; dy < hDest; ++dy) {
        int ty = yDest + dy + target.originY;
        if (ty < 0 || ty >= target.height)
            continue;
        long rowIndex = static_cast<long>(dy) * hSrc / hDest;
        int sy = ySrc + static_cast<int>(mirrorY ? hSrc - 1 - rowIndex : rowIndex) + srcOffsetY;
        if (sy < 0 || sy >= srcHeight)
            continue;
        for (int dx = 0; dx < wDest; ++dx) {
            int tx = xDest + dx + target.originX;
            if (tx < 0 || tx >= target.width)
                continue;
            long columnIndex = static_cast<long>(dx) * wSrc / wDest;
            int sx = xSrc + static_cast<int>(mirrorX ? wSrc - 1 - columnIndex : columnIndex) + srcOffsetX;
            if (sx < 0 || sx >= srcWidth)
                continue;
            uint32_t pixel = bitmap != nullptr
                                 ? readBitmapPixel(*bitmap, sx, sy)
                                 : pixelAt(screenSource, sx, sy);
            uint32_t existing = pixelAt(target, tx, ty);
            uint32_t out = pixel;
            switch (rop) {
            case SRCAND:
                out = existing & pixel;
                break;
            case SRCPAINT:
                out = existing | pixel;
                break;
            case SRCINVERT:
                out = existing ^ pixel;
                break;
            default:
                break;
            }
            putPixel(target, tx, ty, out & 0xFFFFFF);
        }
    }
    notifyChanged(target);
    return true;
}

} // namespace

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop)
{
    return blit(hdc, x, y, cx, cy, hdcSrc, x1, y1, cx, cy, rop) ? TRUE : FALSE;
}

BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc,
                       int wSrc, int hSrc, DWORD rop)
{
    return blit(hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc, wSrc, hSrc, rop) ? TRUE : FALSE;
}
