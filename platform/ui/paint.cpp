// Painting: invalid regions, WM_PAINT and WM_ERASEBKGND, and the device contexts of windows, each
// a view of the screen clipped to what of the window is visible.
#include "platform/ui/ui_state.h"

#include <algorithm>

namespace ui {

namespace {

constexpr size_t invalidPiecesLimit = 32;

void addInvalid(Window& w, const RECT& r)
{
    std::vector<RECT> pieces{r};
    std::vector<RECT> next;
    for (const RECT& existing : w.invalid) {
        next.clear();
        for (const RECT& piece : pieces)
            subtractRect(piece, existing, next);
        pieces.swap(next);
        if (pieces.empty())
            return;
    }
    w.invalid.insert(w.invalid.end(), pieces.begin(), pieces.end());
    notePaintPending();
    if (w.invalid.size() > invalidPiecesLimit) {
        RECT bounds = w.invalid.front();
        for (const RECT& piece : w.invalid)
            UnionRect(&bounds, &bounds, &piece);
        w.invalid.assign(1, bounds);
    }
}

RECT clientArea(const Window& w)
{
    return RECT{0, 0, w.client.right - w.client.left, w.client.bottom - w.client.top};
}

void exposeIn(Window& w, const RECT& rect)
{
    if (!(w.style & WS_VISIBLE))
        return;
    std::vector<gdi::ClipRect> whole = visibleRegion(w, false);
    intersectRegion(whole, rect);
    if (!whole.empty()) {
        std::vector<gdi::ClipRect> inside = visibleRegion(w, true);
        intersectRegion(inside, rect);
        const RECT onScreen = clientOnScreen(w);
        size_t insideArea = 0, wholeArea = 0;
        for (const gdi::ClipRect& c : inside) {
            RECT piece{c.left - onScreen.left, c.top - onScreen.top, c.right - onScreen.left, c.bottom - onScreen.top};
            invalidateClient(w, &piece, true, false);
            insideArea += static_cast<size_t>(c.right - c.left) * static_cast<size_t>(c.bottom - c.top);
        }
        for (const gdi::ClipRect& c : whole)
            wholeArea += static_cast<size_t>(c.right - c.left) * static_cast<size_t>(c.bottom - c.top);
        if (wholeArea > insideArea)
            setFrameDirty(w, true);
    }
    const std::vector<HWND> children = w.children;
    for (HWND child : children)
        if (Window* c = peekWindow(child))
            exposeIn(*c, rect);
}

bool needsPaint(const Window& w) { return !w.invalid.empty() || w.frameDirty; }

Window* findNeedingPaint(Window& w, HWND filter, bool inFilter)
{
    if (!(w.style & WS_VISIBLE))
        return nullptr;
    const bool matches = inFilter || filter == nullptr || w.handle == filter;
    if (matches && needsPaint(w))
        return &w;
    for (HWND child : w.children)
        if (Window* c = peekWindow(child))
            if (Window* found = findNeedingPaint(*c, filter, matches))
                return found;
    return nullptr;
}

std::vector<gdi::ClipRect> regionOf(const LiveDC& live)
{
    if (live.window == nullptr) {
        const RECT s = screenRect();
        return {gdi::ClipRect{0, 0, static_cast<int>(s.right), static_cast<int>(s.bottom)}};
    }
    Window* w = peekWindow(live.window);
    if (w == nullptr)
        return {};
    std::vector<gdi::ClipRect> visible = visibleRegion(*w, live.clientOnly);
    if (!live.limited)
        return visible;
    std::vector<gdi::ClipRect> result;
    for (const RECT& piece : live.limit) {
        std::vector<gdi::ClipRect> part = visible;
        intersectRegion(part, piece);
        result.insert(result.end(), part.begin(), part.end());
    }
    return result;
}

POINT originOf(const LiveDC& live)
{
    Window* w = live.window ? peekWindow(live.window) : nullptr;
    if (w == nullptr)
        return POINT{0, 0};
    const RECT r = live.clientOnly ? clientOnScreen(*w) : windowOnScreen(*w);
    return POINT{r.left, r.top};
}

HDC handOut(LiveDC live)
{
    const POINT origin = originOf(live);
    HDC dc = gdi::createWindowDC(origin.x, origin.y, regionOf(live));
    if (dc == nullptr)
        return nullptr;
    live.dc = dc;
    uiState().liveDCs.push_back(std::move(live));
    return dc;
}

bool giveBack(HDC dc)
{
    auto& list = uiState().liveDCs;
    auto at = std::find_if(list.begin(), list.end(), [dc](const LiveDC& l) { return l.dc == dc; });
    if (at == list.end())
        return false;
    gdi::releaseWindowDC(dc);
    list.erase(at);
    return true;
}

void sendPaintNow(Window& w)
{
    const HWND handle = w.handle;
    if (w.frameDirty) {
        w.frameDirty = false;
        sendTo(w, WM_NCPAINT, 1, 0);
    }
    Window* again = peekWindow(handle);
    if (again != nullptr && !again->invalid.empty())
        sendTo(*again, WM_PAINT, 0, 0);
}

void updateTree(HWND handle)
{
    Window* w = peekWindow(handle);
    if (w == nullptr || !(w->style & WS_VISIBLE))
        return;
    if (needsPaint(*w))
        sendPaintNow(*w);
    if ((w = peekWindow(handle)) == nullptr)
        return;
    const std::vector<HWND> children = w->children;
    for (HWND child : children)
        updateTree(child);
}

} // namespace

void invalidateClient(Window& w, const RECT* rect, bool erase, bool withChildren)
{
    if (!isShownOnScreen(w))
        return;
    const RECT area = clientArea(w);
    const RECT r = rect ? intersect(*rect, area) : area;
    if (rectEmpty(r))
        return;
    addInvalid(w, r);
    if (erase)
        w.erase = true;
    if (!withChildren || (w.style & WS_CLIPCHILDREN))
        return;
    for (HWND child : w.children) {
        Window* c = peekWindow(child);
        if (c == nullptr || !(c->style & WS_VISIBLE))
            continue;
        RECT inChild = intersect(r, c->window);
        if (rectEmpty(inChild))
            continue;
        if (!EqualRect(&c->window, &c->client))
            setFrameDirty(*c, true);
        OffsetRect(&inChild, -c->client.left, -c->client.top);
        invalidateClient(*c, &inChild, erase, true);
    }
}

void invalidateDescendants(Window& w)
{
    const std::vector<HWND> children = w.children;
    for (HWND child : children) {
        Window* c = peekWindow(child);
        if (c == nullptr || !(c->style & WS_VISIBLE))
            continue;
        invalidateClient(*c, nullptr, true, false);
        if (!EqualRect(&c->window, &c->client))
            setFrameDirty(*c, true);
        invalidateDescendants(*c);
    }
}

void exposeScreenRect(const RECT& rect)
{
    if (rectEmpty(rect))
        return;
    exposeIn(desktopWindow(), rect);
}

Window* windowNeedingPaint(HWND filter)
{
    UiState& s = uiState();
    if (!s.paintMayBePending)
        return nullptr;
    Window* found = findNeedingPaint(desktopWindow(), filter, false);
    // A walk limited to one window's tree says nothing of the others.
    if (found == nullptr && filter == nullptr)
        s.paintMayBePending = false;
    return found;
}

void notePaintPending() { uiState().paintMayBePending = true; }

void setFrameDirty(Window& w, bool dirty)
{
    w.frameDirty = dirty;
    if (dirty)
        notePaintPending();
}

bool anyWindowNeedsPaint() { return windowNeedingPaint(nullptr) != nullptr; }

void refreshLiveDCs()
{
    for (const LiveDC& live : uiState().liveDCs) {
        const POINT origin = originOf(live);
        gdi::updateWindowDC(live.dc, origin.x, origin.y, regionOf(live));
    }
}

void releaseDCsOf(Window& w)
{
    auto& list = uiState().liveDCs;
    for (auto it = list.begin(); it != list.end();) {
        if (it->window == w.handle) {
            gdi::releaseWindowDC(it->dc);
            it = list.erase(it);
        } else {
            ++it;
        }
    }
}

HBRUSH brushFromClass(HBRUSH classBrush)
{
    const auto value = reinterpret_cast<uintptr_t>(classBrush);
    if (value >= 1 && value <= COLOR_STATICTEXT + 1)
        return GetSysColorBrush(static_cast<int>(value - 1));
    return classBrush;
}

} // namespace ui

