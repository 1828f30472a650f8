// Windows: checked handles, creation and destruction, text, window longs, and the relations
// between windows (parent, owner, siblings).
#include "platform/ui/ansi_text.h"
#include "platform/ui/foreign_windows.h"
#include "platform/ui/ui_state.h"
#include "platform/ui/window_manager.h"

#include "emulator.h"

#include <algorithm>
#include <cstring>

namespace ui {

namespace {

constexpr uintptr_t indexMask = 0xFFFF;

Window* lookup(HWND handle)
{
    const auto value = reinterpret_cast<uintptr_t>(handle);
    const uintptr_t index = value & indexMask;
    const uintptr_t generation = value >> 16;
    UiState& s = uiState();
    if (index == 0 || index > s.windows.size() || generation == 0 || generation > 0x7FFF)
        return nullptr;
    WindowSlot& slot = s.windows[index - 1];
    if (slot.generation != generation || !slot.window)
        return nullptr;
    return slot.window.get();
}

HWND allocateSlot(std::unique_ptr<Window> w)
{
    // Windows take the odd slots only: their handles are then even, and "handle | 1" (which the
    // platform reads as "its last active owned window") never names another window.
    UiState& s = uiState();
    size_t index = s.windows.size();
    for (size_t i = 1; i < s.windows.size(); i += 2) {
        if (!s.windows[i].window) {
            index = i;
            break;
        }
    }
    if (index == s.windows.size()) {
        if (s.windows.size() + 2 >= indexMask)
            return nullptr;
        if (s.windows.size() % 2 == 0)
            s.windows.push_back(WindowSlot{0, nullptr});
        index = s.windows.size();
        s.windows.push_back(WindowSlot{0, nullptr});
    }
    WindowSlot& slot = s.windows[index];
    slot.generation = static_cast<uint16_t>(slot.generation % 0x7FFF + 1);
    const auto handle =
        reinterpret_cast<HWND>((static_cast<uintptr_t>(slot.generation) << 16) | static_cast<uintptr_t>(index + 1));
    w->handle = handle;
    slot.window = std::move(w);
    return handle;
}

void unlinkFromParent(Window& w)
{
    if (Window* parent = peekWindow(w.parent)) {
        auto& list = parent->children;
        list.erase(std::remove(list.begin(), list.end(), w.handle), list.end());
    }
}

// The last of a window: everything that refers to it goes, then the handle dies.
void freeWindow(HWND handle)
{
    Window* w = peekWindow(handle);
    if (w == nullptr)
        return;
    UiState& s = uiState();
    withdrawTopLevel(handle);
    releaseDCsOf(*w);
    dropMessagesOf(handle);
    killTimersOf(handle);
    if (s.focus == handle)
        s.focus = nullptr;
    if (s.active == handle)
        s.active = nullptr;
    if (s.capture == handle)
        s.capture = nullptr;
    unlinkFromParent(*w);
    for (HWND child : w->children)
        if (Window* c = peekWindow(child))
            c->parent = nullptr;
    if (w->dialog && w->dialog->ownsFont && w->dialog->font != nullptr)
        DeleteObject(w->dialog->font);
    if (w->classIndex < s.classes.size() && s.classes[w->classIndex].windows > 0)
        --s.classes[w->classIndex].windows;
    const auto value = reinterpret_cast<uintptr_t>(handle);
    s.windows[(value & indexMask) - 1].window.reset();
}

void destroyTree(HWND handle)
{
    Window* w = peekWindow(handle);
    if (w == nullptr)
        return;
    sendTo(*w, WM_DESTROY, 0, 0);
    w = peekWindow(handle);
    if (w == nullptr)
        return;
    const std::vector<HWND> children = w->children;
    for (HWND child : children) {
        if (Window* c = peekWindow(child)) {
            c->destroying = true;
            destroyTree(child);
        }
    }
    if ((w = peekWindow(handle)) == nullptr)
        return;
    sendTo(*w, WM_NCDESTROY, 0, 0);
    freeWindow(handle);
}

void markDestroying(Window& w)
{
    w.destroying = true;
    for (HWND child : w.children)
        if (Window* c = peekWindow(child))
            markDestroying(*c);
}

int defaultCoordinate(int value, int fallback) { return value == CW_USEDEFAULT ? fallback : value; }

} // namespace

Window* peekWindow(HWND handle) { return lookup(handle); }

Window* windowOf(HWND handle)
{
    Window* w = lookup(handle);
    if (w == nullptr)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return w;
}

Window& desktopWindow()
{
    UiState& s = uiState();
    Window& d = *lookup(s.desktop);
    const RECT screen = screenRect();
    if (!EqualRect(&d.window, &screen)) {
        d.window = screen;
        d.client = screen;
    }
    return d;
}

bool isTopLevel(const Window& w) { return w.parent == uiState().desktop; }

HWND topLevelOf(HWND handle)
{
    Window* w = peekWindow(handle);
    while (w != nullptr && w->parent != nullptr && !isTopLevel(*w)) {
        if (w->parent == uiState().desktop)
            break;
        w = peekWindow(w->parent);
    }
    if (w == nullptr || w->handle == uiState().desktop)
        return nullptr;
    return w->handle;
}

bool isShownOnScreen(const Window& w)
{
    const Window* x = &w;
    while (x != nullptr) {
        if (!(x->style & WS_VISIBLE))
            return false;
        if (x->handle == uiState().desktop)
            return true;
        x = peekWindow(x->parent);
    }
    return false;
}

bool isEnabledChain(const Window& w)
{
    const Window* x = &w;
    while (x != nullptr && x->handle != uiState().desktop) {
        if (x->style & WS_DISABLED)
            return false;
        x = peekWindow(x->parent);
    }
    return true;
}

} // namespace ui

