// Focus, activation, the foreground and capture, with the messages each change sends.
#include "platform/ui/foreign_windows.h"
#include "platform/ui/ui_state.h"
#include "platform/ui/window_manager.h"

#include <algorithm>

namespace ui {

namespace {

// The next top-level window to take activation when `leaving` goes: its owner when that can
// be active, otherwise the topmost window that can.
HWND successorOf(const Window& leaving)
{
    auto canActivate = [&](HWND h) {
        Window* w = peekWindow(h);
        return w != nullptr && h != leaving.handle && !w->destroying && (w->style & WS_VISIBLE) &&
               !(w->style & WS_DISABLED) && !(w->exStyle & WS_EX_NOACTIVATE);
    };
    if (leaving.owner != nullptr && canActivate(leaving.owner))
        return leaving.owner;
    for (HWND h : desktopWindow().children)
        if (canActivate(h))
            return h;
    return nullptr;
}

void setFocusTo(HWND target)
{
    UiState& s = uiState();
    const HWND previous = s.focus;
    if (previous == target)
        return;
    s.focus = target;
    if (Window* old = peekWindow(previous))
        sendTo(*old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(target), 0);
    // The old window may have moved the focus on from its WM_KILLFOCUS.
    if (s.focus != target)
        return;
    if (Window* w = peekWindow(target))
        sendTo(*w, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
}

} // namespace

void bringToTop(Window& top)
{
    placeInZOrder(top, HWND_TOP);
    // Owned windows stay above their owner.
    std::vector<HWND> owned;
    for (HWND h : desktopWindow().children)
        if (Window* w = peekWindow(h); w != nullptr && w->owner == top.handle)
            owned.push_back(h);
    for (auto it = owned.rbegin(); it != owned.rend(); ++it)
        if (Window* w = peekWindow(*it))
            placeInZOrder(*w, HWND_TOP);
}

void activateWindow(HWND top, WORD how)
{
    UiState& s = uiState();
    const HWND previous = s.active;
    if (previous == top)
        return;
    s.active = top;
    if (Window* old = peekWindow(previous)) {
        sendTo(*old, WM_NCACTIVATE, FALSE, 0);
        if ((old = peekWindow(previous)) != nullptr)
            sendTo(*old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(top));
    }
    // The focus stays in the old window until the new one's WM_ACTIVATE takes it, so that its
    // WM_KILLFOCUS names the window that gains it and the WM_SETFOCUS the one that lost it.
    // Whatever is left in the old window afterwards is dropped.
    auto dropFocusLeftBehind = [&]() {
        if (previous != nullptr && s.focus != nullptr && (s.focus == previous || IsChild(previous, s.focus)) &&
            (top == nullptr || (s.focus != top && !IsChild(top, s.focus))))
            setFocusTo(nullptr);
    };
    if (s.active != top) {
        dropFocusLeftBehind();
        return;
    }
    Window* w = peekWindow(top);
    if (w == nullptr) {
        s.active = nullptr;
        dropFocusLeftBehind();
        return;
    }
    noteActivated(top);
    const bool wasTop = !desktopWindow().children.empty() && desktopWindow().children.front() == top;
    bringToTop(*w);
    if (!wasTop && isShownOnScreen(*w)) {
        invalidateClient(*w, nullptr, true, true);
        setFrameDirty(*w, !EqualRect(&w->window, &w->client));
        refreshLiveDCs();
    }
    sendTo(*w, WM_NCACTIVATE, TRUE, 0);
    if ((w = peekWindow(top)) != nullptr && s.active == top)
        sendTo(*w, WM_ACTIVATE, MAKEWPARAM(how, 0), reinterpret_cast<LPARAM>(previous));
    dropFocusLeftBehind();
}

void forgetWindow(Window& w, bool destroying)
{
    UiState& s = uiState();
    const HWND handle = w.handle;
    // Read before the activation below, whose messages may change the window table.
    const HWND parentHandle = w.parent;
    const bool topLevel = isTopLevel(w);
    if (s.capture != nullptr && (s.capture == handle || IsChild(handle, s.capture)))
        ReleaseCapture();
    if (s.active == handle) {
        Window* again = peekWindow(handle);
        const HWND next = again ? successorOf(*again) : nullptr;
        if (next != nullptr)
            activateWindow(next, WA_ACTIVE);
        else if (destroying || again != nullptr) {
            s.active = nullptr;
            if (again != nullptr) {
                sendTo(*again, WM_NCACTIVATE, FALSE, 0);
                if ((again = peekWindow(handle)) != nullptr)
                    sendTo(*again, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
            }
        }
    }
    // After the activation, which hands the focus to the next window itself (its WM_KILLFOCUS
    // naming that window): whatever focus is still inside this one goes to the parent or away.
    if (s.focus != nullptr && (s.focus == handle || IsChild(handle, s.focus))) {
        Window* parent = peekWindow(parentHandle);
        if (!topLevel && parent != nullptr && !parent->destroying && isShownOnScreen(*parent))
            setFocusTo(w.parent);
        else
            setFocusTo(nullptr);
    }
}

void programToBackground()
{
    UiState& s = uiState();
    if (!s.inForeground)
        return;
    s.inForeground = false;
    const HWND active = s.active;
    if (Window* w = peekWindow(active)) {
        sendTo(*w, WM_CANCELMODE, 0, 0);
        activateWindow(nullptr, WA_INACTIVE);
    }
    s.active = nullptr;
    // Remembered so that coming back activates the same window.
    s.lastActiveBeforeBackground = active;
}

void programToForeground()
{
    UiState& s = uiState();
    if (s.inForeground)
        return;
    s.inForeground = true;
    HWND back = s.lastActiveBeforeBackground;
    Window* w = peekWindow(back);
    if (w == nullptr || !(w->style & WS_VISIBLE)) {
        back = nullptr;
        for (HWND h : desktopWindow().children) {
            Window* x = peekWindow(h);
            if (x != nullptr && (x->style & WS_VISIBLE) && !(x->style & WS_DISABLED)) {
                back = h;
                break;
            }
        }
    }
    if (back != nullptr)
        activateWindow(back, WA_ACTIVE);
}

} // namespace ui

using ui::peekWindow;
using ui::Window;
using ui::windowOf;

HWND WINAPI SetFocus(HWND hWnd)
{
    ui::UiState& s = ui::uiState();
    const HWND previous = s.focus;
    if (hWnd == nullptr) {
        ui::setFocusTo(nullptr);
        return previous;
    }
    Window* w = windowOf(hWnd);
    if (w == nullptr)
        return nullptr;
    if (!ui::isEnabledChain(*w))
        return nullptr;
    const HWND top = ui::topLevelOf(hWnd);
    if (top != nullptr && s.active != top) {
        ui::activateWindow(top, WA_ACTIVE);
        // Activation may already have put the focus where it belongs; the answer is the focus
        // that this call takes away, the one activation gave.
        if ((w = peekWindow(hWnd)) == nullptr)
            return nullptr;
        const HWND activated = s.focus;
        ui::setFocusTo(hWnd);
        return activated;
    }
    ui::setFocusTo(hWnd);
    return previous;
}

HWND WINAPI GetFocus(void) { return ui::uiState().focus; }

HWND WINAPI SetActiveWindow(HWND hWnd)
{
    ui::UiState& s = ui::uiState();
    const HWND previous = s.active;
    Window* w = windowOf(hWnd);
    if (w == nullptr)
        return nullptr;
    const HWND top = ui::topLevelOf(hWnd);
    Window* t = peekWindow(top);
    if (t == nullptr || (t->style & WS_DISABLED))
        return nullptr;
    ui::activateWindow(top, WA_ACTIVE);
    return previous;
}

HWND WINAPI GetActiveWindow(void) { return ui::uiState().active; }

BOOL WINAPI SetForegroundWindow(HWND hWnd)
{
    // "hWnd | 1" brings forward the window's last active owned window.
    const auto value = reinterpret_cast<uintptr_t>(hWnd);
    if (peekWindow(hWnd) == nullptr && (value & 1) != 0) {
        const HWND plain = reinterpret_cast<HWND>(value & ~uintptr_t{1});
        if (ui::isForeignWindow(plain))
            return ui::raiseForeignWindow(plain, true);
        if (peekWindow(plain) != nullptr)
            hWnd = ui::lastActivePopupOf(plain);
    } else if (ui::isForeignWindow(hWnd)) {
        return ui::raiseForeignWindow(hWnd, false);
    }
    Window* w = windowOf(hWnd);
    if (w == nullptr)
        return FALSE;
    ui::uiState().inForeground = true;
    return SetActiveWindow(hWnd) != nullptr || ui::uiState().active == ui::topLevelOf(hWnd);
}

HWND WINAPI GetForegroundWindow(void)
{
    const ui::UiState& s = ui::uiState();
    return s.inForeground ? s.active : nullptr;
}

HWND WINAPI SetCapture(HWND hWnd)
{
    ui::UiState& s = ui::uiState();
    const HWND previous = s.capture;
    if (hWnd != nullptr && windowOf(hWnd) == nullptr)
        return nullptr;
    if (previous == hWnd)
        return previous;
    s.capture = hWnd;
    if (Window* old = peekWindow(previous))
        ui::sendTo(*old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
    return previous;
}

BOOL WINAPI ReleaseCapture(void)
{
    ui::UiState& s = ui::uiState();
    const HWND previous = s.capture;
    s.capture = nullptr;
    if (Window* old = peekWindow(previous))
        ui::sendTo(*old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND WINAPI GetCapture(void) { return ui::uiState().capture; }
