// DefWindowProc: what a window does with a message its procedure leaves alone.
#include "platform/ui/ui_state.h"

#include <algorithm>

namespace ui {

namespace {

LRESULT copyText(const Window& w, WPARAM capacity, LPARAM buffer)
{
    auto* out = reinterpret_cast<LPWSTR>(buffer);
    if (out == nullptr || capacity == 0)
        return 0;
    const size_t count = std::min(w.text.size(), static_cast<size_t>(capacity) - 1);
    w.text.copy(out, count);
    out[count] = u'\0';
    return static_cast<LRESULT>(count);
}

LRESULT eraseBackground(Window& w, HDC dc)
{
    const HBRUSH brush = brushFromClass(uiState().classes[w.classIndex].background);
    if (brush == nullptr || dc == nullptr)
        return 0;
    const RECT area{0, 0, w.client.right - w.client.left, w.client.bottom - w.client.top};
    FillRect(dc, &area, brush);
    return 1;
}

LRESULT controlColours(UINT message, HDC dc)
{
    int text = COLOR_WINDOWTEXT;
    int back = COLOR_WINDOW;
    switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORMSGBOX:
        text = COLOR_STATICTEXT;
        back = COLOR_STATIC;
        break;
    default:
        text = COLOR_BTNTEXT;
        back = COLOR_BTNFACE;
        break;
    }
    if (dc != nullptr) {
        SetTextColor(dc, GetSysColor(text));
        SetBkColor(dc, GetSysColor(back));
    }
    return reinterpret_cast<LRESULT>(GetSysColorBrush(back));
}

} // namespace

} // namespace ui

LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    ui::Window* w = ui::windowOf(hWnd);
    if (w == nullptr)
        return 0;
    switch (Msg) {
    case WM_NCCREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (cs != nullptr && cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName))
            w->text = cs->lpszName;
        return TRUE;
    }
    case WM_NCCALCSIZE: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        if (r != nullptr) {
            const RECT insets = ui::frameInsets(w->style, w->exStyle, !ui::isTopLevel(*w));
            r->left += insets.left;
            r->top += insets.top;
            r->right = std::max(r->left, r->right - insets.right);
            r->bottom = std::max(r->top, r->bottom - insets.bottom);
        }
        return 0;
    }
    case WM_SETTEXT: {
        const auto* text = reinterpret_cast<LPCWSTR>(lParam);
        w->text = text ? text : u"";
        if ((w->style & WS_CAPTION) == WS_CAPTION && ui::isShownOnScreen(*w))
            ui::setFrameDirty(*w, true);
        return TRUE;
    }
    case WM_GETTEXT:
        return ui::copyText(*w, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(w->text.size());
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hWnd, &ps);
        EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_NCPAINT:
        ui::drawFrame(hWnd);
        return 0;
    case WM_ERASEBKGND:
        return ui::eraseBackground(*w, reinterpret_cast<HDC>(wParam));
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            ui::sendTo(*w, WM_CLOSE, 0, 0);
        return 0;
    case WM_WINDOWPOSCHANGED: {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (pos == nullptr)
            return 0;
        if (!(pos->flags & SWP_NOMOVE))
            ui::sendTo(*w, WM_MOVE, 0, MAKELPARAM(w->client.left, w->client.top));
        if ((w = ui::peekWindow(hWnd)) != nullptr && !(pos->flags & SWP_NOSIZE))
            ui::sendTo(*w, WM_SIZE, SIZE_RESTORED,
                       MAKELPARAM(w->client.right - w->client.left, w->client.bottom - w->client.top));
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && ui::uiState().active == hWnd) {
            // Only when the focus is not already inside: a dialog or the program put it there.
            const HWND focus = ui::uiState().focus;
            if (focus != hWnd && !IsChild(hWnd, focus))
                SetFocus(hWnd);
        }
        return 0;
    case WM_NCACTIVATE:
        if ((w->style & WS_CAPTION) == WS_CAPTION && ui::isShownOnScreen(*w))
            ui::setFrameDirty(*w, true);
        return TRUE;
    case WM_CANCELMODE:
        if (ui::uiState().capture == hWnd)
            ReleaseCapture();
        return 0;
    case WM_MOUSEACTIVATE:
        if (!ui::isTopLevel(*w))
            if (ui::Window* p = ui::peekWindow(w->parent)) {
                const LRESULT r = ui::sendTo(*p, WM_MOUSEACTIVATE, wParam, lParam);
                if (r != 0)
                    return r;
            }
        return MA_ACTIVATE;
    case WM_NCHITTEST: {
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const RECT client = ui::clientOnScreen(*w);
        const RECT whole = ui::windowOnScreen(*w);
        if (PtInRect(&client, p))
            return HTCLIENT;
        if (PtInRect(&whole, p))
            return p.y < client.top ? ui::captionHitTest(*w, p) : HTNOWHERE;
        return HTNOWHERE;
    }
    case WM_SETREDRAW:
        // As on the platform: the visible bit goes and comes back without any repainting.
        if (wParam) {
            w->style |= WS_VISIBLE;
            ui::notePaintPending();
        } else {
            w->style &= ~static_cast<DWORD>(WS_VISIBLE);
        }
        return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return ui::controlColours(Msg, reinterpret_cast<HDC>(wParam));
    case WM_SETCURSOR:
        return FALSE;
    default:
        return 0;
    }
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hWnd, Msg, wParam, lParam);
}
