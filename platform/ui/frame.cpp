// The non-client area the window manager draws: a one-pixel frame and, where the device profile
// wants it, the caption strip with the window's text.
#include "platform/ui/ui_state.h"

namespace ui {

void drawFrame(HWND handle)
{
    Window* w = peekWindow(handle);
    if (w == nullptr || EqualRect(&w->window, &w->client))
        return;
    HDC dc = GetWindowDC(handle);
    if (dc == nullptr)
        return;
    const RECT whole{0, 0, w->window.right - w->window.left, w->window.bottom - w->window.top};
    const RECT insets = frameInsets(w->style, w->exStyle, !isTopLevel(*w));
    if (insets.left > 0)
        FrameRect(dc, &whole, GetSysColorBrush(COLOR_WINDOWFRAME));
    if (insets.top > insets.left) {
        const bool active = uiState().active == handle;
        RECT strip{insets.left, insets.left, whole.right - insets.right, insets.top};
        FillRect(dc, &strip, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        drawCaptionButtons(dc, *w, strip);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
        strip.left += 4;
        DrawTextW(dc, w->text.c_str(), static_cast<int>(w->text.size()), &strip,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        SelectObject(dc, old);
    }
    ReleaseDC(handle, dc);
}

} // namespace ui
