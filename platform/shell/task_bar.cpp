// The task bar strip, window class "HHTaskBar": the caption of the window in front and, when
// that window asked for a Done button, an "ok" button that posts IDOK to it. It never takes
// activation, so tapping it leaves the focus where it was.
#include "platform/shell/shell_state.h"

#include "platform/ui/window_manager.h"

namespace shell {

namespace {

constexpr COLORREF stripTop = RGB(38, 92, 181);
constexpr COLORREF stripBottom = RGB(12, 48, 120);
constexpr COLORREF captionColour = RGB(255, 255, 255);
constexpr int okWidth = 30;

HWND foregroundWindow()
{
    const HWND front = GetForegroundWindow();
    return isShellWindow(front) ? nullptr : front;
}

bool wantsDoneButton(HWND window)
{
    if (window == nullptr) return false;
    if (const ShellWindow* tracked = findShellWindow(window)) return tracked->doneButton;
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CAPTIONOKBTN) != 0;
}

std::u16string captionOf(HWND window)
{
    if (window == nullptr) return {};
    WCHAR text[128]{};
    const int length = GetWindowTextW(window, text, 128);
    return std::u16string(text, static_cast<size_t>(length > 0 ? length : 0));
}

RECT okRect(const RECT& client) { return RECT{client.right - okWidth - 4, 3, client.right - 4, client.bottom - 3}; }

TRIVERTEX vertex(int x, int y, COLORREF colour)
{
    TRIVERTEX v{};
    v.x = x;
    v.y = y;
    v.Red = static_cast<COLOR16>(GetRValue(colour) << 8);
    v.Green = static_cast<COLOR16>(GetGValue(colour) << 8);
    v.Blue = static_cast<COLOR16>(GetBValue(colour) << 8);
    return v;
}

void fillStrip(HDC dc, const RECT& r)
{
    TRIVERTEX corners[2] = {vertex(r.left, r.top, stripTop), vertex(r.right, r.bottom, stripBottom)};
    GRADIENT_RECT joined{0, 1};
    if (!GradientFill(dc, corners, 2, &joined, 1, GRADIENT_FILL_RECT_V)) {
        HBRUSH flat = CreateSolidBrush(stripBottom);
        FillRect(dc, &r, flat);
        DeleteObject(flat);
    }
}

void drawOkButton(HDC dc, const RECT& r, bool pressed)
{
    HBRUSH face = CreateSolidBrush(pressed ? RGB(255, 255, 255) : RGB(20, 60, 140));
    HBRUSH edge = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc, &r, face);
    FrameRect(dc, &r, edge);
    DeleteObject(face);
    DeleteObject(edge);
    SetTextColor(dc, pressed ? stripBottom : captionColour);
    RECT text = r;
    DrawTextW(dc, u"ok", 2, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void paintTaskBar(HWND window)
{
    ShellState& s = shellState();
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    fillStrip(dc, client);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, s.captionFont ? static_cast<HGDIOBJ>(s.captionFont) : GetStockObject(SYSTEM_FONT));
    RECT text{client.left + 6, client.top, client.right - 6, client.bottom};
    if (s.shownDone) {
        const RECT ok = okRect(client);
        text.right = ok.left - 4;
        drawOkButton(dc, ok, s.okPressed);
    }
    SetTextColor(dc, captionColour);
    DrawTextW(dc, s.shownCaption.c_str(), static_cast<int>(s.shownCaption.size()), &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    EndPaint(window, &paint);
}

bool onOkButton(HWND window, LPARAM lParam)
{
    RECT client{};
    GetClientRect(window, &client);
    RECT hit = okRect(client);
    hit.left -= 4;
    hit.top = client.top;
    hit.bottom = client.bottom;
    hit.right = client.right;
    const POINT p{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
    return PtInRect(&hit, p) != FALSE;
}

void setOkPressed(HWND window, bool pressed)
{
    ShellState& s = shellState();
    if (s.okPressed == pressed) return;
    s.okPressed = pressed;
    InvalidateRect(window, nullptr, FALSE);
}

LRESULT CALLBACK taskBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ShellState& s = shellState();
    switch (message) {
    case WM_PAINT:
        paintTaskBar(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        if (s.shownDone && onOkButton(window, lParam)) {
            SetCapture(window);
            setOkPressed(window, true);
        }
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == window) setOkPressed(window, onOkButton(window, lParam));
        return 0;
    case WM_LBUTTONUP: {
        const bool wasPressed = s.okPressed;
        if (GetCapture() == window) ReleaseCapture();
        setOkPressed(window, false);
        // Posted, so that the dialog ends from its own loop rather than inside the strip's handler.
        if (wasPressed && s.shownDone && onOkButton(window, lParam) && IsWindow(s.shownWindow))
            PostMessageW(s.shownWindow, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return 0;
    }
    case WM_CAPTURECHANGED:
        setOkPressed(window, false);
        return 0;
    case refreshMessage:
        refreshTaskBar();
        return 0;
    case WM_CLOSE:
        // The shell outlives the program's windows; closing the program leaves the strip alone.
        return 0;
    case WM_NCDESTROY:
        // Destroyed by someone else (a window manager reset): the shell is no longer on the screen.
        if (s.taskBar == window) {
            s.taskBar = nullptr;
            s.running = false;
            s.panelShown = false;
            ui::setWorkArea(RECT{0, 0, 0, 0});
        }
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

void registerTaskBarClass()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = taskBarProc;
    wc.lpszClassName = u"HHTaskBar";
    RegisterClassW(&wc);
}

HWND createTaskBar()
{
    const RECT r = taskBarRect();
    // The title stays empty: programs find the strip by its class and an empty title.
    return CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, u"HHTaskBar", u"", WS_POPUP | WS_VISIBLE,
                           r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
}

void refreshTaskBar()
{
    ShellState& s = shellState();
    if (!IsWindow(s.taskBar)) return;
    const HWND front = foregroundWindow();
    std::u16string caption = captionOf(front);
    const bool done = wantsDoneButton(front);
    if (front == s.shownWindow && caption == s.shownCaption && done == s.shownDone) return;
    s.shownWindow = front;
    s.shownCaption = std::move(caption);
    s.shownDone = done;
    s.okPressed = false;
    InvalidateRect(s.taskBar, nullptr, FALSE);
}

void requestTaskBarRefresh()
{
    const ShellState& s = shellState();
    if (IsWindow(s.taskBar)) PostMessageW(s.taskBar, refreshMessage, 0, 0);
}

}  // namespace shell