using ui::peekWindow;
using ui::Window;
using ui::windowOf;

HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam)
{
    ui::UiState& s = ui::uiState();
    ui::WindowClass* c = ui::findClass(lpClassName);
    if (c == nullptr) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (emu::plannedFailure(emu::FailingCall::windowCreation))
        return nullptr;
    const bool child = (dwStyle & WS_CHILD) != 0;
    HWND parent = s.desktop;
    HWND owner = nullptr;
    if (child) {
        if (hWndParent == nullptr) {
            SetLastError(ERROR_TLW_WITH_WSCHILD);
            return nullptr;
        }
        if (windowOf(hWndParent) == nullptr)
            return nullptr;
        parent = hWndParent;
    } else if (hWndParent != nullptr && hWndParent != s.desktop) {
        if (windowOf(hWndParent) == nullptr)
            return nullptr;
        owner = ui::topLevelOf(hWndParent);
    }

    int x = X, y = Y, width = nWidth, height = nHeight;
    if (!child) {
        const RECT area = ui::workArea();
        x = ui::defaultCoordinate(X, area.left);
        // With CW_USEDEFAULT for x the platform ignores y as well.
        y = X == CW_USEDEFAULT ? area.top : ui::defaultCoordinate(Y, area.top);
        width = ui::defaultCoordinate(nWidth, static_cast<int>(area.right) - x);
        height = nWidth == CW_USEDEFAULT ? static_cast<int>(area.bottom) - y : ui::defaultCoordinate(nHeight, 0);
    } else {
        x = ui::defaultCoordinate(X, 0);
        y = ui::defaultCoordinate(Y, 0);
        width = ui::defaultCoordinate(nWidth, 0);
        height = ui::defaultCoordinate(nHeight, 0);
    }
    width = std::max(width, 0);
    height = std::max(height, 0);

    auto made = std::make_unique<Window>();
    made->classIndex = static_cast<size_t>(c->atom - 0xC000);
    // WS_VISIBLE is set by the ShowWindow below, after WM_CREATE, as on the platform.
    made->style = dwStyle & ~static_cast<DWORD>(WS_VISIBLE);
    made->exStyle = dwExStyle;
    if (dwStyle & DS_MODALFRAME && c->name == u"#32770")
        made->exStyle |= WS_EX_DLGMODALFRAME;
    made->parent = parent;
    made->owner = owner;
    made->id = child ? reinterpret_cast<LONG_PTR>(hMenu) : 0;
    made->proc = c->proc;
    made->instance = hInstance;
    made->extra.assign(static_cast<size_t>(c->windowExtra), 0);
    made->window = RECT{x, y, x + width, y + height};
    made->client = made->window;
    HWND handle = ui::allocateSlot(std::move(made));
    if (handle == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    ++c->windows;
    Window* w = peekWindow(handle);
    Window* p = peekWindow(parent);
    if (child)
        p->children.push_back(handle);
    else
        ui::placeInZOrder(*w, HWND_TOP);

    const std::u16string className =
        IS_INTRESOURCE(lpClassName) ? c->name : std::u16string(lpClassName);
    CREATESTRUCTW cs{};
    cs.lpCreateParams = lpParam;
    cs.hInstance = hInstance;
    cs.hMenu = hMenu;
    cs.hwndParent = child ? parent : owner;
    cs.cx = width;
    cs.cy = height;
    cs.x = x;
    cs.y = y;
    cs.style = static_cast<LONG>(dwStyle);
    cs.lpszName = lpWindowName;
    cs.lpszClass = className.c_str();
    cs.dwExStyle = dwExStyle;

    if (!ui::sendTo(*w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        if (peekWindow(handle) != nullptr)
            DestroyWindow(handle);
        return nullptr;
    }
    if ((w = peekWindow(handle)) == nullptr)
        return nullptr;
    RECT clientRect = w->window;
    ui::sendTo(*w, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&clientRect));
    if ((w = peekWindow(handle)) == nullptr)
        return nullptr;
    w->client = clientRect;
    if (ui::sendTo(*w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        if (peekWindow(handle) != nullptr)
            DestroyWindow(handle);
        return nullptr;
    }
    if ((w = peekWindow(handle)) == nullptr)
        return nullptr;
    ui::sendTo(*w, WM_SIZE, SIZE_RESTORED,
               MAKELPARAM(w->client.right - w->client.left, w->client.bottom - w->client.top));
    if ((w = peekWindow(handle)) == nullptr)
        return nullptr;
    ui::sendTo(*w, WM_MOVE, 0, MAKELPARAM(w->client.left, w->client.top));
    if ((w = peekWindow(handle)) == nullptr)
        return nullptr;
    if (child && !(dwExStyle & WS_EX_NOPARENTNOTIFY)) {
        if (Window* pw = peekWindow(parent))
            ui::sendTo(*pw, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, w->id), reinterpret_cast<LPARAM>(handle));
        if (peekWindow(handle) == nullptr)
            return nullptr;
    }
    if (!child)
        ui::publishTopLevel(handle);
    if (dwStyle & WS_VISIBLE)
        ShowWindow(handle, SW_SHOW);
    return peekWindow(handle) != nullptr ? handle : nullptr;
}

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam)
{
    const std::u16string className = IS_INTRESOURCE(lpClassName) ? std::u16string() : ui::fromAnsi(lpClassName);
    const std::u16string name = ui::fromAnsi(lpWindowName);
    LPCWSTR classArg = IS_INTRESOURCE(lpClassName) ? reinterpret_cast<LPCWSTR>(lpClassName) : className.c_str();
    return CreateWindowExW(dwExStyle, classArg, lpWindowName ? name.c_str() : nullptr, dwStyle, X, Y, nWidth,
                           nHeight, hWndParent, hMenu, hInstance, lpParam);
}

