// The dialog manager: dialogs built from templates, modal loops nested to any depth, the default
// dialog procedure, keyboard navigation and the dialog item helpers.
#include "platform/ui/ansi_text.h"
#include "platform/ui/dialog_templates.h"
#include "platform/ui/ui_state.h"
#include "platform/ui/window_manager.h"
#include "win32/controls.h"

#include "emulator.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

namespace ui {

namespace {

// One running modal loop. The record outlives the dialog window, so a dialog destroyed before it
// ended still gives its loop an answer.
struct ModalRecord {
    HWND dialog = nullptr;
    bool ended = false;
    INT_PTR result = 0;
};

std::vector<ModalRecord*>& modalStack()
{
    static std::vector<ModalRecord*> stack;
    return stack;
}

ModalRecord* modalRecordOf(HWND dialog)
{
    for (ModalRecord* r : modalStack())
        if (r->dialog == dialog)
            return r;
    return nullptr;
}

int mulDiv(int value, int numerator, int denominator)
{
    if (denominator == 0)
        return 0;
    const long long product = static_cast<long long>(value) * numerator;
    // Rounded half away from zero, as MulDiv does.
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

// The average character width and the height of a font, as the dialog manager measures them.
void baseUnitsOf(HFONT font, int& baseX, int& baseY)
{
    baseX = 6;
    baseY = 13;
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr)
        return;
    HGDIOBJ old = SelectObject(dc, font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    TEXTMETRICW tm{};
    if (GetTextMetricsW(dc, &tm))
        baseY = std::max(1, static_cast<int>(tm.tmHeight));
    static const char16_t alphabet[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE size{};
    if (GetTextExtentPoint32W(dc, alphabet, 52, &size) && size.cx > 0)
        baseX = std::max(1, static_cast<int>((size.cx / 26 + 1) / 2));
    else if (tm.tmAveCharWidth > 0)
        baseX = static_cast<int>(tm.tmAveCharWidth);
    SelectObject(dc, old);
    DeleteDC(dc);
}

LRESULT dlgCodeOf(HWND control, const MSG* msg)
{
    if (peekWindow(control) == nullptr)
        return 0;
    return SendMessageW(control, WM_GETDLGCODE, msg ? msg->wParam : 0, reinterpret_cast<LPARAM>(msg));
}

bool canTakeFocus(const Window& w) { return (w.style & WS_VISIBLE) && !(w.style & WS_DISABLED); }

// The direct child of the dialog that holds (or is) the control.
HWND childOfDialog(HWND dialog, HWND control)
{
    Window* w = peekWindow(control);
    while (w != nullptr && w->parent != dialog) {
        if (isTopLevel(*w))
            return nullptr;
        w = peekWindow(w->parent);
    }
    return w ? w->handle : nullptr;
}

HWND firstTabItem(HWND dialog) { return GetNextDlgTabItem(dialog, nullptr, FALSE); }

// Focus on a control of a dialog, with an edit's text selected as the dialog manager does it.
void focusControl(HWND dialog, HWND control)
{
    if (peekWindow(control) == nullptr)
        return;
    Window* d = peekWindow(dialog);
    if (d != nullptr && d->dialog)
        d->dialog->savedFocus = control;
    SetFocus(control);
    if (GetFocus() == control && (dlgCodeOf(control, nullptr) & DLGC_HASSETSEL))
        SendMessageW(control, EM_SETSEL, 0, -1);
}

// Enter: the focused push button, else the default button, else IDOK.
void pressDefault(HWND dialog)
{
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(dialog, focus)) {
        const LRESULT code = dlgCodeOf(focus, nullptr);
        if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
            Window* f = peekWindow(focus);
            if (f != nullptr && canTakeFocus(*f)) {
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(f->id), BN_CLICKED),
                             reinterpret_cast<LPARAM>(focus));
                return;
            }
        }
    }
    const LRESULT def = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(def) == DC_HASDEFID) {
        const WORD id = LOWORD(def);
        const HWND button = GetDlgItem(dialog, id);
        Window* b = peekWindow(button);
        if (b == nullptr || !(b->style & WS_DISABLED))
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return;
    }
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

