// Device contexts: window views of the screen, memory contexts over bitmaps, their attributes.
#include "platform/gdi/gdi_state.h"

#include <algorithm>

namespace gdi {

void* newDc(bool window);
void* defaultBitmap();
void freeDc(void* handle);
void retainState(const DcState& s);
void releaseState(const DcState& s);

namespace {

struct ScreenState {
    Framebuffer framebuffer;
    ScreenChanged changed = nullptr;
    TextDrawn textDrawn = nullptr;
    ScreenState()
    {
        framebuffer.width = 240;
        framebuffer.height = 320;
        framebuffer.pixels.assign(240 * 320, 0xFFFFFF);
    }
};

ScreenState& screenState()
{
    static ScreenState instance;
    return instance;
}

} // namespace

Framebuffer& screen() { return screenState().framebuffer; }

void resizeScreen(int width, int height)
{
    if (width < 0 || height < 0 || width > 16384 || height > 16384)
        return;
    Framebuffer& fb = screen();
    fb.width = width;
    fb.height = height;
    fb.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFFFFFF);
}

void setScreenChangedHandler(ScreenChanged handler) { screenState().changed = handler; }

void setTextDrawnHandler(TextDrawn handler) { screenState().textDrawn = handler; }

void notifyTextDrawn(HDC dc, const Target& target, std::u16string_view text, const ClipRect& cell)
{
    if (!target.isScreen || screenState().textDrawn == nullptr || text.empty())
        return;
    for (const ClipRect& r : target.clip)
        if (std::max(r.left, cell.left) < std::min(r.right, cell.right) &&
            std::max(r.top, cell.top) < std::min(r.bottom, cell.bottom)) {
            screenState().textDrawn(dc, text, cell);
            return;
        }
}

void notifyChanged(const Target& target)
{
    if (target.isScreen && screenState().changed != nullptr)
        screenState().changed();
}

HDC createWindowDC(int originX, int originY, const std::vector<ClipRect>& clip)
{
    HDC dc = static_cast<HDC>(newDc(true));
    updateWindowDC(dc, originX, originY, clip);
    return dc;
}

void updateWindowDC(HDC dc, int originX, int originY, const std::vector<ClipRect>& clip)
{
    Object* object = lookup(dc, ObjectKind::dc);
    if (object == nullptr || !object->dc.window)
        return;
    object->dc.originX = originX;
    object->dc.originY = originY;
    object->dc.clip = clip;
}

void releaseWindowDC(HDC dc)
{
    Object* object = lookup(dc, ObjectKind::dc);
    if (object != nullptr && object->dc.window)
        freeDc(dc);
}

bool targetOf(DcData& dc, Target& target)
{
    target = Target{};
    if (dc.window) {
        Framebuffer& fb = screen();
        target.pixels = fb.pixels.data();
        target.width = fb.width;
        target.height = fb.height;
        target.stridePixels = fb.width;
        target.originX = dc.originX;
        target.originY = dc.originY;
        target.isScreen = true;
        for (ClipRect r : dc.clip) {
            r.left = std::max(r.left, 0);
            r.top = std::max(r.top, 0);
            r.right = std::min(r.right, fb.width);
            r.bottom = std::min(r.bottom, fb.height);
            if (r.left < r.right && r.top < r.bottom)
                target.clip.push_back(r);
        }
        return true;
    }
    Object* bitmap = lookup(dc.state.bitmap, ObjectKind::bitmap);
    if (bitmap == nullptr || bitmap->bitmap.bitsPerPixel != 32)
        return false;
    BitmapData& b = bitmap->bitmap;
    // Bottom-up rows are walked from the last row in memory with a negative stride.
    const ptrdiff_t stride = static_cast<ptrdiff_t>(b.stride / 4);
    target.pixels = reinterpret_cast<uint32_t*>(b.bits.data());
    if (!b.topDown)
        target.pixels += stride * (b.height - 1);
    target.width = b.width;
    target.height = b.height;
    target.stridePixels = b.topDown ? stride : -stride;
    target.clip.push_back({0, 0, b.width, b.height});
    return true;
}

