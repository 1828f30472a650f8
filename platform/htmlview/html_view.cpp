// The "DISPLAYCLASS" window: one HtmlPage shown scrolled in the client area, a scroll bar along
// the right edge when the page is taller than the view, the stylus dragging the page or tapping
// its links, and the keys moving it by lines and screens.
#include "htmlview.h"

#include "platform/controls/scroll_bar.h"
#include "platform/htmlview/html_page.h"
#include "platform/htmlview/page_address.h"
#include "platform/htmlview/page_text.h"
#include "platform/htmlview/view_place.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace htmlview {

namespace {

// The stylus must move this far before a press on the page becomes a drag.
constexpr int dragThreshold = 5;

struct HtmlView {
    HtmlPage page;
    std::string pendingAnchor; // asked for before the source was complete
    std::string address;       // navigated to, without its anchor (UTF-8); empty for added text
    std::string anchor;        // jumped to last, without '#' (code page 1251)
    int top = 0;               // the page row shown at the top of the view
    controls::ScrollBar bar;
    // The stylus.
    bool pressed = false;
    bool dragging = false;
    bool onBar = false;
    POINT down{};
    int downTop = 0;
    controls::ScrollDrag barDrag;
    // The parent may destroy the view while it handles the link notification; the state then
    // goes when the notification returns.
    int callouts = 0;
    bool destroyed = false;
};

HtmlView* viewOf(HWND window)
{
    return reinterpret_cast<HtmlView*>(GetWindowLongW(window, 0));
}

RECT clientOf(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return client;
}

int lineStep()
{
    return defaultFontPixels + 4;
}

int lastTop(const HtmlView& view, const RECT& client)
{
    return std::max(0, view.page.height - static_cast<int>(client.bottom - client.top));
}

void updateBar(HtmlView& view, const RECT& client)
{
    int height = client.bottom - client.top;
    view.bar.vertical = true;
    view.bar.shown = view.page.height > height;
    view.bar.rect = RECT{client.right - controls::scrollBarSize, client.top, client.right, client.bottom};
    controls::setScrollRange(view.bar, 0, std::max(0, view.page.height - 1), std::max(1, height));
    controls::setScrollPosition(view.bar, view.top);
}

// Lays the page out for the view's width, narrowed by the scroll bar when the page needs one.
void layout(HtmlView& view, HWND window)
{
    RECT client = clientOf(window);
    int width = std::max<int>(1, client.right - client.left);
    int height = client.bottom - client.top;
    if (view.page.document) {
        layoutPage(view.page, width);
        if (view.page.height > height)
            layoutPage(view.page, std::max(1, width - controls::scrollBarSize));
    }
    view.page.container.viewHeight = height;
    view.top = std::clamp(view.top, 0, lastTop(view, client));
    updateBar(view, client);
}

void scrollTo(HtmlView& view, HWND window, int top)
{
    RECT client = clientOf(window);
    top = std::clamp(top, 0, lastTop(view, client));
    if (top == view.top)
        return;
    view.top = top;
    updateBar(view, client);
    InvalidateRect(window, nullptr, FALSE);
}

bool jumpToAnchor(HtmlView& view, HWND window, std::string_view name)
{
    if (!name.empty() && name.front() == '#')
        name.remove_prefix(1);
    std::optional<int> top = anchorTop(view.page, name);
    if (!top)
        return false;
    view.anchor = std::string(name);
    scrollTo(view, window, *top);
    return true;
}

// Shows the page just completed: at the anchor asked for meanwhile, else from its top.
void showCompleted(HtmlView& view, HWND window, std::string anchor)
{
    view.top = 0;
    layout(view, window);
    if (!anchor.empty())
        jumpToAnchor(view, window, anchor);
    InvalidateRect(window, nullptr, TRUE);
}

BOOL navigate(HtmlView& view, HWND window, std::string address)
{
    if (!isFileAddress(address) && !hasScheme(address))
        address = resolveLink(view.page.address, address);
    if (!isFileAddress(address))
        return FALSE;
    RECT client = clientOf(window);
    if (!loadPageFile(view.page, address, std::max<int>(1, client.right - client.left)))
        return FALSE;
    view.pendingAnchor.clear();
    view.address = withoutFragment(address);
    view.anchor.clear();
    // Anchor names are compared in the page's code page, as DTM_ANCHOR gives them.
    showCompleted(view, window, utf8To1251(fragmentOf(address)));
    return TRUE;
}

// The parent hears of the link first; unless it answers that it has handled it, the view
// follows it: an anchor of this page, or another page of the device.
void activateLink(HtmlView& view, HWND window, const std::string& href)
{
    std::string target = utf8To1251(href);
    std::string data;
    NM_HTMLVIEW notice{};
    notice.hdr.hwndFrom = window;
    notice.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongW(window, GWL_ID));
    notice.hdr.code = NM_HOTSPOT;
    notice.szTarget = target.c_str();
    notice.szData = data.c_str();
    LRESULT handled = 0;
    if (HWND parent = GetParent(window)) {
        ++view.callouts;
        handled = SendMessageW(parent, WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice));
        --view.callouts;
    }
    if (view.destroyed) {
        if (view.callouts == 0)
            delete &view;
        return;
    }
    if (handled != 0)
        return;
    if (!href.empty() && href.front() == '#') {
        jumpToAnchor(view, window, target);
        return;
    }
    std::string address = resolveLink(view.page.address, href);
    if (isFileAddress(address))
        navigate(view, window, address);
}

