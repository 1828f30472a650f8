// Rectangle arithmetic: the platform's helpers and the window manager's region operations.
// Regions are lists of disjoint rectangles; a screen has few enough windows for that to do.
#include "platform/ui/ui_state.h"

#include <algorithm>

namespace ui {

bool rectEmpty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

RECT intersect(const RECT& a, const RECT& b)
{
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (rectEmpty(r))
        return RECT{0, 0, 0, 0};
    return r;
}

void subtractRect(const RECT& a, const RECT& b, std::vector<RECT>& out)
{
    const RECT overlap = intersect(a, b);
    if (rectEmpty(overlap)) {
        if (!rectEmpty(a))
            out.push_back(a);
        return;
    }
    if (a.top < overlap.top)
        out.push_back(RECT{a.left, a.top, a.right, overlap.top});
    if (overlap.bottom < a.bottom)
        out.push_back(RECT{a.left, overlap.bottom, a.right, a.bottom});
    if (a.left < overlap.left)
        out.push_back(RECT{a.left, overlap.top, overlap.left, overlap.bottom});
    if (overlap.right < a.right)
        out.push_back(RECT{overlap.right, overlap.top, a.right, overlap.bottom});
}

namespace {

RECT toRect(const gdi::ClipRect& c) { return RECT{c.left, c.top, c.right, c.bottom}; }
gdi::ClipRect toClip(const RECT& r)
{
    return gdi::ClipRect{static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
                         static_cast<int>(r.bottom)};
}

} // namespace

void subtractFromRegion(std::vector<gdi::ClipRect>& region, const RECT& cut)
{
    if (rectEmpty(cut))
        return;
    std::vector<gdi::ClipRect> result;
    std::vector<RECT> pieces;
    for (const gdi::ClipRect& c : region) {
        pieces.clear();
        subtractRect(toRect(c), cut, pieces);
        for (const RECT& p : pieces)
            result.push_back(toClip(p));
    }
    region.swap(result);
}

void intersectRegion(std::vector<gdi::ClipRect>& region, const RECT& with)
{
    std::vector<gdi::ClipRect> result;
    for (const gdi::ClipRect& c : region) {
        const RECT r = intersect(toRect(c), with);
        if (!rectEmpty(r))
            result.push_back(toClip(r));
    }
    region.swap(result);
}

} // namespace ui

BOOL WINAPI SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom)
{
    if (lprc == nullptr)
        return FALSE;
    *lprc = RECT{xLeft, yTop, xRight, yBottom};
    return TRUE;
}

BOOL WINAPI SetRectEmpty(LPRECT lprc) { return SetRect(lprc, 0, 0, 0, 0); }

BOOL WINAPI CopyRect(LPRECT lprcDst, const RECT* lprcSrc)
{
    if (lprcDst == nullptr || lprcSrc == nullptr)
        return FALSE;
    *lprcDst = *lprcSrc;
    return TRUE;
}

BOOL WINAPI IsRectEmpty(const RECT* lprc) { return lprc == nullptr || ui::rectEmpty(*lprc); }

BOOL WINAPI PtInRect(const RECT* lprc, POINT pt)
{
    return lprc != nullptr && pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top && pt.y < lprc->bottom;
}

BOOL WINAPI OffsetRect(LPRECT lprc, int dx, int dy)
{
    if (lprc == nullptr)
        return FALSE;
    lprc->left += dx;
    lprc->right += dx;
    lprc->top += dy;
    lprc->bottom += dy;
    return TRUE;
}

BOOL WINAPI InflateRect(LPRECT lprc, int dx, int dy)
{
    if (lprc == nullptr)
        return FALSE;
    lprc->left -= dx;
    lprc->right += dx;
    lprc->top -= dy;
    lprc->bottom += dy;
    return TRUE;
}

BOOL WINAPI IntersectRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2)
{
    if (lprcDst == nullptr || lprcSrc1 == nullptr || lprcSrc2 == nullptr)
        return FALSE;
    *lprcDst = ui::intersect(*lprcSrc1, *lprcSrc2);
    return !ui::rectEmpty(*lprcDst);
}

BOOL WINAPI UnionRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2)
{
    if (lprcDst == nullptr || lprcSrc1 == nullptr || lprcSrc2 == nullptr)
        return FALSE;
    const bool empty1 = ui::rectEmpty(*lprcSrc1);
    const bool empty2 = ui::rectEmpty(*lprcSrc2);
    if (empty1 && empty2) {
        *lprcDst = RECT{0, 0, 0, 0};
        return FALSE;
    }
    if (empty1) {
        *lprcDst = *lprcSrc2;
        return TRUE;
    }
    if (empty2) {
        *lprcDst = *lprcSrc1;
        return TRUE;
    }
    *lprcDst = RECT{std::min(lprcSrc1->left, lprcSrc2->left), std::min(lprcSrc1->top, lprcSrc2->top),
                    std::max(lprcSrc1->right, lprcSrc2->right), std::max(lprcSrc1->bottom, lprcSrc2->bottom)};
    return TRUE;
}

BOOL WINAPI EqualRect(const RECT* lprc1, const RECT* lprc2)
{
    return lprc1 != nullptr && lprc2 != nullptr && lprc1->left == lprc2->left && lprc1->top == lprc2->top &&
           lprc1->right == lprc2->right && lprc1->bottom == lprc2->bottom;
}
