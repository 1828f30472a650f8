// The input panel's button, in the corner where the menu bar would have it: a tap raises or
// lowers the panel. Programs that draw their own bar there hide it with SHFullScreen.
#include "platform/shell/shell_state.h"

namespace shell {

namespace {

void drawKeyboardGlyph(HDC dc, const RECT& client, bool pressed)
{
    HBRUSH back = CreateSolidBrush(pressed ? RGB(12, 48, 120) : RGB(38, 92, 181));
    FillRect(dc, &client, back);
    DeleteObject(back);
    // A small keyboard: a white frame with two rows of keys.
    const int w = 18;
    const int h = 11;
    const int left = (client.right - w) / 2;
    const int top = (client.bottom - h) / 2;
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    const RECT frame{left, top, left + w, top + h};
    FrameRect(dc, &frame, white);
    for (int row = 0; row < 2; ++row)
        for (int k = 0; k < 5; ++k) {
            const RECT key{left + 2 + k * 3, top + 2 + row * 3, left + 4 + k * 3, top + 4 + row * 3};
            FillRect(dc, &key, white);
        }
    const RECT space{left + 4, top + 8, left + w - 4, top + 9};
    FillRect(dc, &space, white);
    DeleteObject(white);
}

LRESULT CALLBACK panelButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    bool& pressed = shellState().panelButtonPressed;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        RECT client{};
        GetClientRect(window, &client);
        drawKeyboardGlyph(dc, client, pressed);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        SetCapture(window);
        pressed = true;
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_LBUTTONUP: {
        const bool wasPressed = pressed;
        pressed = false;
        if (GetCapture() == window) ReleaseCapture();
        InvalidateRect(window, nullptr, FALSE);
        RECT client{};
        GetClientRect(window, &client);
        const POINT p{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
        if (wasPressed && PtInRect(&client, p)) showPanel(!shellState().panelShown);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (pressed) {
            pressed = false;
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    case WM_CLOSE:
        return 0;
    case WM_NCDESTROY:
        pressed = false;
        if (shellState().panelButton == window) shellState().panelButton = nullptr;
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

void registerPanelButtonClass()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = panelButtonProc;
    wc.lpszClassName = u"MS_SIPBUTTON";
    RegisterClassW(&wc);
}

HWND createPanelButton()
{
    const RECT r = panelButtonRect();
    return CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, u"MS_SIPBUTTON", u"",
                           WS_POPUP | WS_VISIBLE, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                           nullptr, nullptr);
}

}  // namespace shell