void paint(HtmlView& view, HWND window)
{
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window, &ps);
    if (dc == nullptr)
        return;
    RECT client = clientOf(window);
    RECT pageArea = client;
    if (view.bar.shown)
        pageArea.right = view.bar.rect.left;
    FillRect(dc, &pageArea, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    drawPage(view.page, dc, pageArea, 0, -view.top);
    if (view.bar.shown)
        controls::drawScrollBar(dc, view.bar);
    EndPaint(window, &ps);
}

POINT pointOf(LPARAM lParam)
{
    return POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
}

void stylusDown(HtmlView& view, HWND window, POINT point)
{
    SetFocus(window);
    SetCapture(window);
    view.pressed = true;
    view.dragging = false;
    view.down = point;
    view.downTop = view.top;
    view.onBar = view.bar.shown && point.x >= view.bar.rect.left;
    if (view.onBar) {
        controls::ScrollHit part = controls::beginScrollDrag(view.bar, view.barDrag, point);
        if (part != controls::ScrollHit::thumb && part != controls::ScrollHit::none)
            scrollTo(view, window, controls::stepPosition(view.bar, part));
        return;
    }
    pressPage(view.page, point.x, point.y + view.top, point.x, point.y);
}

void stylusMove(HtmlView& view, HWND window, POINT point)
{
    if (!view.pressed)
        return;
    if (view.onBar) {
        if (view.barDrag.part == controls::ScrollHit::thumb)
            scrollTo(view, window, controls::thumbDragPosition(view.bar, view.barDrag, point));
        return;
    }
    if (!view.dragging && (std::abs(point.x - view.down.x) >= dragThreshold ||
                           std::abs(point.y - view.down.y) >= dragThreshold)) {
        view.dragging = true;
        cancelPress(view.page);
    }
    if (view.dragging)
        scrollTo(view, window, view.downTop - (point.y - view.down.y));
}

void stylusUp(HtmlView& view, HWND window, POINT point)
{
    if (!view.pressed)
        return;
    view.pressed = false;
    if (GetCapture() == window)
        ReleaseCapture();
    if (view.onBar || view.dragging)
        return;
    std::optional<std::string> href = releasePage(view.page, point.x, point.y + view.top, point.x, point.y);
    if (href)
        activateLink(view, window, *href);
}