// The character after '&' in a control's text, folded to upper case (Latin and Cyrillic).
char16_t foldChar(char16_t c)
{
    if (c >= u'a' && c <= u'z')
        return static_cast<char16_t>(c - 32);
    if (c >= u'а' && c <= u'я')
        return static_cast<char16_t>(c - 32);
    if (c == u'ё')
        return u'Ё';
    return c;
}

char16_t mnemonicOf(const std::u16string& text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'&') {
            if (text[i + 1] == u'&') {
                ++i;
                continue;
            }
            return foldChar(text[i + 1]);
        }
    }
    return 0;
}

// A typed character that is a control's mnemonic presses (a button) or focuses (others) it.
bool handleMnemonic(HWND dialog, char16_t typed)
{
    Window* d = peekWindow(dialog);
    if (d == nullptr || typed == 0)
        return false;
    const char16_t wanted = foldChar(typed);
    const std::vector<HWND> children = d->children;
    for (HWND child : children) {
        Window* c = peekWindow(child);
        if (c == nullptr || !canTakeFocus(*c) || mnemonicOf(c->text) != wanted)
            continue;
        const LRESULT code = dlgCodeOf(child, nullptr);
        if (code & DLGC_STATIC)
            continue;
        if (code & DLGC_BUTTON) {
            focusControl(dialog, child);
            SendMessageW(child, BM_CLICK, 0, 0);
        } else {
            focusControl(dialog, child);
        }
        return true;
    }
    return false;
}

HWND defaultButtonChild(const Window& d)
{
    for (HWND child : d.children)
        if (dlgCodeOf(child, nullptr) & DLGC_DEFPUSHBUTTON)
            return child;
    return nullptr;
}