using ui::peekWindow;
using ui::Window;
using ui::windowOf;

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase)
{
    if (hWnd == nullptr) {
        // The platform repaints every window then.
        ui::exposeScreenRect(ui::screenRect());
        return TRUE;
    }
    Window* w = windowOf(hWnd);
    if (w == nullptr)
        return FALSE;
    ui::invalidateClient(*w, lpRect, bErase != FALSE, true);
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND hWnd, const RECT* lpRect)
{
    Window* w = windowOf(hWnd);
    if (w == nullptr)
        return FALSE;
    if (lpRect == nullptr) {
        w->invalid.clear();
        w->erase = false;
        return TRUE;
    }
    std::vector<RECT> kept;
    for (const RECT& piece : w->invalid)
        ui::subtractRect(piece, *lpRect, kept);
    w->invalid.swap(kept);
    if (w->invalid.empty())
        w->erase = false;
    return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL)
{
    Window* w = windowOf(hWnd);
    if (w == nullptr)
        return FALSE;
    RECT bounds{0, 0, 0, 0};
    for (const RECT& piece : w->invalid)
        UnionRect(&bounds, &bounds, &piece);
    if (lpRect != nullptr)
        *lpRect = bounds;
    return !ui::rectEmpty(bounds);
}

BOOL WINAPI UpdateWindow(HWND hWnd)
{
    if (windowOf(hWnd) == nullptr)
        return FALSE;
    ui::updateTree(hWnd);
    return TRUE;
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint)
{
    Window* w = windowOf(hWnd);
    if (w == nullptr || lpPaint == nullptr)
        return nullptr;
    if (w->frameDirty) {
        w->frameDirty = false;
        ui::sendTo(*w, WM_NCPAINT, 1, 0);
        if ((w = peekWindow(hWnd)) == nullptr)
            return nullptr;
    }
    const std::vector<RECT> invalid = std::move(w->invalid);
    w->invalid.clear();
    ui::forgetDrawnTexts(*w, invalid);
    const bool erase = w->erase;
    w->erase = false;

    ui::LiveDC live;
    live.window = hWnd;
    live.clientOnly = true;
    live.limited = true;
    const RECT onScreen = ui::clientOnScreen(*w);
    RECT bounds{0, 0, 0, 0};
    for (RECT piece : invalid) {
        UnionRect(&bounds, &bounds, &piece);
        OffsetRect(&piece, onScreen.left, onScreen.top);
        live.limit.push_back(piece);
    }
    HDC dc = ui::handOut(std::move(live));
    *lpPaint = PAINTSTRUCT{};
    lpPaint->hdc = dc;
    lpPaint->rcPaint = bounds;
    lpPaint->fErase = FALSE;
    if (erase && dc != nullptr) {
        const LRESULT erased = ui::sendTo(*w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        lpPaint->fErase = erased == 0 ? TRUE : FALSE;
    }
    return dc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT* lpPaint)
{
    if (lpPaint != nullptr && lpPaint->hdc != nullptr)
        ui::giveBack(lpPaint->hdc);
    return TRUE;
}

HDC WINAPI GetDC(HWND hWnd)
{
    ui::LiveDC live;
    if (hWnd != nullptr && hWnd != ui::uiState().desktop) {
        if (windowOf(hWnd) == nullptr)
            return nullptr;
        live.window = hWnd;
    }
    return ui::handOut(std::move(live));
}

HDC WINAPI GetWindowDC(HWND hWnd)
{
    ui::LiveDC live;
    if (hWnd != nullptr && hWnd != ui::uiState().desktop) {
        if (windowOf(hWnd) == nullptr)
            return nullptr;
        live.window = hWnd;
        live.clientOnly = false;
    }
    return ui::handOut(std::move(live));
}

int WINAPI ReleaseDC(HWND, HDC hDC) { return ui::giveBack(hDC) ? 1 : 0; }
