// COMBOBOX: a field with a drop-down list. CBS_DROPDOWNLIST shows the selected line in the field;
// CBS_DROPDOWN has an edit field (upper case with CBS_UPPERCASE, scrolling with CBS_AUTOHSCROLL).
// The list is a LISTBOX pop-up that the combo drops below itself; the height the combo was
// created or moved with includes the list's, and the combo keeps only the field's height, as the
// device does. A tap on a line of the dropped list reports CBN_SELCHANGE, then CBN_SELENDOK, and
// closes the list (CBN_CLOSEUP).
#include "platform/controls/control_base.h"
#include "platform/controls/control_classes.h"
#include "platform/controls/list_link.h"

#include <algorithm>

namespace controls {
namespace {

constexpr int editId = 1001;
constexpr int listId = 1000;

struct ComboState {
    HWND edit = nullptr;
    HWND list = nullptr;
    HFONT font = nullptr;
    bool dropped = false;
    bool focused = false;
    int droppedHeight = 0;  // of the list, below the field
    int quietEdit = 0;      // >0 while the combo itself changes the edit's text
    bool resizing = false;
};

bool hasEdit(const ComboState& s)
{
    return s.edit != nullptr;
}

int fieldHeight(HWND window, const ComboState& s)
{
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, fontOrStandard(s.font));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return metrics.tmHeight + 6;
}

int buttonWidth(HWND window, const ComboState& s)
{
    return std::max(11, fieldHeight(window, s) - 4);
}

LRESULT toList(const ComboState& s, UINT message, WPARAM wParam, LPARAM lParam)
{
    return s.list != nullptr ? SendMessageW(s.list, message, wParam, lParam) : CB_ERR;
}

std::u16string lineText(const ComboState& s, int index)
{
    LRESULT length = toList(s, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0)
        return {};
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    toList(s, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

void setEditText(ComboState& s, std::u16string_view text)
{
    if (!hasEdit(s))
        return;
    std::u16string value(text);
    ++s.quietEdit;
    SetWindowTextW(s.edit, reinterpret_cast<LPCWSTR>(value.c_str()));
    --s.quietEdit;
}

// The window manager's copy of the combo's text follows the field, for callers that read it
// without asking the combo.
void storeComboText(HWND window, const ComboState& s)
{
    std::u16string text;
    if (hasEdit(s)) {
        text = windowText(s.edit);
    } else {
        auto selected = static_cast<int>(toList(s, LB_GETCURSEL, 0, 0));
        if (selected >= 0)
            text = lineText(s, selected);
    }
    DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// The field shows the selected line.
void showSelection(HWND window, ComboState& s)
{
    if (hasEdit(s)) {
        auto selected = static_cast<int>(toList(s, LB_GETCURSEL, 0, 0));
        if (selected >= 0) {
            setEditText(s, lineText(s, selected));
            SendMessageW(s.edit, EM_SETSEL, 0, -1);
        }
    }
    storeComboText(window, s);
    InvalidateRect(window, nullptr, TRUE);
}

void placeChildren(HWND window, ComboState& s)
{
    RECT client{};
    GetClientRect(window, &client);
    if (hasEdit(s))
        MoveWindow(s.edit, 1, 1, std::max<int>(0, client.right - buttonWidth(window, s) - 2), std::max<int>(0, client.bottom - 2), TRUE);
}

// Keeps the combo window at the field's height; what was asked for beyond it is the list's.
void keepFieldHeight(HWND window, ComboState& s)
{
    if (s.resizing)
        return;
    RECT rect{};
    GetWindowRect(window, &rect);
    int field = fieldHeight(window, s);
    int height = rect.bottom - rect.top;
    if (height != field) {
        if (height > field)
            s.droppedHeight = height - field;
        s.resizing = true;
        SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, field, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        s.resizing = false;
    }
    placeChildren(window, s);
}

void closeList(HWND window, ComboState& s)
{
    if (!s.dropped)
        return;
    s.dropped = false;
    if (GetCapture() == s.list)
        ReleaseCapture();
    ShowWindow(s.list, SW_HIDE);
    InvalidateRect(window, nullptr, TRUE);
    notifyCommand(window, CBN_CLOSEUP);
}

void openList(HWND window, ComboState& s)
{
    if (s.dropped || s.list == nullptr)
        return;
    notifyCommand(window, CBN_DROPDOWN);
    RECT rect{};
    GetWindowRect(window, &rect);
    auto lines = static_cast<int>(toList(s, LB_GETCOUNT, 0, 0));
    auto lineHeight = static_cast<int>(toList(s, LB_GETITEMHEIGHT, 0, 0));
    int wanted = std::max(1, lines) * lineHeight + 2;
    int height = std::max(lineHeight + 2, std::min(wanted, std::max(s.droppedHeight, lineHeight + 2)));
    int top = rect.bottom;
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (top + height > screenHeight && rect.top - height >= 0)
        top = rect.top - height;
    SetWindowPos(s.list, HWND_TOPMOST, rect.left, top, rect.right - rect.left, height,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    auto selected = static_cast<int>(toList(s, LB_GETCURSEL, 0, 0));
    if (selected >= 0)
        toList(s, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    s.dropped = true;
    SetCapture(s.list);
    InvalidateRect(window, nullptr, TRUE);
}

void toggleList(HWND window, ComboState& s)
{
    if (s.dropped)
        closeList(window, s);
    else
        openList(window, s);
}

void chooseFromList(HWND window, ComboState& s)
{
    showSelection(window, s);
    notifyCommand(window, CBN_SELCHANGE);
    if (IsWindow(window) && s.dropped) {
        notifyCommand(window, CBN_SELENDOK);
        closeList(window, s);
    }
}

// A key that moves the selection of a closed list makes the choice at once: CBN_SELENDOK comes
// before CBN_SELCHANGE. In a dropped list the choice waits for the list to close.
void notifyKeyChoice(HWND window, ComboState& s)
{
    if (!s.dropped) {
        notifyCommand(window, CBN_SELENDOK);
        if (!IsWindow(window))
            return;
    }
    notifyCommand(window, CBN_SELCHANGE);
}

void moveSelection(HWND window, ComboState& s, int delta, bool toEnd)
{
    auto lines = static_cast<int>(toList(s, LB_GETCOUNT, 0, 0));
    if (lines <= 0)
        return;
    auto current = static_cast<int>(toList(s, LB_GETCURSEL, 0, 0));
    int target = toEnd ? (delta < 0 ? 0 : lines - 1) : (current < 0 ? 0 : current + delta);
    target = std::clamp(target, 0, lines - 1);
    if (target == current)
        return;
    toList(s, LB_SETCURSEL, static_cast<WPARAM>(target), 0);
    showSelection(window, s);
    notifyKeyChoice(window, s);
}

void keyDown(HWND window, ComboState& s, WPARAM key)
{
    switch (key) {
    case VK_F4:
        toggleList(window, s);
        break;
    case VK_UP:
        moveSelection(window, s, -1, false);
        break;
    case VK_DOWN:
        moveSelection(window, s, 1, false);
        break;
    case VK_PRIOR:
        moveSelection(window, s, -8, false);
        break;
    case VK_NEXT:
        moveSelection(window, s, 8, false);
        break;
    case VK_HOME:
        if (!hasEdit(s))
            moveSelection(window, s, -1, true);
        break;
    case VK_END:
        if (!hasEdit(s))
            moveSelection(window, s, 1, true);
        break;
    case VK_RETURN:
        if (s.dropped) {
            notifyCommand(window, CBN_SELENDOK);
            closeList(window, s);
        }
        break;
    case VK_ESCAPE:
        if (s.dropped) {
            notifyCommand(window, CBN_SELENDCANCEL);
            closeList(window, s);
        }
        break;
    default:
        break;
    }
}

void typedCharacter(HWND window, ComboState& s, WCHAR ch)
{
    if (hasEdit(s) || ch < 0x20)
        return;
    char16_t one[2] = {ch, 0};
    LRESULT current = toList(s, LB_GETCURSEL, 0, 0);
    LRESULT found = toList(s, LB_FINDSTRING, static_cast<WPARAM>(current), reinterpret_cast<LPARAM>(one));
    if (found < 0 || found == current)
        return;
    toList(s, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
    showSelection(window, s);
    notifyKeyChoice(window, s);
}

// Reports from the edit field and the dropped list.
void childCommand(HWND window, ComboState& s, WPARAM wParam, LPARAM lParam)
{
    auto from = reinterpret_cast<HWND>(lParam);
    // Signed: LBN_ERRSPACE is negative.
    int code = static_cast<SHORT>(HIWORD(wParam));
    if (from == s.edit && s.edit != nullptr) {
        if (code == EN_CHANGE)
            storeComboText(window, s);
        if (s.quietEdit > 0)
            return;
        if (code == EN_CHANGE)
            notifyCommand(window, CBN_EDITCHANGE);
        else if (code == EN_UPDATE)
            notifyCommand(window, CBN_EDITUPDATE);
        else if (code == EN_SETFOCUS)
            notifyCommand(window, CBN_SETFOCUS);
        else if (code == EN_KILLFOCUS) {
            closeList(window, s);
            notifyCommand(window, CBN_KILLFOCUS);
        }
        return;
    }
    if (from == s.list && s.list != nullptr) {
        if (code == LBN_SELCHANGE)
            chooseFromList(window, s);
        else if (code == LBN_SELCANCEL) {
            notifyCommand(window, CBN_SELENDCANCEL);
            closeList(window, s);
        } else if (code == LBN_ERRSPACE)
            notifyCommand(window, CBN_ERRSPACE);
    }
}

void paintCombo(HWND window, ComboState& s)
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    bool enabled = IsWindowEnabled(window);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    HBRUSH brush = askColours(window, dc, WM_CTLCOLOREDIT, GetSysColorBrush(COLOR_WINDOW));
    COLORREF textColour = enabled ? GetTextColor(dc) : disabledTextColour();
    FillRect(dc, &client, brush);

    int button = buttonWidth(window, s);
    RECT field{client.left + 1, client.top + 1, client.right - button - 1, client.bottom - 1};
    if (!hasEdit(s)) {
        auto selected = static_cast<int>(toList(s, LB_GETCURSEL, 0, 0));
        bool highlight = s.focused && !s.dropped;
        if (highlight)
            fillSolid(dc, field, selectionColour());
        if (selected >= 0) {
            std::u16string text = lineText(s, selected);
            HGDIOBJ old = SelectObject(dc, fontOrStandard(s.font));
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, highlight ? selectionTextColour() : textColour);
            RECT textRect = field;
            textRect.left += 2;
            DrawTextW(dc, reinterpret_cast<LPCWSTR>(text.c_str()), static_cast<int>(text.size()), &textRect,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
            SelectObject(dc, old);
        }
    }

    RECT arrowBox{client.right - button, client.top, client.right, client.bottom};
    fillSolid(dc, arrowBox, s.dropped ? RGB(0, 0, 0) : RGB(214, 214, 214));
    COLORREF arrow = s.dropped ? RGB(255, 255, 255) : enabled ? RGB(0, 0, 0) : disabledTextColour();
    int cx = (arrowBox.left + arrowBox.right) / 2;
    int cy = (arrowBox.top + arrowBox.bottom) / 2 - 1;
    for (int row = 0; row < 4; ++row)
        for (int k = -(3 - row); k <= 3 - row; ++k)
            SetPixel(dc, cx + k, cy + row, arrow);
    RECT divider{arrowBox.left, client.top, arrowBox.left + 1, client.bottom};
    fillSolid(dc, divider, frameColour());
    // With WS_BORDER the frame lies outside the client area already.
    if (!(windowStyle(window) & WS_BORDER))
        drawFrame(dc, client, frameColour());
    EndPaint(window, &paint);
}

bool createParts(HWND window, ComboState& s, const CREATESTRUCTW& create)
{
    LONG style = create.style;
    if ((style & 3) == CBS_DROPDOWN || (style & 3) == CBS_SIMPLE) {
        DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_COMBOBOX | ES_LEFT;
        if (style & CBS_AUTOHSCROLL)
            editStyle |= ES_AUTOHSCROLL;
        if (style & CBS_UPPERCASE)
            editStyle |= ES_UPPERCASE;
        if (style & CBS_LOWERCASE)
            editStyle |= ES_LOWERCASE;
        s.edit = CreateWindowExW(0, WC_EDITW, u"", editStyle, 0, 0, 10, 10, window,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(editId)), create.hInstance, nullptr);
        if (s.edit == nullptr)
            return false;
    }
    DWORD listStyle = WS_POPUP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS;
    if (style & CBS_SORT)
        listStyle |= LBS_SORT;
    if (style & CBS_DISABLENOSCROLL)
        listStyle |= LBS_DISABLENOSCROLL;
    s.list = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, WC_LISTBOXW, nullptr, listStyle, 0, 0,
                             10, 10, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(listId)), create.hInstance,
                             nullptr);
    if (s.list == nullptr)
        return false;
    SendMessageW(s.list, listAttachCombo, reinterpret_cast<WPARAM>(window), 0);
    s.droppedHeight = std::max(0, create.cy - fieldHeight(window, s));
    return true;
}

void setFont(HWND window, ComboState& s, WPARAM wParam, LPARAM lParam)
{
    s.font = reinterpret_cast<HFONT>(wParam);
    if (hasEdit(s))
        SendMessageW(s.edit, WM_SETFONT, wParam, lParam);
    if (s.list != nullptr)
        SendMessageW(s.list, WM_SETFONT, wParam, FALSE);
    keepFieldHeight(window, s);
    if (LOWORD(lParam))
        InvalidateRect(window, nullptr, TRUE);
}

LRESULT setText(HWND window, ComboState& s, LPARAM lParam)
{
    if (hasEdit(s)) {
        auto text = reinterpret_cast<LPCWSTR>(lParam);
        setEditText(s, text != nullptr ? std::u16string_view(text) : std::u16string_view());
        return TRUE;
    }
    LRESULT found = toList(s, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), lParam);
    if (found < 0)
        return CB_ERR;
    toList(s, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
    storeComboText(window, s);
    InvalidateRect(window, nullptr, TRUE);
    return TRUE;
}

LRESULT getText(const ComboState& s, WPARAM wParam, LPARAM lParam, bool lengthOnly)
{
    if (hasEdit(s))
        return SendMessageW(s.edit, lengthOnly ? WM_GETTEXTLENGTH : WM_GETTEXT, wParam, lParam);
    auto selected = static_cast<int>(toList(s, LB_GETCURSEL, 0, 0));
    std::u16string text = selected >= 0 ? lineText(s, selected) : std::u16string();
    if (lengthOnly)
        return static_cast<LRESULT>(text.size());
    return copyText(text, reinterpret_cast<LPWSTR>(lParam), static_cast<int>(wParam));
}

LRESULT setCurrentSelection(HWND window, ComboState& s, WPARAM wParam)
{
    LRESULT result = toList(s, LB_SETCURSEL, wParam, 0);
    // An index past the list changes nothing; only -1 clears the selection and the text.
    if (result < 0 && toList(s, LB_GETCURSEL, 0, 0) >= 0)
        return CB_ERR;
    if (result < 0)
        setEditText(s, u"");
    else
        setEditText(s, lineText(s, static_cast<int>(result)));
    storeComboText(window, s);
    InvalidateRect(window, nullptr, TRUE);
    return result;
}

void resetContent(HWND window, ComboState& s)
{
    toList(s, LB_RESETCONTENT, 0, 0);
    setEditText(s, u"");
    storeComboText(window, s);
    InvalidateRect(window, nullptr, TRUE);
}

LRESULT setEditSelection(const ComboState& s, LPARAM lParam)
{
    if (!hasEdit(s))
        return CB_ERR;
    auto start = static_cast<SHORT>(LOWORD(lParam));
    auto end = static_cast<SHORT>(HIWORD(lParam));
    SendMessageW(s.edit, EM_SETSEL, static_cast<WPARAM>(static_cast<LONG_PTR>(start)), end);
    return TRUE;
}

LRESULT droppedRect(const ComboState& s, LPARAM lParam)
{
    if (lParam == 0)
        return CB_ERR;
    auto* rect = reinterpret_cast<RECT*>(lParam);
    GetWindowRect(s.list, rect);
    return TRUE;
}

void stylusDown(HWND window, ComboState& s, POINT point)
{
    if (hasEdit(s)) {
        RECT client{};
        GetClientRect(window, &client);
        if (point.x >= client.right - buttonWidth(window, s)) {
            if (GetFocus() != s.edit)
                SetFocus(s.edit);
            toggleList(window, s);
        }
        return;
    }
    if (GetFocus() != window)
        SetFocus(window);
    toggleList(window, s);
}

}  // namespace

LRESULT CALLBACK comboProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ComboState* s = nullptr;
    if (std::optional<LRESULT> answered = answerCommonMessage(window, message, wParam, lParam, s))
        return *answered;
    switch (message) {
    case WM_CREATE:
        if (!createParts(window, *s, *reinterpret_cast<CREATESTRUCTW*>(lParam)))
            return -1;
        keepFieldHeight(window, *s);
        return 0;
    case WM_DESTROY:
        if (s->list != nullptr && IsWindow(s->list))
            DestroyWindow(s->list);
        s->list = nullptr;
        break;
    case WM_PAINT:
        paintCombo(window, *s);
        return 0;
    case WM_SIZE:
        keepFieldHeight(window, *s);
        return 0;
    case WM_SETFONT:
        setFont(window, *s, wParam, lParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_ENABLE:
        if (hasEdit(*s))
            EnableWindow(s->edit, static_cast<BOOL>(wParam));
        if (!wParam)
            closeList(window, *s);
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_SETFOCUS:
        if (hasEdit(*s)) {
            SetFocus(s->edit);
            SendMessageW(s->edit, EM_SETSEL, 0, -1);
            return 0;
        }
        s->focused = true;
        InvalidateRect(window, nullptr, TRUE);
        notifyCommand(window, CBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        if (!hasEdit(*s)) {
            s->focused = false;
            closeList(window, *s);
            InvalidateRect(window, nullptr, TRUE);
            notifyCommand(window, CBN_KILLFOCUS);
        }
        return 0;
    case WM_SETTEXT:
        return setText(window, *s, lParam);
    case WM_GETTEXT:
        return getText(*s, wParam, lParam, false);
    case WM_GETTEXTLENGTH:
        return getText(*s, wParam, lParam, true);
    case WM_GETDLGCODE: {
        // While the list shows, Enter and Escape close the list instead of the dialog.
        auto* msg = reinterpret_cast<const MSG*>(lParam);
        bool closingKey = msg != nullptr && msg->message == WM_KEYDOWN &&
                          (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE);
        return DLGC_WANTARROWS | DLGC_WANTCHARS | (s->dropped && closingKey ? DLGC_WANTMESSAGE : 0);
    }
    case WM_KEYDOWN:
        keyDown(window, *s, wParam);
        return 0;
    case WM_CHAR:
        typedCharacter(window, *s, static_cast<WCHAR>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        stylusDown(window, *s, pointFromLParam(lParam));
        return 0;
    case WM_COMMAND:
        childCommand(window, *s, wParam, lParam);
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        // The edit field asks the combo's parent, which sees the combo.
        return SendMessageW(GetParent(window), message, wParam, reinterpret_cast<LPARAM>(window));

    case CB_ADDSTRING:
        return toList(*s, LB_ADDSTRING, wParam, lParam);
    case CB_INSERTSTRING:
        return toList(*s, LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING:
        return toList(*s, LB_DELETESTRING, wParam, lParam);
    case CB_GETCOUNT:
        return toList(*s, LB_GETCOUNT, 0, 0);
    case CB_GETCURSEL:
        return toList(*s, LB_GETCURSEL, 0, 0);
    case CB_SETCURSEL:
        return setCurrentSelection(window, *s, wParam);
    case CB_GETLBTEXT:
        return toList(*s, LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN:
        return toList(*s, LB_GETTEXTLEN, wParam, lParam);
    case CB_FINDSTRING:
        return toList(*s, LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT:
        return toList(*s, LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_SELECTSTRING: {
        LRESULT found = toList(*s, LB_FINDSTRING, wParam, lParam);
        return found < 0 ? CB_ERR : setCurrentSelection(window, *s, static_cast<WPARAM>(found));
    }
    case CB_GETITEMDATA:
        return toList(*s, LB_GETITEMDATA, wParam, lParam);
    case CB_SETITEMDATA:
        return toList(*s, LB_SETITEMDATA, wParam, lParam);
    case CB_GETITEMHEIGHT:
        return toList(*s, LB_GETITEMHEIGHT, 0, 0);
    case CB_GETTOPINDEX:
        return toList(*s, LB_GETTOPINDEX, 0, 0);
    case CB_SETTOPINDEX:
        return toList(*s, LB_SETTOPINDEX, wParam, 0);
    case CB_RESETCONTENT:
        resetContent(window, *s);
        return CB_OKAY;
    case CB_SHOWDROPDOWN:
        if (wParam)
            openList(window, *s);
        else
            closeList(window, *s);
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return s->dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT:
        return droppedRect(*s, lParam);
    case CB_LIMITTEXT:
        if (!hasEdit(*s))
            return CB_ERR;
        SendMessageW(s->edit, EM_LIMITTEXT, wParam, 0);
        return TRUE;
    case CB_GETEDITSEL:
        return hasEdit(*s) ? SendMessageW(s->edit, EM_GETSEL, wParam, lParam) : CB_ERR;
    case CB_SETEDITSEL:
        return setEditSelection(*s, lParam);
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace controls
