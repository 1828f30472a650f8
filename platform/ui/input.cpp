// Input from the presenters and the test driver: the stylus goes to the window under it (or the
// capture), keys and characters to the focus; disabled windows get none; a tap activates.
#include "platform/ui/mouse_points.h"
#include "platform/ui/ui_state.h"

namespace ui {

namespace {

constexpr LPARAM altContext = 1 << 29;
constexpr LPARAM previouslyDown = 1 << 30;
constexpr LPARAM releasing = static_cast<LPARAM>(1u << 31);

bool contains(const RECT& r, POINT p) { return PtInRect(&r, p) != FALSE; }

// The deepest shown window under the point; a disabled child passes the point to its parent,
// a disabled top-level window takes it and swallows it (null).
HWND hitTest(HWND within, POINT screenPoint)
{
    Window* w = peekWindow(within);
    if (w == nullptr)
        return nullptr;
    for (HWND child : w->children) {
        Window* c = peekWindow(child);
        if (c == nullptr || !(c->style & WS_VISIBLE) || !contains(windowOnScreen(*c), screenPoint))
            continue;
        if (c->style & WS_DISABLED)
            return isTopLevel(*c) ? nullptr : within;
        return hitTest(child, screenPoint);
    }
    return within;
}

HWND stylusTarget(int x, int y)
{
    UiState& s = uiState();
    if (peekWindow(s.capture) != nullptr)
        return s.capture;
    const HWND hit = hitTest(s.desktop, POINT{x, y});
    return hit == s.desktop ? nullptr : hit;
}

WPARAM mouseKeys()
{
    WPARAM keys = uiState().stylusIsDown ? MK_LBUTTON : 0;
    if (GetAsyncKeyState(VK_SHIFT) < 0)
        keys |= MK_SHIFT;
    if (GetAsyncKeyState(VK_CONTROL) < 0)
        keys |= MK_CONTROL;
    return keys;
}

void postStylus(HWND target, UINT message, int x, int y)
{
    Window* w = peekWindow(target);
    if (w == nullptr)
        return;
    const RECT client = clientOnScreen(*w);
    const auto cx = static_cast<WORD>(static_cast<short>(x - client.left));
    const auto cy = static_cast<WORD>(static_cast<short>(y - client.top));
    postInput(target, message, mouseKeys(), MAKELPARAM(cx, cy));
}

HWND keyTarget()
{
    UiState& s = uiState();
    HWND target = peekWindow(s.focus) ? s.focus : s.active;
    Window* w = peekWindow(target);
    if (w == nullptr || !isEnabledChain(*w))
        return nullptr;
    return target;
}

bool altHeld()
{
    const UiState& s = uiState();
    return (s.asyncKeys[VK_MENU] & 0x80) && !(s.asyncKeys[VK_CONTROL] & 0x80);
}

void setKey(BYTE* keys, UINT key, bool down)
{
    BYTE& state = keys[key & 0xFF];
    if (down && !(state & 0x80))
        state ^= 0x01;
    state = static_cast<BYTE>(down ? (state | 0x80) : (state & ~0x80));
}

// The generic modifier keys follow their left and right forms.
void setKeyWithSides(BYTE* keys, UINT key, bool down)
{
    setKey(keys, key, down);
    switch (key) {
    case VK_LSHIFT:
    case VK_RSHIFT:
        setKey(keys, VK_SHIFT, down);
        break;
    case VK_LCONTROL:
    case VK_RCONTROL:
        setKey(keys, VK_CONTROL, down);
        break;
    case VK_LMENU:
    case VK_RMENU:
        setKey(keys, VK_MENU, down);
        break;
    default:
        break;
    }
}

// Both key states at once: the stylus, and keys that nobody receives.
void setKeyNow(UINT key, bool down)
{
    UiState& s = uiState();
    setKeyWithSides(s.asyncKeys, key, down);
    setKeyWithSides(s.keys, key, down);
}

} // namespace

void stylusDown(int x, int y)
{
    UiState& s = uiState();
    s.cursorPos = POINT{x, y};
    if (captionStylusDown(x, y))
        return;
    emu::recordStylus(emu::StylusPhase::down, x, y);
    const HWND target = stylusTarget(x, y);
    if (target == nullptr)
        return;
    s.stylusIsDown = true;
    setKeyNow(VK_LBUTTON, true);
    const HWND top = topLevelOf(target);
    Window* t = peekWindow(top);
    if (t != nullptr && s.active != top && !(t->exStyle & WS_EX_NOACTIVATE)) {
        s.inForeground = true;
        activateWindow(top, WA_CLICKACTIVE);
    }
    postStylus(target, WM_LBUTTONDOWN, x, y);
}

void stylusMove(int x, int y)
{
    UiState& s = uiState();
    s.cursorPos = POINT{x, y};
    // A stylus is only seen while it touches the screen, unless someone holds the capture.
    if (!s.stylusIsDown && peekWindow(s.capture) == nullptr)
        return;
    if (s.stylusIsDown)
        emu::recordStylus(emu::StylusPhase::move, x, y);
    postStylus(stylusTarget(x, y), WM_MOUSEMOVE, x, y);
}

void stylusUp(int x, int y)
{
    UiState& s = uiState();
    s.cursorPos = POINT{x, y};
    if (captionStylusUp(x, y))
        return;
    const bool wasDown = s.stylusIsDown;
    s.stylusIsDown = false;
    if (wasDown)
        emu::recordStylus(emu::StylusPhase::up, x, y);
    setKeyNow(VK_LBUTTON, false);
    if (!wasDown && peekWindow(s.capture) == nullptr)
        return;
    postStylus(stylusTarget(x, y), WM_LBUTTONUP, x, y);
}

void keyMessageTaken(const MSG& msg)
{
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        setKeyWithSides(uiState().keys, static_cast<UINT>(msg.wParam), true);
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        setKeyWithSides(uiState().keys, static_cast<UINT>(msg.wParam), false);
        break;
    default:
        break;
    }
}