BOOL WINAPI DestroyWindow(HWND hWnd)
{
    ui::UiState& s = ui::uiState();
    Window* w = windowOf(hWnd);
    if (w == nullptr)
        return FALSE;
    if (hWnd == s.desktop) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (w->destroying)
        return TRUE;
    const bool child = !ui::isTopLevel(*w);
    if (child && !(w->exStyle & WS_EX_NOPARENTNOTIFY)) {
        if (Window* p = peekWindow(w->parent))
            ui::sendTo(*p, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, w->id), reinterpret_cast<LPARAM>(hWnd));
        if ((w = peekWindow(hWnd)) == nullptr || w->destroying)
            return TRUE;
    }
    ui::markDestroying(*w);
    if (!child) {
        // Owned windows go before their owner.
        std::vector<HWND> owned;
        for (HWND top : ui::desktopWindow().children)
            if (Window* t = peekWindow(top); t != nullptr && t->owner == hWnd)
                owned.push_back(top);
        for (HWND o : owned)
            if (peekWindow(o) != nullptr)
                DestroyWindow(o);
        if ((w = peekWindow(hWnd)) == nullptr)
            return TRUE;
    }
    if (w->style & WS_VISIBLE)
        SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    else if ((w = peekWindow(hWnd)) != nullptr)
        ui::forgetWindow(*w, true);
    if ((w = peekWindow(hWnd)) == nullptr)
        return TRUE;
    ui::forgetWindow(*w, true);
    ui::destroyTree(hWnd);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hWnd) { return peekWindow(hWnd) != nullptr || ui::foreignWindowLive(hWnd); }

