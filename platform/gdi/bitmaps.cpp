// Bitmaps and DIB sections of 1 to 32 bits per pixel, and blits.
#include "platform/gdi/gdi_state.h"
#include "platform/gdi/colour.h"
#include "platform/gdi/dib_format.h"

#include "emulator.h"

#include <algorithm>

using namespace gdi;

HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits)
{
    if (nPlanes != 1 || (nBitCount != 1 && nBitCount != 32) || emu::plannedFailure(emu::FailingCall::gdiObject))
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
    if (lookup(hdc, ObjectKind::dc) == nullptr || emu::plannedFailure(emu::FailingCall::gdiObject))
        return nullptr;
    return makeBitmap(cx, cy, 32, true);
}

HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, void** ppvBits, HANDLE, DWORD)
{
    if (ppvBits != nullptr)
        *ppvBits = nullptr;
    if ((hdc != nullptr && lookup(hdc, ObjectKind::dc) == nullptr) || usage != DIB_RGB_COLORS || pbmi == nullptr)
        return nullptr;
    if (emu::plannedFailure(emu::FailingCall::gdiObject))
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

// An unstretched source copy from a bitmap: each clip rectangle's part of the destination is
// filled a row span at a time. Pixels whose source lies outside the bitmap are left alone, as the
// general path leaves them.
void copySpans(Target& target, const BitmapData& bitmap, long baseX, long baseY, int width, int height, int xSrc,
               int ySrc)
{
    // Destination offsets (dx, dy) whose source pixel exists.
    const long dxFrom = std::max<long>(0, -static_cast<long>(xSrc));
    const long dxTo = std::min<long>(width, static_cast<long>(bitmap.width) - xSrc);
    const long dyFrom = std::max<long>(0, -static_cast<long>(ySrc));
    const long dyTo = std::min<long>(height, static_cast<long>(bitmap.height) - ySrc);
    for (const ClipRect& c : target.clip) {
        const long left = std::max({static_cast<long>(c.left), 0L, baseX + dxFrom});
        const long right = std::min({static_cast<long>(c.right), static_cast<long>(target.width), baseX + dxTo});
        const long top = std::max({static_cast<long>(c.top), 0L, baseY + dyFrom});
        const long bottom = std::min({static_cast<long>(c.bottom), static_cast<long>(target.height), baseY + dyTo});
        if (left >= right)
            continue;
        for (long ty = top; ty < bottom; ++ty)
            readBitmapSpan(bitmap, static_cast<int>(xSrc + (left - baseX)), static_cast<int>(ySrc + (ty - baseY)),
                           static_cast<int>(right - left), &pixelAt(target, static_cast<int>(left), static_cast<int>(ty)));
    }
}

// The source of a stretched, mirrored or combining blit, one destination row at a time: each
// destination column's source column worked out once, and the stretched row of a source row made
// once for the destination rows that repeat it. Pixels are 0x00RRGGBB.
struct StretchedRows {
    const BitmapData* bitmap;    // a memory source, or none for the screen
    const Target* screenSource;
    std::vector<int> columns;    // a destination column's source column, -1 outside the source
    std::vector<uint32_t> source;  // source columns lowest to highest of the row in hand
    std::vector<uint32_t> stretched;
    int sourceWidth;
    int lowest;
    int rowMade;
    bool allInside = true;  // every destination column has a source column

    // False when no destination column has a source column.
    bool mapColumns(int dxFrom, int dxTo, int wDest, int wSrc, int firstColumn, bool mirror)
    {
        columns.resize(static_cast<size_t>(dxTo - dxFrom));
        lowest = sourceWidth;
        int highest = -1;
        for (int dx = dxFrom; dx < dxTo; ++dx) {
            const long index = static_cast<long>(dx) * wSrc / wDest;
            const int sx = firstColumn + static_cast<int>(mirror ? wSrc - 1 - index : index);
            const bool inside = sx >= 0 && sx < sourceWidth;
            columns[static_cast<size_t>(dx - dxFrom)] = inside ? sx : -1;
            allInside = allInside && inside;
            if (inside) {
                lowest = std::min(lowest, sx);
                highest = std::max(highest, sx);
            }
        }
        source.resize(static_cast<size_t>(std::max(highest - lowest + 1, 0)));
        stretched.assign(columns.size(), 0);
        return highest >= 0;
    }

    const uint32_t* line(int sy)
    {
        if (sy == rowMade)
            return stretched.data();
        // Shrunk to a fraction: only the columns taken are read, not every pixel between them.
        if (bitmap != nullptr && allInside && source.size() > 2 * columns.size()) {
            readBitmapColumns(*bitmap, columns.data(), sy, static_cast<int>(columns.size()), stretched.data());
            rowMade = sy;
            return stretched.data();
        }
        if (bitmap != nullptr)
            readBitmapSpan(*bitmap, lowest, sy, static_cast<int>(source.size()), source.data());
        else
            for (size_t i = 0; i < source.size(); ++i)
                source[i] = pixelAt(*screenSource, lowest + static_cast<int>(i), sy) & 0xFFFFFF;
        if (allInside)
            for (size_t i = 0; i < columns.size(); ++i)
                stretched[i] = source[static_cast<size_t>(columns[i] - lowest)];
        else
            for (size_t i = 0; i < columns.size(); ++i)
                if (columns[i] >= 0)
                    stretched[i] = source[static_cast<size_t>(columns[i] - lowest)];
        rowMade = sy;
        return stretched.data();
    }

    // out[i] = op(out[i], line[i]) for the columns [from, to) that have a source.
    template <typename Op> void combine(uint32_t* out, const uint32_t* line, int from, int to, Op op) const
    {
        if (allInside) {
            for (int i = from; i < to; ++i)
                out[i] = op(out[i], line[i]);
            return;
        }
        for (int i = from; i < to; ++i)
            if (columns[static_cast<size_t>(i)] >= 0)
                out[i] = op(out[i], line[i]);
    }
};

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
    // A blit within one surface (scrolling) reads the pixels as they were before it began.
    BitmapData sourceCopy;
    std::vector<uint32_t> screenCopy;
    if (s == d && bitmap != nullptr) {
        sourceCopy = *bitmap;
        bitmap = &sourceCopy;
    } else if (bitmap == nullptr && target.isScreen) {
        screenCopy = screen().pixels;
        screenSource.pixels = screenCopy.data();
    }
    // Only the rows and columns that land inside the target are visited, however large the
    // destination rectangle.
    const long baseX = static_cast<long>(xDest) + target.originX;
    const long baseY = static_cast<long>(yDest) + target.originY;
    if (rop == SRCCOPY && bitmap != nullptr && wSrc == wDest && hSrc == hDest && !mirrorX && !mirrorY) {
        copySpans(target, *bitmap, baseX, baseY, wDest, hDest, xSrc, ySrc);
        notifyChanged(target);
        return true;
    }
    const int dyFrom = static_cast<int>(std::clamp<long>(-baseY, 0, hDest));
    const int dyTo = static_cast<int>(std::clamp<long>(target.height - baseY, 0, hDest));
    const int dxFrom = static_cast<int>(std::clamp<long>(-baseX, 0, wDest));
    const int dxTo = static_cast<int>(std::clamp<long>(target.width - baseX, 0, wDest));
    if (dxFrom >= dxTo || dyFrom >= dyTo)
        return true;
    StretchedRows rows{bitmap, &screenSource, {}, {}, {}, srcWidth, -1, -1};
    if (!rows.mapColumns(dxFrom, dxTo, wDest, wSrc, xSrc + srcOffsetX, mirrorX))
        return true;
    const int left = static_cast<int>(baseX + dxFrom);
    const int top = static_cast<int>(baseY + dyFrom);
    const int width = dxTo - dxFrom;
    const int height = dyTo - dyFrom;
    auto sourceRowOf = [&](int by) {
        const long rowIndex = static_cast<long>(dyFrom + by) * hSrc / hDest;
        const int sy = ySrc + static_cast<int>(mirrorY ? hSrc - 1 - rowIndex : rowIndex) + srcOffsetY;
        return sy >= 0 && sy < srcHeight ? sy : -1;
    };
    if (target.clip.size() == 1) {
        // The usual case: one clip rectangle, walked a row span at a time.
        const ClipRect& c = target.clip.front();
        const int from = std::max(left, c.left);
        const int to = std::min(left + width, c.right);
        for (int ty = std::max(top, c.top); from < to && ty < std::min(top + height, c.bottom); ++ty) {
            const int sy = sourceRowOf(ty - top);
            if (sy < 0)
                continue;
            const uint32_t* line = rows.line(sy);
            uint32_t* out = &pixelAt(target, left, ty);
            switch (rop) {
            case SRCAND:
                rows.combine(out, line, from - left, to - left, [](uint32_t was, uint32_t p) { return was & p; });
                break;
            case SRCPAINT:
                rows.combine(out, line, from - left, to - left, [](uint32_t was, uint32_t p) { return (was | p) & 0xFFFFFF; });
                break;
            case SRCINVERT:
                rows.combine(out, line, from - left, to - left, [](uint32_t was, uint32_t p) { return (was ^ p) & 0xFFFFFF; });
                break;
            default:
                if (rows.allInside)
                    std::copy(line + (from - left), line + (to - left), out + (from - left));
                else
                    rows.combine(out, line, from - left, to - left, [](uint32_t, uint32_t p) { return p; });
                break;
            }
        }
    } else {
        int rowAt = -1;
        int sy = -1;
        eachInBlock(target, left, top, width, height, [&](uint32_t& existing, int bx, int by) {
            if (by != rowAt) {
                sy = sourceRowOf(by);
                rowAt = by;
            }
            if (sy < 0 || rows.columns[static_cast<size_t>(bx)] < 0)
                return;
            const uint32_t pixel = rows.line(sy)[bx];
            existing = (rop == SRCAND      ? existing & pixel
                        : rop == SRCPAINT  ? existing | pixel
                        : rop == SRCINVERT ? existing ^ pixel
                                           : pixel) &
                       0xFFFFFF;
        });
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
