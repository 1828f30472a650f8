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
    for (int dy = dyFrom; dy < dyTo; ++dy) {
        int ty = static_cast<int>(baseY + dy);
        long rowIndex = static_cast<long>(dy) * hSrc / hDest;
        int sy = ySrc + static_cast<int>(mirrorY ? hSrc - 1 - rowIndex : rowIndex) + srcOffsetY;
        if (sy < 0 || sy >= srcHeight)
            continue;
        for (int dx = dxFrom; dx < dxTo; ++dx) {
            int tx = static_cast<int>(baseX + dx);
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