void setDefaultId(HWND dialog, WORD id)
{
    Window* d = peekWindow(dialog);
    if (d == nullptr)
        return;
    DialogState& st = dialogStateOf(*d);
    const HWND old = st.defaultId ? GetDlgItem(dialog, st.defaultId) : defaultButtonChild(*d);
    if ((d = peekWindow(dialog)) == nullptr)
        return;
    dialogStateOf(*d).defaultId = id;
    const HWND now = GetDlgItem(dialog, id);
    if (old != nullptr && old != now && (dlgCodeOf(old, nullptr) & DLGC_DEFPUSHBUTTON))
        SendMessageW(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    if (now != nullptr && (dlgCodeOf(now, nullptr) & DLGC_UNDEFPUSHBUTTON))
        SendMessageW(now, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

bool modalFinished(HWND dialog)
{
    ModalRecord* r = modalRecordOf(dialog);
    return r == nullptr || r->ended || peekWindow(dialog) == nullptr;
}

std::optional<DialogLayout> findTemplate(HINSTANCE instance, LPCWSTR name)
{
    HRSRC found = FindResourceW(instance, name, RT_DIALOG);
    if (found == nullptr && instance != nullptr)
        found = FindResourceW(nullptr, name, RT_DIALOG);
    if (found == nullptr)
        return std::nullopt;
    HGLOBAL loaded = LoadResource(nullptr, found);
    const void* data = LockResource(loaded);
    const DWORD size = SizeofResource(nullptr, found);
    return layoutFromResource(data, size);
}

} // namespace

DialogState& dialogStateOf(Window& w)
{
    if (!w.dialog)
        w.dialog = std::make_unique<DialogState>();
    return *w.dialog;
}

HWND createDialog(HINSTANCE instance, const DialogLayout& layout, HWND parent, DLGPROC proc, LPARAM param)
{
    // The font first: its size gives the dialog units.
    HFONT font = nullptr;
    bool ownsFont = false;
    if ((layout.style & DS_SETFONT) && layout.pointSize != 0 && layout.pointSize != 0x7FFF) {
        const int height = -mulDiv(layout.pointSize, 96, 72);
        font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                           layout.faceName.empty() ? nullptr : layout.faceName.c_str());
        ownsFont = font != nullptr;
    }
    int baseX = 0, baseY = 0;
    baseUnitsOf(font, baseX, baseY);

    const bool child = (layout.style & WS_CHILD) != 0;
    DWORD style = layout.style & ~static_cast<DWORD>(WS_VISIBLE);
    DWORD exStyle = layout.exStyle;
    if (layout.style & DS_MODALFRAME)
        exStyle |= WS_EX_DLGMODALFRAME;
    if (layout.style & DS_CONTROL) {
        style &= ~static_cast<DWORD>(WS_CAPTION | WS_SYSMENU);
        exStyle |= WS_EX_CONTROLPARENT;
    }
    RECT r{0, 0, mulDiv(layout.cx, baseX, 4), mulDiv(layout.cy, baseY, 8)};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    int x = mulDiv(layout.x, baseX, 4);
    int y = mulDiv(layout.y, baseY, 8);
    if (!child) {
        const RECT area = workArea();
        if (layout.style & (DS_CENTER | DS_CENTERMOUSE)) {
            x = area.left + (area.right - area.left - width) / 2;
            y = area.top + (area.bottom - area.top - height) / 2;
        } else {
            if (!(layout.style & DS_ABSALIGN) && parent != nullptr && peekWindow(parent) != nullptr) {
                POINT origin{0, 0};
                ClientToScreen(parent, &origin);
                x += origin.x;
                y += origin.y;
            }
            x += r.left;
            y += r.top;
        }
        // The whole dialog stays inside the work area where it fits.
        x = std::max(static_cast<int>(area.left), std::min(x, static_cast<int>(area.right) - width));
        y = std::max(static_cast<int>(area.top), std::min(y, static_cast<int>(area.bottom) - height));
    }

    const LPCWSTR className = layout.className.empty() ? WC_DIALOG : layout.className.c_str();
    HWND dialog = CreateWindowExW(exStyle, className, layout.caption.c_str(), style, x, y, width, height,
                                  child ? parent : (parent ? topLevelOf(parent) : nullptr), nullptr, instance,
                                  nullptr);
    if (dialog == nullptr) {
        if (ownsFont)
            DeleteObject(font);
        return nullptr;
    }
    Window* w = peekWindow(dialog);
    DialogState& st = dialogStateOf(*w);
    st.font = font != nullptr ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    st.ownsFont = ownsFont;
    st.baseX = baseX;
    st.baseY = baseY;
    if (font != nullptr)
        SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (peekWindow(dialog) == nullptr)
        return nullptr;

    for (const DialogItem& item : layout.items) {
        const int ix = mulDiv(item.x, baseX, 4);
        const int iy = mulDiv(item.y, baseY, 8);
        const int icx = mulDiv(item.cx, baseX, 4);
        const int icy = mulDiv(item.cy, baseY, 8);
        HWND control = CreateWindowExW(item.exStyle | WS_EX_NOPARENTNOTIFY, item.className.c_str(),
                                       item.hasText ? item.text.c_str() : nullptr,
                                       (item.style | WS_CHILD) & ~static_cast<DWORD>(WS_POPUP), ix, iy, icx, icy,
                                       dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), instance,
                                       nullptr);
        if (peekWindow(dialog) == nullptr)
            return nullptr;
        if (control == nullptr) {
            if (layout.style & DS_NOFAILCREATE)
                continue;
            DestroyWindow(dialog);
            return nullptr;
        }
        if (font != nullptr)
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (peekWindow(dialog) == nullptr)
            return nullptr;
    }

    // The procedure sees nothing of the creation: its first message is WM_INITDIALOG.
    if ((w = peekWindow(dialog)) == nullptr)
        return nullptr;
    dialogStateOf(*w).proc = proc;
    const HWND first = firstTabItem(dialog);
    const LRESULT wantsFocus = SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    if ((w = peekWindow(dialog)) == nullptr)
        return nullptr;
    if (wantsFocus) {
        const HWND target = firstTabItem(dialog);
        if (target != nullptr) {
            dialogStateOf(*w).savedFocus = target;
            if (uiState().active == dialog)
                focusControl(dialog, target);
        }
    }
    if ((w = peekWindow(dialog)) == nullptr)
        return nullptr;
    if ((layout.style & WS_VISIBLE) && !(w->style & WS_VISIBLE) && !dialogStateOf(*w).ended)
        ShowWindow(dialog, SW_SHOWNORMAL);
    return peekWindow(dialog) != nullptr ? dialog : nullptr;
}

