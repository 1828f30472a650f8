// The input panel's window: draws the current keyboard and types what its keys say into the
// focus window, through the same input path as the device's hardware keys. It never takes
// activation or the focus, so the field being typed into keeps both.
#include "platform/shell/shell_state.h"

#include "platform/ui/input.h"

namespace shell {

namespace {

constexpr COLORREF panelBack = RGB(206, 211, 222);
constexpr COLORREF keyFace = RGB(255, 255, 255);
constexpr COLORREF specialFace = RGB(181, 190, 206);
constexpr COLORREF keyEdge = RGB(99, 105, 123);
constexpr COLORREF pressedFace = RGB(16, 52, 132);
constexpr COLORREF activeTabFace = RGB(57, 109, 189);
constexpr COLORREF keyText = RGB(0, 0, 0);

SIZE panelSize(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

void fill(HDC dc, const RECT& r, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

bool isActiveTab(const SipKey& key) { return key.kind == KeyKind::layout && key.target == shellState().layout; }

void drawKey(HDC dc, const SipKey& key, RECT r, bool pressed)
{
    const ShellState& s = shellState();
    // Keys touch their neighbours by one pixel of gap, as on the device's keyboard.
    r.right -= 1;
    r.bottom -= 1;
    COLORREF face = keyFace;
    COLORREF text = keyText;
    if (key.kind != KeyKind::character) face = specialFace;
    if (isActiveTab(key) || (key.kind == KeyKind::shift && s.shift)) {
        face = activeTabFace;
        text = RGB(255, 255, 255);
    }
    if (pressed) {
        face = pressedFace;
        text = RGB(255, 255, 255);
    }
    fill(dc, r, face);
    HBRUSH edge = CreateSolidBrush(keyEdge);
    FrameRect(dc, &r, edge);
    DeleteObject(edge);
    const std::u16string label = keyLabel(key, s.shift);
    SetTextColor(dc, text);
    DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void paintPanel(HWND window)
{
    const ShellState& s = shellState();
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    const SIZE size = panelSize(window);
    fill(dc, RECT{0, 0, size.cx, size.cy}, panelBack);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, s.keyFont ? static_cast<HGDIOBJ>(s.keyFont) : GetStockObject(SYSTEM_FONT));
    for (int row = 0; row < sipRowCount; ++row) {
        const std::span<const SipKey> keys = sipRow(s.layout, row);
        for (size_t i = 0; i < keys.size(); ++i) {
            const KeyHit hit{row, static_cast<int>(i)};
            const RECT r = sipKeyRect(s.layout, size.cx, size.cy, hit);
            drawKey(dc, keys[i], r, s.pressedKey == hit);
        }
    }
    SelectObject(dc, oldFont);
    EndPaint(window, &paint);
}

void invalidateKey(HWND window, KeyHit hit)
{
    if (!hit.valid()) return;
    const SIZE size = panelSize(window);
    const RECT r = sipKeyRect(shellState().layout, size.cx, size.cy, hit);
    InvalidateRect(window, &r, FALSE);
}

void setPressed(HWND window, KeyHit hit)
{
    ShellState& s = shellState();
    if (s.pressedKey == hit) return;
    invalidateKey(window, s.pressedKey);
    s.pressedKey = hit;
    invalidateKey(window, hit);
}

KeyHit keyUnder(HWND window, LPARAM lParam)
{
    const SIZE size = panelSize(window);
    const POINT p{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
    return sipKeyAt(shellState().layout, size.cx, size.cy, p);
}

void pressVirtualKey(UINT key)
{
    ui::keyDown(key);
    ui::keyUp(key);
}

void activate(HWND window, const SipKey& key)
{
    ShellState& s = shellState();
    switch (key.kind) {
    case KeyKind::character:
        ui::character(typedCharacter(key, s.shift));
        if (s.shift) {
            s.shift = false;
            InvalidateRect(window, nullptr, FALSE);
        }
        break;
    case KeyKind::backspace:
        pressVirtualKey(VK_BACK);
        break;
    case KeyKind::enter:
        pressVirtualKey(VK_RETURN);
        break;
    case KeyKind::shift:
        s.shift = !s.shift;
        InvalidateRect(window, nullptr, FALSE);
        break;
    case KeyKind::layout:
        s.layout = key.target;
        s.shift = false;
        InvalidateRect(window, nullptr, FALSE);
        break;
    }
}

LRESULT CALLBACK panelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ShellState& s = shellState();
    switch (message) {
    case WM_PAINT:
        paintPanel(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        SetCapture(window);
        setPressed(window, keyUnder(window, lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == window) setPressed(window, keyUnder(window, lParam));
        return 0;
    case WM_LBUTTONUP: {
        const KeyHit pressed = s.pressedKey;
        if (GetCapture() == window) ReleaseCapture();
        setPressed(window, KeyHit{});
        // A key types when the stylus leaves the screen on it, so sliding off cancels.
        if (pressed.valid() && keyUnder(window, lParam) == pressed)
            if (const SipKey* key = sipKey(s.layout, pressed)) activate(window, *key);
        return 0;
    }
    case WM_CAPTURECHANGED:
        setPressed(window, KeyHit{});
        return 0;
    case lowerPanelMessage:
        if (s.lowerPending) {
            s.lowerPending = false;
            showPanel(false);
        }
        return 0;
    case WM_CLOSE:
        return 0;
    case WM_NCDESTROY:
        if (s.panel == window) s.panel = nullptr;
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

void registerPanelClasses()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = panelProc;
    wc.lpszClassName = u"SipWndClass";
    RegisterClassW(&wc);
    registerPanelButtonClass();
}

HWND createPanel()
{
    const RECT r = panelRect();
    return CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, u"SipWndClass", u"", WS_POPUP, r.left,
                           r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace shell