BOOL WINAPI IsWindowVisible(HWND hWnd)
{
    Window* w = peekWindow(hWnd);
    return w != nullptr && ui::isShownOnScreen(*w);
}

BOOL WINAPI IsWindowEnabled(HWND hWnd)
{
    Window* w = windowOf(hWnd);
    return w != nullptr && !(w->style & WS_DISABLED);
}

BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd)
{
    Window* w = peekWindow(hWnd);
    while (w != nullptr && !ui::isTopLevel(*w) && w->handle != ui::uiState().desktop) {
        if (w->parent == hWndParent)
            return TRUE;
        w = peekWindow(w->parent);
    }
    return FALSE;
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable)
{
    Window* w = windowOf(hWnd);
    if (w == nullptr)
        return FALSE;
    const BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (bEnable && wasDisabled) {
        w->style &= ~static_cast<DWORD>(WS_DISABLED);
        ui::sendTo(*w, WM_ENABLE, TRUE, 0);
    } else if (!bEnable && !wasDisabled) {
        ui::sendTo(*w, WM_CANCELMODE, 0, 0);
        if ((w = peekWindow(hWnd)) == nullptr)
            return wasDisabled;
        w->style |= WS_DISABLED;
        ui::UiState& s = ui::uiState();
        if (s.focus != nullptr && (s.focus == hWnd || IsChild(hWnd, s.focus)))
            SetFocus(nullptr);
        if (s.capture != nullptr && (s.capture == hWnd || IsChild(hWnd, s.capture)))
            ReleaseCapture();
        if ((w = peekWindow(hWnd)) != nullptr)
            ui::sendTo(*w, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}

BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString)
{
    Window* w = windowOf(hWnd);
    if (w == nullptr)
        return FALSE;
    return ui::sendTo(*w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString ? lpString : u"")) != 0;
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString)
{
    const std::u16string text = ui::fromAnsi(lpString);
    return SetWindowTextW(hWnd, text.c_str());
}