// The modal part of DialogBoxParam and MessageBox: the owner's top-level window is disabled while
// the loop runs and enabled again by EndDialog (or here, if the dialog went without it).
INT_PTR runModalDialog(HWND dialog, HWND owner)
{
    ModalRecord record;
    record.dialog = dialog;
    modalStack().push_back(&record);
    Window* w = peekWindow(dialog);
    // Ended already (EndDialog from WM_INITDIALOG): the loop does not run.
    if (w != nullptr && w->dialog && w->dialog->ended) {
        record.ended = true;
        record.result = w->dialog->result;
    }
    HWND disabled = nullptr;
    if (!record.ended && owner != nullptr && owner != uiState().desktop && IsWindowEnabled(owner)) {
        disabled = owner;
        if (w != nullptr)
            dialogStateOf(*w).disabledOwner = owner;
        EnableWindow(owner, FALSE);
    }
    if ((w = peekWindow(dialog)) != nullptr && !record.ended && !(w->style & WS_VISIBLE))
        ShowWindow(dialog, SW_SHOWNORMAL);
    const bool noQuit = runModalLoop(dialog, modalFinished, true);
    if (!noQuit && !record.ended) {
        record.ended = true;
        record.result = 0;
    }
    if ((w = peekWindow(dialog)) != nullptr && w->dialog && w->dialog->disabledOwner != nullptr) {
        const HWND again = w->dialog->disabledOwner;
        w->dialog->disabledOwner = nullptr;
        if (peekWindow(again) != nullptr)
            EnableWindow(again, TRUE);
        disabled = nullptr;
    } else if (w == nullptr && disabled != nullptr && !record.ended && peekWindow(disabled) != nullptr) {
        // Destroyed without EndDialog: the owner comes back all the same.
        EnableWindow(disabled, TRUE);
    }
    if (peekWindow(dialog) != nullptr)
        DestroyWindow(dialog);
    auto& stack = modalStack();
    stack.erase(std::remove(stack.begin(), stack.end(), &record), stack.end());
    return record.result;
}

void forgetModalDialogs() { modalStack().clear(); }

} // namespace ui

using ui::peekWindow;
using ui::Window;
using ui::windowOf;

HWND WINAPI CreateDialogParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam)
{
    const std::optional<ui::DialogLayout> layout = ui::findTemplate(hInstance, lpTemplateName);
    if (!layout) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    if (hWndParent != nullptr && windowOf(hWndParent) == nullptr)
        return nullptr;
    if (emu::plannedFailure(emu::FailingCall::dialogCreation))
        return nullptr;
    return ui::createDialog(hInstance, *layout, hWndParent, lpDialogFunc, dwInitParam);
}

INT_PTR WINAPI DialogBoxParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam)
{
    const std::optional<ui::DialogLayout> layout = ui::findTemplate(hInstance, lpTemplateName);
    if (!layout) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return -1;
    }
    if (hWndParent != nullptr && windowOf(hWndParent) == nullptr)
        return -1;
    if (emu::plannedFailure(emu::FailingCall::dialogCreation))
        return -1;
    ui::DialogLayout modal = *layout;
    // A modal dialog is a top-level window whatever its template says, shown by its loop: the
    // owner is disabled before the dialog shows, so WM_INITDIALOG runs with the owner still
    // enabled, as on the platform.
    modal.style &= ~static_cast<DWORD>(WS_CHILD | WS_VISIBLE);
    const HWND owner = hWndParent ? ui::topLevelOf(hWndParent) : nullptr;
    const HWND dialog = ui::createDialog(hInstance, modal, owner, lpDialogFunc, dwInitParam);
    if (dialog == nullptr)
        return -1;
    return ui::runModalDialog(dialog, owner);
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam)
{
    if (lpTemplateName == nullptr || IS_INTRESOURCE(lpTemplateName))
        return DialogBoxParamW(hInstance, reinterpret_cast<LPCWSTR>(lpTemplateName), hWndParent, lpDialogFunc,
                               dwInitParam);
    const std::u16string name = ui::fromAnsi(lpTemplateName);
    return DialogBoxParamW(hInstance, name.c_str(), hWndParent, lpDialogFunc, dwInitParam);
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult)
{
    Window* w = windowOf(hDlg);
    if (w == nullptr)
        return FALSE;
    ui::DialogState& st = ui::dialogStateOf(*w);
    st.ended = true;
    st.result = nResult;
    if (ui::ModalRecord* r = ui::modalRecordOf(hDlg)) {
        r->ended = true;
        r->result = nResult;
    }
    // The owner first, so that activation can go back to it when the dialog hides.
    const HWND owner = st.disabledOwner;
    st.disabledOwner = nullptr;
    if (owner != nullptr && peekWindow(owner) != nullptr)
        EnableWindow(owner, TRUE);
    if ((w = peekWindow(hDlg)) != nullptr && (w->style & WS_VISIBLE))
        ShowWindow(hDlg, SW_HIDE);
    // Wakes the loop that waits for it.
    PostMessageW(hDlg, WM_NULL, 0, 0);
    return TRUE;
}