namespace {

template <typename Op> void eachClipped(Target& target, ClipRect r, Op op)
{
    for (const ClipRect& c : target.clip) {
        int left = std::max(r.left, c.left);
        int right = std::min(r.right, c.right);
        int top = std::max(r.top, c.top);
        int bottom = std::min(r.bottom, c.bottom);
        for (int y = top; y < bottom; ++y) {
            uint32_t* row = &pixelAt(target, 0, y);
            for (int x = left; x < right; ++x)
                op(row[x]);
        }
    }
}

bool clipped(const Target& target, int x, int y)
{
    for (const ClipRect& c : target.clip)
        if (x >= c.left && x < c.right && y >= c.top && y < c.bottom)
            return false;
    return true;
}

} // namespace

void fillSpan(Target& target, ClipRect r, uint32_t colour)
{
    for (const ClipRect& c : target.clip) {
        int left = std::max(r.left, c.left);
        int right = std::min(r.right, c.right);
        for (int y = std::max(r.top, c.top); y < std::min(r.bottom, c.bottom); ++y)
            if (left < right)
                std::fill(&pixelAt(target, left, y), &pixelAt(target, right, y), colour);
    }
}

void xorSpan(Target& target, ClipRect r, uint32_t mask)
{
    eachClipped(target, r, [mask](uint32_t& p) { p ^= mask; });
}

void putPixel(Target& target, int x, int y, uint32_t colour)
{
    if (!clipped(target, x, y))
        pixelAt(target, x, y) = colour;
}

bool insideClip(const Target& target, int x, int y) { return !clipped(target, x, y); }

void blendPixel(Target& target, int x, int y, uint32_t colour, unsigned alpha)
{
    if (alpha == 0 || clipped(target, x, y))
        return;
    uint32_t& p = pixelAt(target, x, y);
    p = blend(p, colour, alpha);
}

} // namespace gdi

using namespace gdi;

HDC WINAPI CreateCompatibleDC(HDC hdc)
{
    if (hdc != nullptr && lookup(hdc, ObjectKind::dc) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    HDC dc = static_cast<HDC>(newDc(false));
    if (dc != nullptr)
        SelectObject(dc, defaultBitmap());
    return dc;
}

BOOL WINAPI DeleteDC(HDC hdc)
{
    Object* object = lookup(hdc, ObjectKind::dc);
    if (object == nullptr || object->dc.window) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    freeDc(hdc);
    return TRUE;
}

BOOL WINAPI RectVisible(HDC hdc, const RECT* lprect)
{
    Object* dc = lookup(hdc, ObjectKind::dc);
    if (dc == nullptr || lprect == nullptr)
        return FALSE;
    const DcData& d = dc->dc;
    const auto meets = [lprect](int originX, int originY, const ClipRect& c) {
        return std::max<int>(lprect->left + originX, c.left) < std::min<int>(lprect->right + originX, c.right) &&
               std::max<int>(lprect->top + originY, c.top) < std::min<int>(lprect->bottom + originY, c.bottom);
    };
    if (d.window) {
        const Framebuffer& fb = screen();
        for (const ClipRect& c : d.clip) {
            const ClipRect onScreen{std::max(c.left, 0), std::max(c.top, 0), std::min(c.right, fb.width),
                                    std::min(c.bottom, fb.height)};
            if (meets(d.originX, d.originY, onScreen))
                return TRUE;
        }
        return FALSE;
    }
    // A memory context draws on its bitmap (a new one holds a single pixel).
    const Object* bitmap = lookup(d.state.bitmap, ObjectKind::bitmap);
    const ClipRect bounds{0, 0, bitmap != nullptr ? bitmap->bitmap.width : 1,
                          bitmap != nullptr ? bitmap->bitmap.height : 1};
    return meets(0, 0, bounds) ? TRUE : FALSE;
}

int WINAPI SaveDC(HDC hdc)
{
    Object* object = lookup(hdc, ObjectKind::dc);
    if (object == nullptr)
        return 0;
    retainState(object->dc.state);
    object->dc.saved.push_back(object->dc.state);
    return static_cast<int>(object->dc.saved.size());
}

BOOL WINAPI RestoreDC(HDC hdc, int nSavedDC)
{
    Object* object = lookup(hdc, ObjectKind::dc);
    if (object == nullptr)
        return FALSE;
    std::vector<DcState>& saved = object->dc.saved;
    int count = static_cast<int>(saved.size());
    int level = nSavedDC < 0 ? count + 1 + nSavedDC : nSavedDC;
    if (level < 1 || level > count)
        return FALSE;
    DcState previous = object->dc.state;
    object->dc.state = saved[static_cast<size_t>(level - 1)];
    // The restored level's references move into the live state; the levels above it are dropped.
    for (size_t i = static_cast<size_t>(level); i < saved.size(); ++i)
        releaseState(saved[i]);
    saved.resize(static_cast<size_t>(level - 1));
    releaseState(previous);
    return TRUE;
}

int WINAPI GetDeviceCaps(HDC hdc, int index)
{
    Object* object = lookup(hdc, ObjectKind::dc);
    if (object == nullptr)
        return 0;
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    case HORZRES:
        return screen().width;
    case VERTRES:
        return screen().height;
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    default:
        return 0;
    }
}

