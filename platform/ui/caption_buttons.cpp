// The caption of a desktop window: its small icon at the left, and at the right the minimise,
// maximise and close buttons as the platform lays them out (the maximise button greyed when the
// style has no WS_MAXIMIZEBOX). A button acts when the stylus goes down and comes up on it, with
// WM_SYSCOMMAND; the handheld's captions are the shell's task bar and have none of this.
#include "platform/gdi/faces.h"
#include "platform/ui/ui_state.h"

#include <algorithm>

namespace ui {

namespace {

constexpr int buttonWidth = 16;
constexpr int buttonHeight = 14;
constexpr int iconSide = 16;
constexpr int gapBeforeClose = 2;


bool hasSizeButtons(const Window& w) { return (w.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0; }

// A button's place in window coordinates; empty when the window has no such button.
RECT buttonRect(const Window& w, int hit)
{
    const RECT strip = captionStrip(w);
    const int top = strip.top + (strip.bottom - strip.top - buttonHeight) / 2;
    int right = strip.right - 2;
    if (hit != HTCLOSE) {
        if (!hasSizeButtons(w))
            return RECT{};
        right -= buttonWidth + gapBeforeClose;
        if (hit == HTMINBUTTON)
            right -= buttonWidth;
        else if (hit != HTMAXBUTTON)
            return RECT{};
    }
    return RECT{right - buttonWidth, top, right, top + buttonHeight};
}

RECT iconRect(const Window& w)
{
    const RECT strip = captionStrip(w);
    const int top = strip.top + (strip.bottom - strip.top - iconSide) / 2;
    return RECT{strip.left + 2, top, strip.left + 2 + iconSide, top + iconSide};
}

HICON captionIcon(const Window& w)
{
    const WindowClass& c = uiState().classes[w.classIndex];
    return c.smallIcon != nullptr ? c.smallIcon : c.icon;
}

bool buttonEnabled(const Window& w, int hit)
{
    if (hit == HTMINBUTTON)
        return (w.style & WS_MINIMIZEBOX) != 0;
    if (hit == HTMAXBUTTON)
        return (w.style & WS_MAXIMIZEBOX) != 0;
    return true;
}

void line(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

// A raised (or, pressed, sunken) face with its glyph.
void drawButton(HDC dc, const Window& w, int hit, bool pressed)
{
    RECT r = buttonRect(w, hit);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(pressed ? COLOR_3DDKSHADOW : COLOR_BTNHIGHLIGHT));
    HPEN dark = CreatePen(PS_SOLID, 1, GetSysColor(pressed ? COLOR_BTNHIGHLIGHT : COLOR_3DDKSHADOW));
    HPEN glyph = CreatePen(PS_SOLID, 1, GetSysColor(buttonEnabled(w, hit) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    HGDIOBJ old = SelectObject(dc, light);
    line(dc, r.left, r.bottom - 1, r.left, r.top);
    LineTo(dc, r.right - 1, r.top);
    SelectObject(dc, dark);
    line(dc, r.right - 1, r.top, r.right - 1, r.bottom - 1);
    LineTo(dc, r.left - 1, r.bottom - 1);
    SelectObject(dc, glyph);
    const int shift = pressed ? 1 : 0;
    const int l = r.left + 4 + shift, t = r.top + 3 + shift, rr = r.right - 4 + shift, b = r.bottom - 3 + shift;
    switch (hit) {
    case HTCLOSE:
        for (int thick = 0; thick < 2; ++thick) {
            line(dc, l + thick, t, rr + thick - 1, b);
            line(dc, rr - 1 + thick, t, l - 1 + thick, b);
        }
        break;
    case HTMINBUTTON:
        line(dc, l, b - 1, rr - 2, b - 1);
        line(dc, l, b - 2, rr - 2, b - 2);
        break;
    default:
        line(dc, l, t + 1, rr - 1, t + 1);
        line(dc, l, t, rr - 1, t);
        LineTo(dc, rr - 1, b - 1);
        LineTo(dc, l, b - 1);
        LineTo(dc, l, t);
        break;
    }
    SelectObject(dc, old);
    DeleteObject(light);
    DeleteObject(dark);
    DeleteObject(glyph);
}

int buttonUnder(HWND handle, int x, int y)
{
    Window* w = peekWindow(handle);
    if (w == nullptr)
        return HTNOWHERE;
    return static_cast<int>(sendTo(*w, WM_NCHITTEST, 0, MAKELPARAM(x, y)));
}

void redrawFrame(HWND handle)
{
    if (Window* w = peekWindow(handle))
        ui::setFrameDirty(*w, true);
}

}  // namespace

RECT laidOutInsets(const Window& w)
{
    return RECT{w.client.left - w.window.left, w.client.top - w.window.top, w.window.right - w.client.right,
                w.window.bottom - w.client.bottom};
}

RECT captionStrip(const Window& w)
{
    const RECT insets = laidOutInsets(w);
    // The desktop's caption height counts a line of the frame's colour under the strip.
    const int line = gdi::deviceLook() == gdi::DeviceLook::desktop ? 1 : 0;
    return RECT{insets.left, insets.left, (w.window.right - w.window.left) - insets.right,
                std::max(insets.left, insets.top - line)};
}

bool hasCaptionButtons(const Window& w)
{
    return isTopLevel(w) && (w.style & WS_CAPTION) == WS_CAPTION && (w.style & WS_SYSMENU) &&
           uiState().captionStrips;
}

int captionHitTest(const Window& w, POINT screen)
{
    if (!hasCaptionButtons(w))
        return HTCAPTION;
    const RECT onScreen = windowOnScreen(w);
    const POINT p{screen.x - onScreen.left, screen.y - onScreen.top};
    for (int hit : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}) {
        const RECT r = buttonRect(w, hit);
        if (PtInRect(&r, p))
            return hit;
    }
    const RECT icon = iconRect(w);
    return PtInRect(&icon, p) && captionIcon(w) != nullptr ? HTSYSMENU : HTCAPTION;
}

void drawCaptionButtons(HDC dc, const Window& w, RECT& strip)
{
    if (!hasCaptionButtons(w))
        return;
    if (HICON icon = captionIcon(w)) {
        const RECT r = iconRect(w);
        DrawIconEx(dc, r.left, r.top, icon, iconSide, iconSide, 0, nullptr, DI_NORMAL);
        strip.left = r.right;
    }
    const UiState& s = uiState();
    for (int hit : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}) {
        const RECT r = buttonRect(w, hit);
        if (IsRectEmpty(&r))
            continue;
        drawButton(dc, w, hit, s.captionPressWindow == w.handle && s.captionPressHit == hit);
        strip.right = r.left - 2;
    }
}

bool captionStylusDown(int x, int y)
{
    UiState& s = uiState();
    if (peekWindow(s.capture) != nullptr)
        return false;
    const HWND top = topLevelOf(WindowFromPoint(POINT{x, y}));
    Window* w = peekWindow(top);
    if (w == nullptr || !hasCaptionButtons(*w))
        return false;
    const int hit = buttonUnder(top, x, y);
    if (hit != HTCLOSE && hit != HTMINBUTTON && hit != HTMAXBUTTON)
        return false;
    if (s.active != top)
        activateWindow(top, WA_CLICKACTIVE);
    if ((w = peekWindow(top)) != nullptr && buttonEnabled(*w, hit)) {
        s.captionPressWindow = top;
        s.captionPressHit = hit;
        redrawFrame(top);
    }
    return true;
}

bool captionStylusUp(int x, int y)
{
    UiState& s = uiState();
    const HWND pressed = s.captionPressWindow;
    const int hit = s.captionPressHit;
    if (pressed == nullptr)
        return false;
    s.captionPressWindow = nullptr;
    s.captionPressHit = HTNOWHERE;
    redrawFrame(pressed);
    // Released away from the button, the press is undone, as on the platform.
    if (buttonUnder(pressed, x, y) == hit)
        PostMessageW(pressed, WM_SYSCOMMAND,
                     hit == HTCLOSE ? SC_CLOSE : hit == HTMINBUTTON ? SC_MINIMIZE : SC_MAXIMIZE, MAKELPARAM(x, y));
    return true;
}

}  // namespace ui