LRESULT WINAPI DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    Window* w = windowOf(hDlg);
    if (w == nullptr)
        return 0;
    ui::DialogState& st = ui::dialogStateOf(*w);
    const DLGPROC proc = st.proc;
    st.msgResult = 0;
    if (proc != nullptr) {
        const INT_PTR handled = proc(hDlg, Msg, wParam, lParam);
        if ((w = peekWindow(hDlg)) == nullptr)
            return handled;
        switch (Msg) {
        case WM_INITDIALOG:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
            // These answer with the procedure's own result.
            if (handled != 0 || Msg == WM_INITDIALOG)
                return handled;
            break;
        default:
            if (handled != 0)
                return w->dialog ? w->dialog->msgResult : 0;
            break;
        }
    }
    if ((w = peekWindow(hDlg)) == nullptr)
        return 0;
    ui::DialogState& state = ui::dialogStateOf(*w);
    switch (Msg) {
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        auto brush = reinterpret_cast<HBRUSH>(SendMessageW(hDlg, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hDlg)));
        if (brush == nullptr)
            brush = GetSysColorBrush(COLOR_STATIC);
        if ((w = peekWindow(hDlg)) == nullptr || dc == nullptr)
            return 1;
        const RECT area{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
        FillRect(dc, &area, brush);
        return 1;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus != nullptr && IsChild(hDlg, focus))
                state.savedFocus = focus;
        } else if (ui::uiState().active == hDlg) {
            const HWND focus = GetFocus();
            if (focus == nullptr || (focus != hDlg && !IsChild(hDlg, focus)) || focus == hDlg) {
                HWND target = state.savedFocus;
                Window* t = peekWindow(target);
                if (t == nullptr || !IsChild(hDlg, target) || !ui::canTakeFocus(*t))
                    target = ui::firstTabItem(hDlg);
                if (target != nullptr)
                    ui::focusControl(hDlg, target);
                else if (focus != hDlg)
                    SetFocus(hDlg);
            }
        }
        return 0;
    case WM_SETFOCUS: {
        HWND target = state.savedFocus;
        Window* t = peekWindow(target);
        if (t == nullptr || !IsChild(hDlg, target) || !ui::canTakeFocus(*t))
            target = ui::firstTabItem(hDlg);
        if (target != nullptr)
            ui::focusControl(hDlg, target);
        return 0;
    }
    case WM_CLOSE: {
        const HWND cancel = GetDlgItem(hDlg, IDCANCEL);
        Window* c = peekWindow(cancel);
        if (c == nullptr || !(c->style & WS_DISABLED))
            PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
        return 0;
    }
    case WM_NEXTDLGCTL: {
        HWND target = nullptr;
        if (LOWORD(lParam))
            target = reinterpret_cast<HWND>(wParam);
        else
            target = GetNextDlgTabItem(hDlg, GetFocus(), wParam != 0);
        if (target != nullptr && (target == hDlg || IsChild(hDlg, target)))
            ui::focusControl(hDlg, target);
        return 0;
    }
    case DM_GETDEFID: {
        WORD id = state.defaultId;
        if (id == 0) {
            const HWND button = ui::defaultButtonChild(*w);
            if (Window* b = peekWindow(button))
                id = static_cast<WORD>(b->id);
        }
        return id != 0 ? MAKELRESULT(id, DC_HASDEFID) : 0;
    }
    case DM_SETDEFID:
        ui::setDefaultId(hDlg, static_cast<WORD>(wParam));
        return TRUE;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state.font);
    case WM_SETFONT:
        if (wParam != 0)
            state.font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETDLGCODE:
        return 0;
    case WM_INITDIALOG:
        return TRUE;
    default:
        return DefWindowProcW(hDlg, Msg, wParam, lParam);
    }
}