namespace {

DcState* stateOf(HDC hdc)
{
    Object* object = lookup(hdc, ObjectKind::dc);
    return object == nullptr ? nullptr : &object->dc.state;
}

// The text and the background colour are kept alike: only the RGB bytes, the previous colour
// answered, CLR_INVALID for what is not a device context.
COLORREF replaceColour(HDC hdc, COLORREF DcState::*colour, COLORREF replacement)
{
    DcState* s = stateOf(hdc);
    if (s == nullptr)
        return CLR_INVALID;
    COLORREF previous = s->*colour;
    s->*colour = replacement & 0xFFFFFF;
    return previous;
}

COLORREF colourOf(HDC hdc, COLORREF DcState::*colour)
{
    DcState* s = stateOf(hdc);
    return s == nullptr ? CLR_INVALID : s->*colour;
}

} // namespace

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color)
{
    return replaceColour(hdc, &DcState::textColour, color);
}

COLORREF WINAPI GetTextColor(HDC hdc)
{
    return colourOf(hdc, &DcState::textColour);
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color)
{
    return replaceColour(hdc, &DcState::bkColour, color);
}

COLORREF WINAPI GetBkColor(HDC hdc)
{
    return colourOf(hdc, &DcState::bkColour);
}

int WINAPI SetBkMode(HDC hdc, int mode)
{
    DcState* s = stateOf(hdc);
    if (s == nullptr || (mode != OPAQUE && mode != TRANSPARENT))
        return 0;
    int previous = s->bkMode;
    s->bkMode = mode;
    return previous;
}

int WINAPI GetBkMode(HDC hdc)
{
    DcState* s = stateOf(hdc);
    return s == nullptr ? 0 : s->bkMode;
}

UINT WINAPI SetTextAlign(HDC hdc, UINT align)
{
    DcState* s = stateOf(hdc);
    if (s == nullptr)
        return 0xFFFFFFFF;
    UINT previous = s->textAlign;
    s->textAlign = align;
    return previous;
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type)
{
    DcState* s = stateOf(hdc);
    if (s == nullptr)
        return nullptr;
    switch (type) {
    case OBJ_PEN:
        return s->pen;
    case OBJ_BRUSH:
        return s->brush;
    case OBJ_FONT:
        return s->font;
    case OBJ_BITMAP:
        return s->bitmap;
    default:
        return nullptr;
    }
}
