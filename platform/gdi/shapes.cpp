// Rectangles, lines, focus frames, gradients and single pixels.
#include "platform/gdi/gdi_state.h"
#include "platform/gdi/gradient.h"

#include <algorithm>
#include <cstdlib>

using namespace gdi;

namespace {

struct Drawing {
    Object* dc = nullptr;
    Target target;
    bool ok = false;
};

Drawing begin(HDC hdc)
{
    Drawing d;
    d.dc = lookup(hdc, ObjectKind::dc);
    if (d.dc == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return d;
    }
    d.ok = targetOf(d.dc->dc, d.target);
    return d;
}

ClipRect toTarget(const Drawing& d, int left, int top, int right, int bottom)
{
    return {left + d.target.originX, top + d.target.originY, right + d.target.originX, bottom + d.target.originY};
}

void plot(Drawing& d, int x, int y, uint32_t colour)
{
    putPixel(d.target, x + d.target.originX, y + d.target.originY, colour);
}

void drawLine(Drawing& d, const Object& pen, int x0, int y0, int x1, int y1)
{
    if (pen.penStyle == PS_NULL)
        return;
    uint32_t colour = toPixel(pen.colour);
    int width = pen.penWidth;
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int step = 0;
    // The last point is not drawn, as on the platform.
    while (x0 != x1 || y0 != y1) {
        bool on = pen.penStyle == PS_SOLID || width > 1 || (pen.penStyle == PS_DOT ? step % 2 == 0 : step % 6 < 4);
        if (on) {
            int half = (width - 1) / 2;
            for (int oy = -half; oy < width - half; ++oy)
                for (int ox = -half; ox < width - half; ++ox)
                    plot(d, x0 + ox, y0 + oy, colour);
        }
        ++step;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

bool& gradientAvailable()
{
    static bool available = true;
    return available;
}

} // namespace

void gdi::setGradientFillAvailable(bool available) { gradientAvailable() = available; }

namespace {

// A system colour index + 1 stands for that colour's brush, as on the platform.
Object* brushOf(HBRUSH hbr)
{
    uintptr_t value = reinterpret_cast<uintptr_t>(hbr);
    if (value > 0 && value <= 27)
        hbr = GetSysColorBrush(static_cast<int>(value) - 1);
    return lookup(hbr, ObjectKind::brush);
}

} // namespace

int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr)
{
    Object* brush = brushOf(hbr);
    Drawing d = begin(hDC);
    if (brush == nullptr || lprc == nullptr || d.dc == nullptr)
        return 0;
    if (!d.ok || brush->nullBrush)
        return 1;
    fillSpan(d.target, toTarget(d, lprc->left, lprc->top, lprc->right, lprc->bottom), toPixel(brush->colour));
    notifyChanged(d.target);
    return 1;
}

int WINAPI FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr)
{
    Object* brush = brushOf(hbr);
    Drawing d = begin(hDC);
    if (brush == nullptr || lprc == nullptr || d.dc == nullptr)
        return 0;
    if (!d.ok || brush->nullBrush || lprc->right <= lprc->left || lprc->bottom <= lprc->top)
        return 1;
    uint32_t c = toPixel(brush->colour);
    const RECT& r = *lprc;
    fillSpan(d.target, toTarget(d, r.left, r.top, r.right, r.top + 1), c);
    fillSpan(d.target, toTarget(d, r.left, r.bottom - 1, r.right, r.bottom), c);
    fillSpan(d.target, toTarget(d, r.left, r.top, r.left + 1, r.bottom), c);
    fillSpan(d.target, toTarget(d, r.right - 1, r.top, r.right, r.bottom), c);
    notifyChanged(d.target);
    return 1;
}

BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
    Drawing d = begin(hdc);
    if (d.dc == nullptr)
        return FALSE;
    if (!d.ok)
        return TRUE;
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    Object* pen = lookup(d.dc->dc.state.pen, ObjectKind::pen);
    Object* brush = lookup(d.dc->dc.state.brush, ObjectKind::brush);
    int inset = pen != nullptr && pen->penStyle != PS_NULL ? 1 : 0;
    if (brush != nullptr && !brush->nullBrush)
        fillSpan(d.target, toTarget(d, left + inset, top + inset, right - inset, bottom - inset),
                 toPixel(brush->colour));
    if (inset != 0) {
        // The outline lies inside the rectangle: right and bottom are exclusive.
        int w = pen->penWidth;
        int l = left + w / 2, t = top + w / 2, r = right - 1 - (w - 1) / 2, b = bottom - 1 - (w - 1) / 2;
        drawLine(d, *pen, l, t, r, t);
        drawLine(d, *pen, r, t, r, b);
        drawLine(d, *pen, r, b, l, b);
        drawLine(d, *pen, l, b, l, t);
    }
    notifyChanged(d.target);
    return TRUE;
}

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    Object* dc = lookup(hdc, ObjectKind::dc);
    if (dc == nullptr)
        return FALSE;
    if (lppt != nullptr)
        *lppt = dc->dc.state.position;
    dc->dc.state.position = {x, y};
    return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y)
{
    Drawing d = begin(hdc);
    if (d.dc == nullptr)
        return FALSE;
    Object* pen = lookup(d.dc->dc.state.pen, ObjectKind::pen);
    POINT from = d.dc->dc.state.position;
    d.dc->dc.state.position = {x, y};
    if (d.ok && pen != nullptr) {
        drawLine(d, *pen, from.x, from.y, x, y);
        notifyChanged(d.target);
    }
    return TRUE;
}