BOOL WINAPI IsDialogMessageW(HWND hDlg, LPMSG lpMsg)
{
    if (lpMsg == nullptr)
        return FALSE;
    Window* d = peekWindow(hDlg);
    if (d == nullptr)
        return FALSE;
    if (lpMsg->hwnd != hDlg && !IsChild(hDlg, lpMsg->hwnd))
        return FALSE;
    switch (lpMsg->message) {
    case WM_KEYDOWN: {
        const LRESULT code = ui::dlgCodeOf(lpMsg->hwnd, lpMsg);
        if (code & DLGC_WANTMESSAGE)
            break;
        switch (lpMsg->wParam) {
        case VK_TAB:
            if (code & DLGC_WANTTAB)
                break;
            SendMessageW(hDlg, WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0 ? 1 : 0, 0);
            return TRUE;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: {
            if (code & DLGC_WANTARROWS)
                break;
            const bool back = lpMsg->wParam == VK_LEFT || lpMsg->wParam == VK_UP;
            const HWND next = GetNextDlgGroupItem(hDlg, GetFocus(), back);
            if (next != nullptr && next != GetFocus()) {
                ui::focusControl(hDlg, next);
                if (ui::dlgCodeOf(next, nullptr) & DLGC_RADIOBUTTON)
                    SendMessageW(next, BM_CLICK, 0, 0);
            }
            return TRUE;
        }
        case VK_RETURN:
            ui::pressDefault(hDlg);
            return TRUE;
        case VK_ESCAPE:
            SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
            return TRUE;
        default:
            break;
        }
        break;
    }
    case WM_CHAR: {
        const LRESULT code = ui::dlgCodeOf(lpMsg->hwnd, lpMsg);
        if (code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE))
            break;
        if (lpMsg->wParam == u'\t' && (code & DLGC_WANTTAB))
            break;
        if (ui::handleMnemonic(hDlg, static_cast<char16_t>(lpMsg->wParam)))
            return TRUE;
        break;
    }
    default:
        break;
    }
    TranslateMessage(lpMsg);
    DispatchMessageW(lpMsg);
    return TRUE;
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    Window* d = windowOf(hDlg);
    if (d == nullptr)
        return nullptr;
    for (HWND child : d->children)
        if (Window* c = peekWindow(child); c != nullptr && static_cast<int>(c->id) == nIDDlgItem)
            return child;
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hWnd)
{
    Window* w = windowOf(hWnd);
    if (w == nullptr)
        return 0;
    if (ui::isTopLevel(*w)) {
        SetLastError(ERROR_NOT_CHILD_WINDOW);
        return 0;
    }
    return static_cast<int>(w->id);
}

BOOL WINAPI SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString)
{
    const HWND item = GetDlgItem(hDlg, nIDDlgItem);
    if (item == nullptr)
        return FALSE;
    return SetWindowTextW(item, lpString);
}

UINT WINAPI GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax)
{
    if (lpString != nullptr && cchMax > 0)
        lpString[0] = u'\0';
    const HWND item = GetDlgItem(hDlg, nIDDlgItem);
    if (item == nullptr)
        return 0;
    return static_cast<UINT>(std::max(0, GetWindowTextW(item, lpString, cchMax)));
}

BOOL WINAPI SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned)
{
    std::string digits = bSigned ? std::to_string(static_cast<int>(uValue)) : std::to_string(uValue);
    const std::u16string text(digits.begin(), digits.end());
    return SetDlgItemTextW(hDlg, nIDDlgItem, text.c_str());
}

UINT WINAPI GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned)
{
    if (lpTranslated != nullptr)
        *lpTranslated = FALSE;
    char16_t buffer[64];
    if (GetDlgItem(hDlg, nIDDlgItem) == nullptr)
        return 0;
    GetDlgItemTextW(hDlg, nIDDlgItem, buffer, 64);
    const char16_t* p = buffer;
    while (*p == u' ' || *p == u'\t')
        ++p;
    bool negative = false;
    if (*p == u'-' && bSigned) {
        negative = true;
        ++p;
    } else if (*p == u'+') {
        ++p;
    }
    if (*p < u'0' || *p > u'9')
        return 0;
    unsigned long long value = 0;
    while (*p >= u'0' && *p <= u'9') {
        value = value * 10 + static_cast<unsigned>(*p - u'0');
        if (value > 0xFFFFFFFFull)
            return 0;
        ++p;
    }
    while (*p == u' ' || *p == u'\t')
        ++p;
    if (*p != u'\0')
        return 0;
    if (bSigned) {
        if ((!negative && value > 0x7FFFFFFFull) || (negative && value > 0x80000000ull))
            return 0;
        if (lpTranslated != nullptr)
            *lpTranslated = TRUE;
        const long long signedValue = negative ? -static_cast<long long>(value) : static_cast<long long>(value);
        return static_cast<UINT>(static_cast<int>(signedValue));
    }
    if (lpTranslated != nullptr)
        *lpTranslated = TRUE;
    return static_cast<UINT>(value);
}