void keyDown(UINT virtualKey)
{
    const bool wasDown = (uiState().asyncKeys[virtualKey & 0xFF] & 0x80) != 0;
    const HWND target = keyTarget();
    if (target == nullptr) {
        setKeyNow(virtualKey, true);
        return;
    }
    setKeyWithSides(uiState().asyncKeys, virtualKey, true);
    const bool sys = altHeld();
    LPARAM lParam = 1;
    if (sys)
        lParam |= altContext;
    if (wasDown)
        lParam |= previouslyDown;
    postInput(target, sys ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, lParam);
}

void keyUp(UINT virtualKey)
{
    // Releasing Alt itself is still a system key.
    const bool sys = altHeld();
    const HWND target = keyTarget();
    if (target == nullptr) {
        setKeyNow(virtualKey, false);
        return;
    }
    setKeyWithSides(uiState().asyncKeys, virtualKey, false);
    LPARAM lParam = 1 | previouslyDown | releasing;
    if (sys)
        lParam |= altContext;
    postInput(target, sys ? WM_SYSKEYUP : WM_KEYUP, virtualKey, lParam);
}

void character(WCHAR ch)
{
    const HWND target = keyTarget();
    if (target == nullptr)
        return;
    const bool sys = altHeld();
    postInput(target, sys ? WM_SYSCHAR : WM_CHAR, ch, sys ? (1 | altContext) : 1);
}

} // namespace ui

SHORT WINAPI GetKeyState(int nVirtKey)
{
    const BYTE state = ui::uiState().keys[nVirtKey & 0xFF];
    SHORT result = 0;
    if (state & 0x80)
        result = static_cast<SHORT>(0x8000);
    if (state & 0x01)
        result = static_cast<SHORT>(result | 1);
    return result;
}

SHORT WINAPI GetAsyncKeyState(int vKey)
{
    return (ui::uiState().asyncKeys[vKey & 0xFF] & 0x80) ? static_cast<SHORT>(0x8000) : 0;
}

HWND WINAPI WindowFromPoint(POINT Point)
{
    ui::UiState& s = ui::uiState();
    const HWND hit = ui::hitTest(s.desktop, Point);
    return hit == s.desktop ? nullptr : hit;
}

HWND WINAPI ChildWindowFromPoint(HWND hWndParent, POINT Point)
{
    ui::Window* w = ui::windowOf(hWndParent);
    if (w == nullptr)
        return nullptr;
    POINT screen = Point;
    ClientToScreen(hWndParent, &screen);
    if (!ui::contains(ui::clientOnScreen(*w), screen))
        return nullptr;
    for (HWND child : w->children) {
        ui::Window* c = ui::peekWindow(child);
        if (c != nullptr && ui::contains(ui::windowOnScreen(*c), screen))
            return child;
    }
    return hWndParent;
}
