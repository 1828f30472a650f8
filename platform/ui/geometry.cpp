// Where windows are: frames, client areas, screen coordinates, z-order, visible regions, and the
// moving, sizing and showing of windows.
#include "platform/gdi/faces.h"
#include "platform/ui/ui_state.h"
#include "platform/ui/window_manager.h"

#include <algorithm>

namespace ui {

RECT screenRect()
{
    const gdi::Framebuffer& fb = gdi::screen();
    return RECT{0, 0, fb.width, fb.height};
}

POINT clientOrigin(const Window& w)
{
    POINT origin{w.client.left, w.client.top};
    const Window* p = peekWindow(w.parent);
    while (p != nullptr && p->handle != uiState().desktop) {
        origin.x += p->client.left;
        origin.y += p->client.top;
        p = peekWindow(p->parent);
    }
    return origin;
}

namespace {

POINT parentOrigin(const Window& w)
{
    const Window* p = peekWindow(w.parent);
    if (p == nullptr || p->handle == uiState().desktop)
        return POINT{0, 0};
    return clientOrigin(*p);
}

RECT offset(RECT r, POINT by)
{
    OffsetRect(&r, by.x, by.y);
    return r;
}

} // namespace

RECT windowOnScreen(const Window& w)
{
    if (w.handle == uiState().desktop)
        return screenRect();
    return offset(w.window, parentOrigin(w));
}

RECT clientOnScreen(const Window& w)
{
    if (w.handle == uiState().desktop)
        return screenRect();
    return offset(w.client, parentOrigin(w));
}

RECT frameInsets(DWORD style, DWORD exStyle, bool child)
{
    RECT insets{0, 0, 0, 0};
    const bool framed = (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME)) != 0 ||
                        (exStyle & (WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) != 0;
    int border = framed ? 1 : 0;
    if (gdi::deviceLook() == gdi::DeviceLook::desktop) {
        // The desktop's frames: sizing, else dialog, else a line; the client edges come inside them.
        if (style & WS_THICKFRAME)
            border = GetSystemMetrics(SM_CXFRAME);
        else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
            border = GetSystemMetrics(SM_CXDLGFRAME);
        else if (style & WS_BORDER)
            border = GetSystemMetrics(SM_CXBORDER);
        else
            border = 0;
        if (exStyle & WS_EX_CLIENTEDGE)
            border += GetSystemMetrics(SM_CXEDGE);
        if (exStyle & WS_EX_STATICEDGE)
            border += GetSystemMetrics(SM_CXBORDER);
    }
    insets = RECT{border, border, border, border};
    if ((style & WS_CAPTION) == WS_CAPTION && !child && uiState().captionStrips)
        insets.top += GetSystemMetrics(SM_CYCAPTION);
    return insets;
}

void placeInZOrder(Window& w, HWND insertAfter)
{
    Window* p = peekWindow(w.parent);
    if (p == nullptr)
        return;
    auto& list = p->children;
    list.erase(std::remove(list.begin(), list.end(), w.handle), list.end());
    const bool topLevel = p->handle == uiState().desktop;
    if (topLevel && insertAfter == HWND_TOPMOST)
        w.exStyle |= WS_EX_TOPMOST;
    if (topLevel && insertAfter == HWND_NOTOPMOST)
        w.exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
    // Topmost windows stay in a band above the others.
    auto bandStart = list.begin();
    auto bandEnd = list.end();
    if (topLevel) {
        auto firstNormal = std::find_if(list.begin(), list.end(), [](HWND h) {
            Window* x = peekWindow(h);
            return x == nullptr || !(x->exStyle & WS_EX_TOPMOST);
        });
        if (w.exStyle & WS_EX_TOPMOST)
            bandEnd = firstNormal;
        else
            bandStart = firstNormal;
    }
    auto at = bandStart;
    if (insertAfter == HWND_BOTTOM) {
        at = bandEnd;
    } else if (insertAfter != HWND_TOP && insertAfter != HWND_TOPMOST && insertAfter != HWND_NOTOPMOST) {
        auto after = std::find(bandStart, bandEnd, insertAfter);
        if (after != bandEnd)
            at = after + 1;
    }
    list.insert(at, w.handle);
}

std::vector<gdi::ClipRect> visibleRegion(const Window& w, bool clientOnly)
{
    std::vector<gdi::ClipRect> region;
    if (!isShownOnScreen(w))
        return region;
    const RECT own = clientOnly ? clientOnScreen(w) : windowOnScreen(w);
    if (rectEmpty(own))
        return region;
    region.push_back(gdi::ClipRect{static_cast<int>(own.left), static_cast<int>(own.top),
                                   static_cast<int>(own.right), static_cast<int>(own.bottom)});
    intersectRegion(region, screenRect());
    const HWND desktop = uiState().desktop;
    const Window* x = &w;
    while (x != nullptr && x->handle != desktop) {
        const Window* p = peekWindow(x->parent);
        if (p == nullptr)
            break;
        if (p->handle != desktop)
            intersectRegion(region, clientOnScreen(*p));
        for (HWND sibling : p->children) {
            if (sibling == x->handle)
                break;
            const Window* s = peekWindow(sibling);
            if (s != nullptr && (s->style & WS_VISIBLE))
                subtractFromRegion(region, windowOnScreen(*s));
        }
        x = p;
    }
    if (w.style & WS_CLIPCHILDREN) {
        for (HWND child : w.children) {
            const Window* c = peekWindow(child);
            if (c != nullptr && (c->style & WS_VISIBLE))
                subtractFromRegion(region, windowOnScreen(*c));
        }
    }
    return region;
}

} // namespace ui