LRESULT WINAPI SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    const HWND item = GetDlgItem(hDlg, nIDDlgItem);
    if (item == nullptr)
        return 0;
    return SendMessageW(item, Msg, wParam, lParam);
}

HWND WINAPI GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious)
{
    Window* d = windowOf(hDlg);
    if (d == nullptr)
        return nullptr;
    const std::vector<HWND>& children = d->children;
    if (children.empty())
        return nullptr;
    const auto n = static_cast<long>(children.size());
    long start = bPrevious ? 0 : n - 1;
    const HWND from = hCtl ? ui::childOfDialog(hDlg, hCtl) : nullptr;
    if (from != nullptr) {
        const auto at = std::find(children.begin(), children.end(), from);
        if (at != children.end())
            start = static_cast<long>(at - children.begin());
    }
    const long step = bPrevious ? -1 : 1;
    for (long k = 1; k <= n; ++k) {
        const long i = ((start + step * k) % n + n) % n;
        Window* c = peekWindow(children[static_cast<size_t>(i)]);
        if (c != nullptr && (c->style & WS_TABSTOP) && ui::canTakeFocus(*c))
            return c->handle;
    }
    return hCtl;
}

HWND WINAPI GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious)
{
    Window* d = windowOf(hDlg);
    if (d == nullptr)
        return nullptr;
    const std::vector<HWND>& children = d->children;
    if (children.empty())
        return nullptr;
    const HWND from = hCtl ? ui::childOfDialog(hDlg, hCtl) : nullptr;
    size_t at = 0;
    if (from != nullptr) {
        const auto it = std::find(children.begin(), children.end(), from);
        if (it == children.end())
            return nullptr;
        at = static_cast<size_t>(it - children.begin());
    }
    // The group: from the WS_GROUP item at or before the control to the next WS_GROUP item.
    size_t first = at;
    while (first > 0) {
        Window* c = peekWindow(children[first]);
        if (c != nullptr && (c->style & WS_GROUP))
            break;
        --first;
    }
    size_t last = at;
    while (last + 1 < children.size()) {
        Window* c = peekWindow(children[last + 1]);
        if (c != nullptr && (c->style & WS_GROUP))
            break;
        ++last;
    }
    const long size = static_cast<long>(last - first + 1);
    const long pos = static_cast<long>(at - first);
    const long step = bPrevious ? -1 : 1;
    for (long k = 1; k <= size; ++k) {
        const long i = ((pos + step * k) % size + size) % size;
        Window* c = peekWindow(children[first + static_cast<size_t>(i)]);
        if (c != nullptr && ui::canTakeFocus(*c))
            return c->handle;
    }
    return hCtl;
}

BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect)
{
    Window* w = windowOf(hDlg);
    if (w == nullptr || lpRect == nullptr)
        return FALSE;
    if (!w->dialog) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const int bx = w->dialog->baseX > 0 ? w->dialog->baseX : LOWORD(GetDialogBaseUnits());
    const int by = w->dialog->baseY > 0 ? w->dialog->baseY : HIWORD(GetDialogBaseUnits());
    lpRect->left = ui::mulDiv(lpRect->left, bx, 4);
    lpRect->right = ui::mulDiv(lpRect->right, bx, 4);
    lpRect->top = ui::mulDiv(lpRect->top, by, 8);
    lpRect->bottom = ui::mulDiv(lpRect->bottom, by, 8);
    return TRUE;
}

LONG WINAPI GetDialogBaseUnits(void)
{
    int x = 0, y = 0;
    ui::baseUnitsOf(nullptr, x, y);
    return static_cast<LONG>(MAKELONG(static_cast<WORD>(x), static_cast<WORD>(y)));
}
