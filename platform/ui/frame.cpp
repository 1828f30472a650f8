// The non-client area the window manager draws: the frame (one flat pixel on the handheld, a
// raised edge on the desktop) and, where the device profile wants it, the caption strip with the
// window's text.
#include "platform/gdi/faces.h"
#include "platform/ui/ui_state.h"

namespace ui {

namespace {

void fillBand(HDC dc, int left, int top, int right, int bottom, int colour)
{
    const RECT band{left, top, right, bottom};
    FillRect(dc, &band, GetSysColorBrush(colour));
}

// One ring of a raised edge: light above and left, dark below and right.
void edgeRing(HDC dc, const RECT& r, int light, int dark)
{
    fillBand(dc, r.left, r.top, r.right - 1, r.top + 1, light);
    fillBand(dc, r.left, r.top, r.left + 1, r.bottom - 1, light);
    fillBand(dc, r.left, r.bottom - 1, r.right, r.bottom, dark);
    fillBand(dc, r.right - 1, r.top, r.right, r.bottom, dark);
}

// The desktop's frame: the face colour all round the client, inside a two-ring raised edge.
void drawDesktopBorder(HDC dc, const RECT& whole, const RECT& inner)
{
    fillBand(dc, whole.left, whole.top, whole.right, inner.top, COLOR_BTNFACE);
    fillBand(dc, whole.left, inner.bottom, whole.right, whole.bottom, COLOR_BTNFACE);
    fillBand(dc, whole.left, inner.top, inner.left, inner.bottom, COLOR_BTNFACE);
    fillBand(dc, inner.right, inner.top, whole.right, inner.bottom, COLOR_BTNFACE);
    edgeRing(dc, whole, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
    RECT second = whole;
    InflateRect(&second, -1, -1);
    edgeRing(dc, second, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
}

} // namespace

void drawFrame(HWND handle)
{
    Window* w = peekWindow(handle);
    if (w == nullptr || EqualRect(&w->window, &w->client))
        return;
    HDC dc = GetWindowDC(handle);
    if (dc == nullptr)
        return;
    const RECT whole{0, 0, w->window.right - w->window.left, w->window.bottom - w->window.top};
    // The frame as the window was laid out: a style changed since (a program taking WS_THICKFRAME
    // away) keeps the frame it had until SWP_FRAMECHANGED, as on the platform.
    const RECT insets = laidOutInsets(*w);
    const RECT inner{insets.left, insets.top, whole.right - insets.right, whole.bottom - insets.bottom};
    const int border = insets.left;
    const bool desktop = gdi::deviceLook() == gdi::DeviceLook::desktop;
    if (desktop && border >= 2)
        drawDesktopBorder(dc, whole, inner);
    else if (border > 0)
        FrameRect(dc, &whole, GetSysColorBrush(COLOR_WINDOWFRAME));
    if ((w->style & WS_CAPTION) == WS_CAPTION && inner.top > border) {
        const bool active = uiState().active == handle;
        RECT strip = captionStrip(*w);
        FillRect(dc, &strip, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        drawCaptionButtons(dc, *w, strip);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        HFONT font = desktop ? gdi::captionFont() : nullptr;
        HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
        strip.left += 4;
        DrawTextW(dc, w->text.c_str(), static_cast<int>(w->text.size()), &strip,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        SelectObject(dc, old);
    }
    ReleaseDC(handle, dc);
}

} // namespace ui