using ui::peekWindow;
using ui::Window;
using ui::windowOf;

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags)
{
    Window* w = windowOf(hWnd);
    if (w == nullptr)
        return FALSE;
    if (hWnd == ui::uiState().desktop) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    WINDOWPOS pos{hWnd, hWndInsertAfter, X, Y, std::max(cx, 0), std::max(cy, 0), uFlags};
    if (uFlags & SWP_NOMOVE) {
        pos.x = w->window.left;
        pos.y = w->window.top;
    }
    if (uFlags & SWP_NOSIZE) {
        pos.cx = w->window.right - w->window.left;
        pos.cy = w->window.bottom - w->window.top;
    }
    if (!(uFlags & SWP_NOSENDCHANGING)) {
        ui::sendTo(*w, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
        if ((w = peekWindow(hWnd)) == nullptr)
            return FALSE;
    }
    const bool wasShown = ui::isShownOnScreen(*w);
    const RECT oldOnScreen = ui::windowOnScreen(*w);
    const RECT newRect{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
    const bool moved = newRect.left != w->window.left || newRect.top != w->window.top;
    const bool sized = (newRect.right - newRect.left) != (w->window.right - w->window.left) ||
                       (newRect.bottom - newRect.top) != (w->window.bottom - w->window.top);
    if (moved || sized || (uFlags & SWP_FRAMECHANGED)) {
        w->window = newRect;
        RECT client = newRect;
        ui::sendTo(*w, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&client));
        if ((w = peekWindow(hWnd)) == nullptr)
            return FALSE;
        w->client = client;
    }
    bool restacked = false;
    if (!(uFlags & SWP_NOZORDER)) {
        Window* p = peekWindow(w->parent);
        const std::vector<HWND> before = p ? p->children : std::vector<HWND>{};
        ui::placeInZOrder(*w, pos.hwndInsertAfter);
        restacked = p != nullptr && p->children != before;
    }
    if (uFlags & SWP_SHOWWINDOW) {
        w->style |= WS_VISIBLE;
        ui::notePaintPending();
    }
    if (uFlags & SWP_HIDEWINDOW)
        w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    const bool shown = ui::isShownOnScreen(*w);
    if (wasShown && (moved || sized || restacked || !shown))
        ui::exposeScreenRect(oldOnScreen);
    if (shown && !(uFlags & SWP_NOREDRAW) &&
        (!wasShown || moved || sized || restacked || (uFlags & SWP_FRAMECHANGED))) {
        ui::invalidateClient(*w, nullptr, true, true);
        ui::setFrameDirty(*w, ui::frameInsets(w->style, w->exStyle, !ui::isTopLevel(*w)).top > 0 ||
                                  !EqualRect(&w->window, &w->client));
        if (w->style & WS_CLIPCHILDREN)
            ui::invalidateDescendants(*w);
    }
    ui::refreshLiveDCs();
    if (wasShown && !shown)
        ui::forgetWindow(*w, false);
    if (!wasShown && shown && ui::isTopLevel(*w) && !(uFlags & SWP_NOACTIVATE) &&
        !(w->exStyle & WS_EX_NOACTIVATE))
        ui::activateWindow(hWnd, WA_ACTIVE);
    if ((w = peekWindow(hWnd)) == nullptr)
        return TRUE;
    if (!moved)
        pos.flags |= SWP_NOMOVE;
    if (!sized)
        pos.flags |= SWP_NOSIZE;
    pos.x = w->window.left;
    pos.y = w->window.top;
    ui::sendTo(*w, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint)
{
    return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight,
                        SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0 : SWP_NOREDRAW));
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow)
{
    Window* w = windowOf(hWnd);
    if (w == nullptr)
        return FALSE;
    const BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
    const bool show = nCmdShow != SW_HIDE;
    const bool activate = nCmdShow != SW_SHOWNOACTIVATE && nCmdShow != SW_SHOWNA &&
                          nCmdShow != SW_SHOWMINNOACTIVE && nCmdShow != SW_MINIMIZE;
    if (show == static_cast<bool>(wasVisible)) {
        if (show && activate && ui::isTopLevel(*w) && ui::uiState().active != hWnd && !(w->style & WS_DISABLED))
            ui::activateWindow(hWnd, WA_ACTIVE);
        return wasVisible;
    }
    ui::sendTo(*w, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (peekWindow(hWnd) == nullptr)
        return wasVisible;
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    if (!activate || !show)
        flags |= SWP_NOACTIVATE;
    if (!show || !activate)
        flags |= SWP_NOZORDER;
    // A child is neither activated nor raised by being shown: it keeps its place among its
    // siblings (the first created on top), as on the platform.
    if (!ui::isTopLevel(*w))
        flags |= SWP_NOACTIVATE | SWP_NOZORDER;
    SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, flags);
    return wasVisible;
}