int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount)
{
    Window* w = windowOf(hWnd);
    if (w == nullptr || lpString == nullptr || nMaxCount <= 0)
        return 0;
    lpString[0] = u'\0';
    return static_cast<int>(ui::sendTo(*w, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextLengthW(HWND hWnd)
{
    Window* w = windowOf(hWnd);
    if (w == nullptr)
        return 0;
    return static_cast<int>(ui::sendTo(*w, WM_GETTEXTLENGTH, 0, 0));
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount)
{
    if (lpString == nullptr || nMaxCount <= 0)
        return 0;
    lpString[0] = '\0';
    const int length = GetWindowTextLengthW(hWnd);
    if (length <= 0)
        return 0;
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    const int got = GetWindowTextW(hWnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return ui::toAnsi(text, lpString, nMaxCount);
}

namespace {

// Offsets 0, 4 and 8 of a dialog are its result, its procedure and the program's value, whatever
// the pointer size of the host.
bool dialogLong(Window& w, int index, LONG_PTR** field)
{
    if (!w.dialog)
        return false;
    switch (index) {
    case DWL_MSGRESULT:
        *field = &w.dialog->msgResult;
        return true;
    case DWL_USER:
        *field = &w.dialog->user;
        return true;
    default:
        return false;
    }
}

LONG_PTR readExtra(const Window& w, int index, bool* ok)
{
    const size_t at = static_cast<size_t>(index);
    *ok = true;
    if (at + sizeof(LONG_PTR) <= w.extra.size()) {
        LONG_PTR v;
        std::memcpy(&v, w.extra.data() + at, sizeof v);
        return v;
    }
    if (at + sizeof(LONG) <= w.extra.size()) {
        LONG v;
        std::memcpy(&v, w.extra.data() + at, sizeof v);
        return v;
    }
    *ok = false;
    return 0;
}

bool writeExtra(Window& w, int index, LONG_PTR value)
{
    const size_t at = static_cast<size_t>(index);
    if (at + sizeof(LONG_PTR) <= w.extra.size()) {
        std::memcpy(w.extra.data() + at, &value, sizeof value);
        return true;
    }
    if (at + sizeof(LONG) <= w.extra.size()) {
        const auto v = static_cast<LONG>(value);
        std::memcpy(w.extra.data() + at, &v, sizeof v);
        return true;
    }
    return false;
}

} // namespace

LONG_PTR WINAPI GetWindowLongW(HWND hWnd, int nIndex)
{
    Window* w = windowOf(hWnd);
    if (w == nullptr)
        return 0;
    LONG_PTR* field = nullptr;
    if (dialogLong(*w, nIndex, &field))
        return *field;
    if (w->dialog && nIndex == DWL_DLGPROC)
        return reinterpret_cast<LONG_PTR>(w->dialog->proc);
    switch (nIndex) {
    case GWL_STYLE:
        return static_cast<LONG>(w->style);
    case GWL_EXSTYLE:
        return static_cast<LONG>(w->exStyle);
    case GWL_ID:
        return w->id;
    case GWL_USERDATA:
        return w->userData;
    case GWL_WNDPROC:
        return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(ui::isTopLevel(*w) ? w->owner : w->parent);
    default:
        break;
    }
    bool ok = false;
    const LONG_PTR v = nIndex >= 0 ? readExtra(*w, nIndex, &ok) : 0;
    if (!ok)
        SetLastError(ERROR_INVALID_INDEX);
    return v;
}

LONG_PTR WINAPI SetWindowLongW(HWND hWnd, int nIndex, LONG_PTR dwNewLong)
{
    Window* w = windowOf(hWnd);
    if (w == nullptr)
        return 0;
    LONG_PTR previous = 0;
    LONG_PTR* field = nullptr;
    if (dialogLong(*w, nIndex, &field)) {
        previous = *field;
        *field = dwNewLong;
        return previous;
    }
    if (w->dialog && nIndex == DWL_DLGPROC) {
        previous = reinterpret_cast<LONG_PTR>(w->dialog->proc);
        w->dialog->proc = reinterpret_cast<DLGPROC>(dwNewLong);
        return previous;
    }
    switch (nIndex) {
    case GWL_STYLE:
        previous = static_cast<LONG>(w->style);
        w->style = static_cast<DWORD>(dwNewLong);
        ui::notePaintPending();
        return previous;
    case GWL_EXSTYLE:
        previous = static_cast<LONG>(w->exStyle);
        w->exStyle = static_cast<DWORD>(dwNewLong);
        return previous;
    case GWL_ID:
        previous = w->id;
        w->id = dwNewLong;
        return previous;
    case GWL_USERDATA:
        previous = w->userData;
        w->userData = dwNewLong;
        return previous;
    case GWL_WNDPROC:
        if (dwNewLong == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        previous = reinterpret_cast<LONG_PTR>(w->proc);
        w->proc = reinterpret_cast<WNDPROC>(dwNewLong);
        return previous;
    case GWL_HINSTANCE:
        previous = reinterpret_cast<LONG_PTR>(w->instance);
        w->instance = reinterpret_cast<HINSTANCE>(dwNewLong);
        return previous;
    default:
        break;
    }
    bool ok = false;
    if (nIndex >= 0)
        previous = readExtra(*w, nIndex, &ok);
    if (!ok || !writeExtra(*w, nIndex, dwNewLong)) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    return previous;
}

LONG_PTR WINAPI GetWindowLongA(HWND hWnd, int nIndex) { return GetWindowLongW(hWnd, nIndex); }
LONG_PTR WINAPI SetWindowLongA(HWND hWnd, int nIndex, LONG_PTR dwNewLong)
{
    return SetWindowLongW(hWnd, nIndex, dwNewLong);
}

HWND WINAPI GetParent(HWND hWnd)
{
    Window* w = windowOf(hWnd);
    if (w == nullptr)
        return nullptr;
    if (!ui::isTopLevel(*w))
        return w->parent == ui::uiState().desktop ? nullptr : w->parent;
    return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND WINAPI SetParent(HWND hWndChild, HWND hWndNewParent)
{
    Window* w = windowOf(hWndChild);
    if (w == nullptr)
        return nullptr;
    HWND target = hWndNewParent ? hWndNewParent : ui::uiState().desktop;
    Window* p = windowOf(target);
    if (p == nullptr || target == hWndChild || IsChild(hWndChild, target))
        return nullptr;
    HWND previous = w->parent;
    const bool wasShown = ui::isShownOnScreen(*w);
    const RECT oldRect = ui::windowOnScreen(*w);
    ui::unlinkFromParent(*w);
    w->parent = target;
    if (target == ui::uiState().desktop)
        ui::placeInZOrder(*w, HWND_TOP);
    else
        p->children.insert(p->children.begin(), hWndChild);
    if (wasShown)
        ui::exposeScreenRect(oldRect);
    if (ui::isShownOnScreen(*w)) {
        ui::invalidateClient(*w, nullptr, true, true);
        ui::setFrameDirty(*w, true);
    }
    ui::refreshLiveDCs();
    return previous == ui::uiState().desktop ? nullptr : previous;
}

HWND WINAPI GetDesktopWindow(void) { return ui::uiState().desktop; }

HWND WINAPI GetWindow(HWND hWnd, UINT uCmd)
{
    Window* w = windowOf(hWnd);
    if (w == nullptr)
        return nullptr;
    if (uCmd == GW_CHILD)
        return w->children.empty() ? nullptr : w->children.front();
    if (uCmd == GW_OWNER)
        return w->owner;
    Window* p = peekWindow(w->parent);
    if (p == nullptr)
        return nullptr;
    const auto& list = p->children;
    const auto at = std::find(list.begin(), list.end(), hWnd);
    switch (uCmd) {
    case GW_HWNDFIRST:
        return list.front();
    case GW_HWNDLAST:
        return list.back();
    case GW_HWNDNEXT:
        return (at == list.end() || at + 1 == list.end()) ? nullptr : *(at + 1);
    case GW_HWNDPREV:
        return (at == list.end() || at == list.begin()) ? nullptr : *(at - 1);
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

namespace {

void collectDescendants(const Window& w, std::vector<HWND>& out)
{
    for (HWND child : w.children) {
        out.push_back(child);
        if (Window* c = peekWindow(child))
            collectDescendants(*c, out);
    }
}

} // namespace

BOOL WINAPI EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam)
{
    if (lpEnumFunc == nullptr)
        return FALSE;
    Window* w = hWndParent ? windowOf(hWndParent) : &ui::desktopWindow();
    if (w == nullptr)
        return FALSE;
    std::vector<HWND> all;
    collectDescendants(*w, all);
    // Windows destroyed by the callback are skipped rather than reported dead.
    for (HWND h : all)
        if (peekWindow(h) != nullptr && !lpEnumFunc(h, lParam))
            return FALSE;
    return TRUE;
}

BOOL WINAPI EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam)
{
    if (lpEnumFunc == nullptr)
        return FALSE;
    const std::vector<HWND> tops = ui::desktopWindow().children;
    for (HWND h : tops)
        if (peekWindow(h) != nullptr && !lpEnumFunc(h, lParam))
            return FALSE;
    return TRUE;
}

HWND WINAPI FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName)
{
    // A class this process never registered may still be another process's; an atom is not.
    ui::WindowClass* c = nullptr;
    std::u16string className;
    if (lpClassName != nullptr) {
        c = ui::findClass(lpClassName);
        if (c != nullptr)
            className = c->name;
        else if (IS_INTRESOURCE(lpClassName))
            return nullptr;
        else
            className = lpClassName;
    }
    if (lpClassName == nullptr || c != nullptr) {
        for (HWND h : ui::desktopWindow().children) {
            Window* w = peekWindow(h);
            if (w == nullptr || w->destroying)
                continue;
            if (c != nullptr && &ui::uiState().classes[w->classIndex] != c)
                continue;
            if (lpWindowName != nullptr && w->text != lpWindowName)
                continue;
            return h;
        }
    }
    return ui::findForeignWindow(lpClassName != nullptr ? &className : nullptr, lpWindowName);
}

HWND WINAPI FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName)
{
    const std::u16string className = ui::fromAnsi(lpClassName);
    const std::u16string name = ui::fromAnsi(lpWindowName);
    LPCWSTR classArg = lpClassName == nullptr ? nullptr
                       : IS_INTRESOURCE(lpClassName) ? reinterpret_cast<LPCWSTR>(lpClassName)
                                                     : className.c_str();
    return FindWindowW(classArg, lpWindowName ? name.c_str() : nullptr);
}
