// Window classes: registration, lookup by name or atom, and the window manager's own classes.
#include "platform/ui/ansi_text.h"
#include "platform/ui/ui_state.h"

#include <algorithm>

namespace ui {

namespace {

constexpr ATOM firstAtom = 0xC000;

WindowClass* classOfAtom(ATOM atom)
{
    UiState& s = uiState();
    if (atom < firstAtom || static_cast<size_t>(atom - firstAtom) >= s.classes.size())
        return nullptr;
    WindowClass& c = s.classes[atom - firstAtom];
    return c.live ? &c : nullptr;
}

ATOM addClass(WindowClass c)
{
    UiState& s = uiState();
    if (c.name.empty() || c.proc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (findClass(c.name.c_str()) != nullptr) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    if (c.classExtra < 0 || c.windowExtra < 0 || c.windowExtra > 4096) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    c.live = true;
    // A freed slot whose windows are all gone is reused, so that a program that registers and
    // unregisters in a loop does not run out of atoms.
    for (size_t i = 0; i < s.classes.size(); ++i) {
        if (!s.classes[i].live && s.classes[i].windows == 0) {
            c.atom = static_cast<ATOM>(firstAtom + i);
            s.classes[i] = std::move(c);
            return s.classes[i].atom;
        }
    }
    if (s.classes.size() >= 0x3FFF) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    c.atom = static_cast<ATOM>(firstAtom + s.classes.size());
    s.classes.push_back(std::move(c));
    return s.classes.back().atom;
}

LRESULT CALLBACK desktopProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

} // namespace

WindowClass* findClass(LPCWSTR name)
{
    if (name == nullptr)
        return nullptr;
    if (name == WC_DIALOG)
        name = u"#32770";
    if (IS_INTRESOURCE(name))
        return classOfAtom(static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name)));
    for (WindowClass& c : uiState().classes)
        if (c.live && sameNameIgnoringCase(c.name, name))
            return &c;
    return nullptr;
}

void registerSystemClasses()
{
    WindowClass desktop;
    desktop.name = u"#32769";
    desktop.proc = desktopProc;
    desktop.background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BACKGROUND + 1));
    addClass(desktop);

    WindowClass dialog;
    dialog.name = u"#32770";
    dialog.proc = DefDlgProcW;
    dialog.windowExtra = DLGWINDOWEXTRA;
    dialog.style = CS_SAVEBITS | CS_DBLCLKS;
    addClass(dialog);

    WindowClass box;
    box.name = u"#MessageBox";
    box.proc = messageBoxProc;
    box.windowExtra = DLGWINDOWEXTRA;
    addClass(box);
}

} // namespace ui

namespace {

// The fields every form of class record shares, in the wide extended form that RegisterClassExW
// takes; the names, the menu and the small icon differ by form and are the caller's.
template <class ClassRecord>
WNDCLASSEXW extendedClass(const ClassRecord& record)
{
    WNDCLASSEXW ex{};
    ex.cbSize = sizeof ex;
    ex.style = record.style;
    ex.lpfnWndProc = record.lpfnWndProc;
    ex.cbClsExtra = record.cbClsExtra;
    ex.cbWndExtra = record.cbWndExtra;
    ex.hInstance = record.hInstance;
    ex.hIcon = record.hIcon;
    ex.hCursor = record.hCursor;
    ex.hbrBackground = record.hbrBackground;
    return ex;
}

} // namespace

ATOM WINAPI RegisterClassW(const WNDCLASSW* lpWndClass)
{
    if (lpWndClass == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSEXW ex = extendedClass(*lpWndClass);
    ex.lpszMenuName = lpWndClass->lpszMenuName;
    ex.lpszClassName = lpWndClass->lpszClassName;
    return RegisterClassExW(&ex);
}

ATOM WINAPI RegisterClassExW(const WNDCLASSEXW* lpWndClass)
{
    if (lpWndClass == nullptr || lpWndClass->lpszClassName == nullptr || IS_INTRESOURCE(lpWndClass->lpszClassName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    ui::WindowClass c;
    c.name = lpWndClass->lpszClassName;
    c.style = lpWndClass->style;
    c.proc = lpWndClass->lpfnWndProc;
    c.classExtra = lpWndClass->cbClsExtra;
    c.windowExtra = lpWndClass->cbWndExtra;
    c.instance = lpWndClass->hInstance;
    c.icon = lpWndClass->hIcon;
    c.smallIcon = lpWndClass->hIconSm;
    c.cursor = lpWndClass->hCursor;
    c.background = lpWndClass->hbrBackground;
    if (lpWndClass->lpszMenuName != nullptr && !IS_INTRESOURCE(lpWndClass->lpszMenuName))
        c.menuName = lpWndClass->lpszMenuName;
    return ui::addClass(std::move(c));
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* lpWndClass)
{
    if (lpWndClass == nullptr || lpWndClass->lpszClassName == nullptr || IS_INTRESOURCE(lpWndClass->lpszClassName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::u16string name = ui::fromAnsi(lpWndClass->lpszClassName);
    std::u16string menu;
    if (lpWndClass->lpszMenuName != nullptr && !IS_INTRESOURCE(lpWndClass->lpszMenuName))
        menu = ui::fromAnsi(lpWndClass->lpszMenuName);
    WNDCLASSEXW ex = extendedClass(*lpWndClass);
    ex.lpszMenuName = menu.empty() ? nullptr : menu.c_str();
    ex.lpszClassName = name.c_str();
    ex.hIconSm = lpWndClass->hIconSm;
    return RegisterClassExW(&ex);
}

BOOL WINAPI UnregisterClassW(LPCWSTR lpClassName, HINSTANCE)
{
    ui::WindowClass* c = ui::findClass(lpClassName);
    if (c == nullptr || c->name.starts_with(u'#')) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (c->windows != 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    c->live = false;
    return TRUE;
}

BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE hInstance)
{
    if (IS_INTRESOURCE(lpClassName))
        return UnregisterClassW(reinterpret_cast<LPCWSTR>(lpClassName), hInstance);
    const std::u16string name = ui::fromAnsi(lpClassName);
    return UnregisterClassW(name.c_str(), hInstance);
}

BOOL WINAPI GetClassInfoW(HINSTANCE, LPCWSTR lpClassName, LPWNDCLASSW lpWndClass)
{
    ui::WindowClass* c = ui::findClass(lpClassName);
    if (c == nullptr || lpWndClass == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    lpWndClass->style = c->style;
    lpWndClass->lpfnWndProc = c->proc;
    lpWndClass->cbClsExtra = c->classExtra;
    lpWndClass->cbWndExtra = c->windowExtra;
    lpWndClass->hInstance = c->instance;
    lpWndClass->hIcon = c->icon;
    lpWndClass->hCursor = c->cursor;
    lpWndClass->hbrBackground = c->background;
    lpWndClass->lpszMenuName = c->menuName.empty() ? nullptr : c->menuName.c_str();
    lpWndClass->lpszClassName = c->name.c_str();
    return TRUE;
}

int WINAPI GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount)
{
    ui::Window* w = ui::windowOf(hWnd);
    if (w == nullptr || lpClassName == nullptr || nMaxCount <= 0)
        return 0;
    const std::u16string& name = ui::uiState().classes[w->classIndex].name;
    const int count = std::min(static_cast<int>(name.size()), nMaxCount - 1);
    name.copy(lpClassName, static_cast<size_t>(count));
    lpClassName[count] = u'\0';
    return count;
}