BOOL WINAPI BringWindowToTop(HWND hWnd)
{
    return SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect)
{
    Window* w = windowOf(hWnd);
    if (w == nullptr || lpRect == nullptr)
        return FALSE;
    if (hWnd == ui::uiState().desktop)
        ui::desktopWindow();
    *lpRect = RECT{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    Window* w = windowOf(hWnd);
    if (w == nullptr || lpRect == nullptr)
        return FALSE;
    *lpRect = ui::windowOnScreen(*w);
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint)
{
    Window* w = windowOf(hWnd);
    if (w == nullptr || lpPoint == nullptr)
        return FALSE;
    const RECT c = ui::clientOnScreen(*w);
    lpPoint->x -= c.left;
    lpPoint->y -= c.top;
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint)
{
    Window* w = windowOf(hWnd);
    if (w == nullptr || lpPoint == nullptr)
        return FALSE;
    const RECT c = ui::clientOnScreen(*w);
    lpPoint->x += c.left;
    lpPoint->y += c.top;
    return TRUE;
}

int WINAPI MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints)
{
    POINT from{0, 0}, to{0, 0};
    if (hWndFrom != nullptr && !ClientToScreen(hWndFrom, &from))
        return 0;
    if (hWndTo != nullptr && !ClientToScreen(hWndTo, &to))
        return 0;
    const LONG dx = from.x - to.x;
    const LONG dy = from.y - to.y;
    for (UINT i = 0; lpPoints != nullptr && i < cPoints; ++i) {
        lpPoints[i].x += dx;
        lpPoints[i].y += dy;
    }
    SetLastError(0);
    return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

BOOL WINAPI AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL, DWORD dwExStyle)
{
    if (lpRect == nullptr)
        return FALSE;
    const RECT insets = ui::frameInsets(dwStyle, dwExStyle, (dwStyle & WS_CHILD) != 0);
    lpRect->left -= insets.left;
    lpRect->top -= insets.top;
    lpRect->right += insets.right;
    lpRect->bottom += insets.bottom;
    return TRUE;
}

BOOL WINAPI AdjustWindowRect(LPRECT lpRect, DWORD dwStyle, BOOL bMenu)
{
    return AdjustWindowRectEx(lpRect, dwStyle, bMenu, 0);
}