void key(HtmlView& view, HWND window, WPARAM code)
{
    RECT client = clientOf(window);
    int screen = std::max(lineStep(), static_cast<int>(client.bottom - client.top) - lineStep());
    switch (code) {
    case VK_UP: scrollTo(view, window, view.top - lineStep()); break;
    case VK_DOWN: scrollTo(view, window, view.top + lineStep()); break;
    case VK_PRIOR: scrollTo(view, window, view.top - screen); break;
    case VK_NEXT: scrollTo(view, window, view.top + screen); break;
    case VK_HOME: scrollTo(view, window, 0); break;
    case VK_END: scrollTo(view, window, lastTop(view, client)); break;
    default: break;
    }
}

LRESULT CALLBACK htmlViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    HtmlView* view = viewOf(window);
    if (view == nullptr) {
        if (message == WM_CREATE) {
            view = new HtmlView{};
            SetWindowLongW(window, 0, reinterpret_cast<LONG_PTR>(view));
            layout(*view, window);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_NCDESTROY:
        SetWindowLongW(window, 0, 0);
        if (view->callouts > 0)
            view->destroyed = true;
        else
            delete view;
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_SIZE:
        layout(*view, window);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        paint(*view, window);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
        stylusDown(*view, window, pointOf(lParam));
        return 0;
    case WM_MOUSEMOVE:
        stylusMove(*view, window, pointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        stylusUp(*view, window, pointOf(lParam));
        return 0;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
        if (view->pressed && !view->onBar && !view->dragging)
            cancelPress(view->page);
        view->pressed = false;
        if (message == WM_CANCELMODE && GetCapture() == window)
            ReleaseCapture();
        return 0;
    case WM_KEYDOWN:
        key(*view, window, wParam);
        return 0;
    case DTM_CLEAR:
        clearPage(view->page);
        view->pendingAnchor.clear();
        view->address.clear();
        view->anchor.clear();
        view->top = 0;
        layout(*view, window);
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case DTM_ADDTEXT:
        if (lParam != 0) {
            addPageText(view->page, reinterpret_cast<const char*>(lParam), wParam != 0);
            view->address.clear();
            view->anchor.clear();
        }
        return 0;
    case DTM_ENDOFSOURCE: {
        RECT client = clientOf(window);
        finishPage(view->page, std::max<int>(1, client.right - client.left));
        std::string anchor = std::move(view->pendingAnchor);
        view->pendingAnchor.clear();
        showCompleted(*view, window, anchor);
        return 0;
    }
    case DTM_ANCHOR: {
        if (lParam == 0)
            return FALSE;
        std::string name = reinterpret_cast<const char*>(lParam);
        if (!view->page.complete) {
            view->pendingAnchor = name;
            return TRUE;
        }
        return jumpToAnchor(*view, window, name) ? TRUE : FALSE;
    }
    case DTM_NAVIGATE:
        if (lParam == 0)
            return FALSE;
        return navigate(*view, window, utf16ToUtf8(reinterpret_cast<LPCWSTR>(lParam)));
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

std::optional<ViewPlace> viewPlace(HWND window)
{
    WCHAR name[32] = {};
    if (GetClassNameW(window, name, 32) <= 0 || std::u16string_view(name) != WC_HTMLW)
        return std::nullopt;
    const HtmlView* view = viewOf(window);
    if (view == nullptr)
        return ViewPlace{};
    return ViewPlace{view->address, cp1251ToUtf8(view->anchor), view->top};
}

} // namespace htmlview

BOOL WINAPI InitHTMLControl(HINSTANCE hinst)
{
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = htmlview::htmlViewProc;
    wc.cbWndExtra = static_cast<int>(sizeof(void*));
    wc.hInstance = hinst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = WC_HTMLW;
    if (RegisterClassW(&wc) != 0)
        return TRUE;
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS ? TRUE : FALSE;
}