BOOL WINAPI Polyline(HDC hdc, const POINT* apt, int cpt)
{
    if (apt == nullptr || cpt < 2)
        return FALSE;
    Object* dc = lookup(hdc, ObjectKind::dc);
    if (dc == nullptr)
        return FALSE;
    POINT saved = dc->dc.state.position;
    MoveToEx(hdc, apt[0].x, apt[0].y, nullptr);
    for (int i = 1; i < cpt; ++i)
        LineTo(hdc, apt[i].x, apt[i].y);
    dc->dc.state.position = saved;
    return TRUE;
}

BOOL WINAPI DrawFocusRect(HDC hDC, const RECT* lprc)
{
    Drawing d = begin(hDC);
    if (d.dc == nullptr || lprc == nullptr)
        return FALSE;
    if (!d.ok)
        return TRUE;
    const RECT& r = *lprc;
    if (r.right <= r.left || r.bottom <= r.top)
        return TRUE;
    // Every other pixel of the frame, inverted: drawing it again restores what was there. Each
    // pixel is visited once, so corners do not cancel out.
    auto flip = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            xorSpan(d.target, toTarget(d, x, y, x + 1, y + 1), 0xFFFFFF);
    };
    for (int x = r.left; x < r.right; ++x) {
        flip(x, r.top);
        if (r.bottom - 1 != r.top)
            flip(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        flip(r.left, y);
        if (r.right - 1 != r.left)
            flip(r.right - 1, y);
    }
    notifyChanged(d.target);
    return TRUE;
}

BOOL WINAPI GradientFill(HDC hdc, PTRIVERTEX pVertex, ULONG nVertex, PVOID pMesh, ULONG nMesh, ULONG ulMode)
{
    if (!gradientAvailable()) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    Drawing d = begin(hdc);
    if (d.dc == nullptr || pVertex == nullptr || pMesh == nullptr ||
        (ulMode != GRADIENT_FILL_RECT_H && ulMode != GRADIENT_FILL_RECT_V))
        return FALSE;
    const GRADIENT_RECT* rects = static_cast<const GRADIENT_RECT*>(pMesh);
    for (ULONG m = 0; m < nMesh; ++m) {
        if (rects[m].UpperLeft >= nVertex || rects[m].LowerRight >= nVertex)
            return FALSE;
    }
    if (!d.ok)
        return TRUE;
    for (ULONG m = 0; m < nMesh; ++m) {
        TRIVERTEX a = pVertex[rects[m].UpperLeft];
        TRIVERTEX b = pVertex[rects[m].LowerRight];
        bool vertical = ulMode == GRADIENT_FILL_RECT_V;
        // Each colour stays with its vertex: the run starts at whichever lies first along it.
        if (vertical ? a.y > b.y : a.x > b.x)
            std::swap(a, b);
        if (vertical ? a.x > b.x : a.y > b.y)
            std::swap(vertical ? a.x : a.y, vertical ? b.x : b.y);
        long from = vertical ? a.y : a.x;
        long to = vertical ? b.y : b.x;
        long span = to - from;
        // Bands outside the target are skipped rather than clipped one by one.
        long origin = vertical ? d.target.originY : d.target.originX;
        long extent = vertical ? d.target.height : d.target.width;
        long first = std::max(from, -origin);
        long last = std::min(to, extent - origin);
        for (long i = first; i < last; ++i) {
            long at = i - from;
            auto channel = [&](COLOR16 c0, COLOR16 c1) {
                long value = c0 + (static_cast<long>(c1) - c0) * at / (span > 0 ? span : 1);
                return static_cast<uint32_t>(value >> 8 & 0xFF);
            };
            uint32_t colour = channel(a.Red, b.Red) << 16 | channel(a.Green, b.Green) << 8 | channel(a.Blue, b.Blue);
            ClipRect band = vertical ? toTarget(d, a.x, static_cast<int>(i), b.x, static_cast<int>(i) + 1)
                                     : toTarget(d, static_cast<int>(i), a.y, static_cast<int>(i) + 1, b.y);
            fillSpan(d.target, band, colour);
        }
    }
    notifyChanged(d.target);
    return TRUE;
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color)
{
    Drawing d = begin(hdc);
    if (!d.ok)
        return CLR_INVALID;
    plot(d, x, y, toPixel(color));
    notifyChanged(d.target);
    return color & 0xFFFFFF;
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y)
{
    Object* dc = lookup(hdc, ObjectKind::dc);
    if (dc == nullptr)
        return CLR_INVALID;
    if (!dc->dc.window) {
        Object* bitmap = lookup(dc->dc.state.bitmap, ObjectKind::bitmap);
        if (bitmap == nullptr || x < 0 || y < 0 || x >= bitmap->bitmap.width || y >= bitmap->bitmap.height)
            return CLR_INVALID;
        return toColour(readBitmapPixel(bitmap->bitmap, x, y));
    }
    Target t;
    targetOf(dc->dc, t);
    int sx = x + t.originX, sy = y + t.originY;
    for (const ClipRect& c : t.clip)
        if (sx >= c.left && sx < c.right && sy >= c.top && sy < c.bottom)
            return toColour(pixelAt(t, sx, sy));
    return CLR_INVALID;
}
