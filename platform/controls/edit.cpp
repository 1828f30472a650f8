// EDIT: a single-line field with caret and selection, upper-case and digits-only input, a text
// limit and horizontal auto-scrolling. Changes made by the user or by WM_SETTEXT are reported
// with EN_UPDATE then EN_CHANGE. The caret does not blink, so an idle field stays idle.
#include "platform/controls/control_base.h"
#include "platform/controls/control_classes.h"
#include "platform/kernel/text.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace controls {
namespace {

constexpr int defaultLimit = 30000;
constexpr int margin = 2;

struct EditState {
    std::u16string text;
    int anchor = 0;  // the fixed end of the selection
    int caret = 0;   // the moving end, where the caret is drawn
    int limit = defaultLimit;
    int scroll = 0;  // pixels of text hidden at the left
    HFONT font = nullptr;
    bool focused = false;
    bool modified = false;
    bool selecting = false;  // stylus down, dragging a selection
};

int selectionStart(const EditState& s)
{
    return std::min(s.anchor, s.caret);
}

int selectionEnd(const EditState& s)
{
    return std::max(s.anchor, s.caret);
}

// Widths of the text's first 0, 1, ... n characters in the field's font.
std::vector<int> prefixWidths(HWND window, const EditState& s)
{
    std::vector<int> widths(s.text.size() + 1, 0);
    if (s.text.empty())
        return widths;
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, fontOrStandard(s.font));
    GetTextExtentExPointW(dc, reinterpret_cast<LPCWSTR>(s.text.data()), static_cast<int>(s.text.size()), INT_MAX,
                          nullptr, widths.data() + 1, nullptr);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return widths;
}

int visibleWidth(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return std::max<int>(0, client.right - client.left - 2 * margin);
}

// Keeps the caret inside the visible part of the field.
void scrollToCaret(HWND window, EditState& s)
{
    std::vector<int> widths = prefixWidths(window, s);
    int width = visibleWidth(window);
    int caretX = widths[static_cast<size_t>(s.caret)];
    if (caretX - s.scroll > width - 1)
        s.scroll = caretX - width + 1 + width / 4;
    if (caretX < s.scroll)
        s.scroll = std::max(0, caretX - width / 4);
    int textWidth = widths.back();
    s.scroll = std::clamp(s.scroll, 0, std::max(0, textWidth - width + 1));
    if (caretX < s.scroll)
        s.scroll = caretX;
}

// The window manager keeps a copy of the text for GetWindowText callers that do not ask us.
void storeWindowText(HWND window, const EditState& s)
{
    DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s.text.c_str()));
}

void notifyChange(HWND window)
{
    notifyCommand(window, EN_UPDATE);
    notifyCommand(window, EN_CHANGE);
}

// Lower case for the letters the device's texts use: ASCII, Latin-1 and Cyrillic.
char16_t lowerCase(char16_t c)
{
    if ((c >= u'A' && c <= u'Z') || (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) || (c >= 0x0410 && c <= 0x042F))
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x0400 && c <= 0x040F)
        return static_cast<char16_t>(c + 0x50);
    return c;
}

std::u16string caseConverted(HWND window, std::u16string_view text)
{
    std::u16string out(text);
    LONG style = windowStyle(window);
    if (style & ES_UPPERCASE)
        for (char16_t& c : out)
            c = kernel::foldCase(c);
    else if (style & ES_LOWERCASE)
        for (char16_t& c : out)
            c = lowerCase(c);
    return out;
}

// Replaces the selection with text. `typed` applies the user's rules: the limit, and, without
// ES_AUTOHSCROLL, the width of the field. Answers false when nothing could be inserted.
bool replaceSelection(HWND window, EditState& s, std::u16string_view insert, bool typed)
{
    std::u16string text = caseConverted(window, insert);
    int start = selectionStart(s);
    int end = selectionEnd(s);
    int kept = static_cast<int>(s.text.size()) - (end - start);
    bool cut = false;
    if (typed && kept + static_cast<int>(text.size()) > s.limit) {
        text.resize(static_cast<size_t>(std::max(0, s.limit - kept)));
        cut = true;
    }
    std::u16string before = s.text;
    s.text.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), text);
    if (typed && !(windowStyle(window) & ES_AUTOHSCROLL)) {
        // Without auto-scrolling the field takes only what fits its width.
        while (!text.empty()) {
            std::vector<int> widths = prefixWidths(window, s);
            if (widths.back() <= visibleWidth(window))
                break;
            text.pop_back();
            s.text = before;
            s.text.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), text);
            cut = true;
        }
        if (text.empty() && end == start)
            s.text = before;
    }
    if (cut)
        notifyCommand(window, EN_MAXTEXT);
    bool changed = s.text != before;
    s.caret = s.anchor = start + static_cast<int>(text.size());
    if (!changed)
        return false;
    s.modified = true;
    storeWindowText(window, s);
    scrollToCaret(window, s);
    InvalidateRect(window, nullptr, TRUE);
    notifyChange(window);
    return true;
}

void setSelection(HWND window, EditState& s, int start, int end)
{
    int length = static_cast<int>(s.text.size());
    if (start < 0) {
        // -1 removes the selection and leaves the caret where it is.
        s.anchor = s.caret;
    } else {
        if (end < 0 || end > length)
            end = length;
        s.anchor = std::min(start, length);
        s.caret = end;
    }
    scrollToCaret(window, s);
    InvalidateRect(window, nullptr, TRUE);
}

void setText(HWND window, EditState& s, LPCWSTR text)
{
    std::u16string value = text != nullptr ? std::u16string(text, kernel::textLength(text)) : std::u16string();
    s.text = caseConverted(window, value);
    s.anchor = s.caret = 0;
    s.scroll = 0;
    s.modified = false;
    storeWindowText(window, s);
    InvalidateRect(window, nullptr, TRUE);
    notifyChange(window);
}

void moveCaret(HWND window, EditState& s, int position, bool extend)
{
    s.caret = std::clamp(position, 0, static_cast<int>(s.text.size()));
    if (!extend)
        s.anchor = s.caret;
    scrollToCaret(window, s);
    InvalidateRect(window, nullptr, TRUE);
}

void deleteAround(HWND window, EditState& s, bool forward)
{
    if (s.anchor == s.caret) {
        int length = static_cast<int>(s.text.size());
        if (forward ? s.caret >= length : s.caret <= 0)
            return;
        s.anchor = forward ? s.caret + 1 : s.caret - 1;
    }
    replaceSelection(window, s, u"", true);
}

bool readOnly(HWND window)
{
    return (windowStyle(window) & ES_READONLY) != 0;
}

void keyDown(HWND window, EditState& s, WPARAM key)
{
    bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    switch (key) {
    case VK_LEFT:
        if (!shift && s.anchor != s.caret)
            moveCaret(window, s, selectionStart(s), false);
        else
            moveCaret(window, s, s.caret - 1, shift);
        break;
    case VK_RIGHT:
        if (!shift && s.anchor != s.caret)
            moveCaret(window, s, selectionEnd(s), false);
        else
            moveCaret(window, s, s.caret + 1, shift);
        break;
    case VK_HOME:
        moveCaret(window, s, 0, shift);
        break;
    case VK_END:
        moveCaret(window, s, static_cast<int>(s.text.size()), shift);
        break;
    case VK_DELETE:
        if (!readOnly(window))
            deleteAround(window, s, true);
        break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_F4:
    case VK_RETURN:
    case VK_ESCAPE:
        // The field of a combo box leaves these to its box (list movement, drop-down, closing).
        if (windowStyle(window) & ES_COMBOBOX)
            SendMessageW(GetParent(window), WM_KEYDOWN, key, 0);
        break;
    default:
        break;
    }
}

void character(HWND window, EditState& s, WCHAR ch)
{
    if (readOnly(window))
        return;
    if (ch == u'\b') {
        deleteAround(window, s, false);
        return;
    }
    if (ch < 0x20)
        return;
    if ((windowStyle(window) & ES_NUMBER) && (ch < u'0' || ch > u'9')) {
        MessageBeep(0);
        return;
    }
    char16_t one[1] = {ch};
    replaceSelection(window, s, std::u16string_view(one, 1), true);
}

int positionAt(HWND window, const EditState& s, int x)
{
    std::vector<int> widths = prefixWidths(window, s);
    int textX = x - margin + s.scroll;
    for (size_t i = 0; i + 1 < widths.size(); ++i)
        if (textX < (widths[i] + widths[i + 1]) / 2)
            return static_cast<int>(i);
    return static_cast<int>(s.text.size());
}

void paintEdit(HWND window, EditState& s)
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    bool enabled = IsWindowEnabled(window);
    SetTextColor(dc, enabled ? GetSysColor(COLOR_WINDOWTEXT) : disabledTextColour());
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    UINT colourMessage = enabled && !readOnly(window) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
    HBRUSH brush = askColours(window, dc, colourMessage, GetSysColorBrush(COLOR_WINDOW));
    FillRect(dc, &client, brush);
    COLORREF textColour = enabled ? GetTextColor(dc) : disabledTextColour();

    HGDIOBJ oldFont = SelectObject(dc, fontOrStandard(s.font));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    int top = client.top + std::max<int>(0, (client.bottom - client.top - metrics.tmHeight) / 2);
    RECT clip = client;
    InflateRect(&clip, -1, 0);
    std::vector<int> widths = prefixWidths(window, s);
    int originX = client.left + margin - s.scroll;

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColour);
    ExtTextOutW(dc, originX, top, ETO_CLIPPED, &clip, reinterpret_cast<LPCWSTR>(s.text.data()),
                static_cast<UINT>(s.text.size()), nullptr);

    bool showSelection = s.focused || (windowStyle(window) & ES_NOHIDESEL);
    int start = selectionStart(s);
    int end = selectionEnd(s);
    if (showSelection && start != end) {
        RECT band{originX + widths[static_cast<size_t>(start)], top, originX + widths[static_cast<size_t>(end)],
                  top + metrics.tmHeight};
        IntersectRect(&band, &band, &clip);
        fillSolid(dc, band, selectionColour());
        SetTextColor(dc, selectionTextColour());
        ExtTextOutW(dc, originX + widths[static_cast<size_t>(start)], top, ETO_CLIPPED, &band,
                    reinterpret_cast<LPCWSTR>(s.text.data()) + start, static_cast<UINT>(end - start), nullptr);
    }
    if (s.focused && enabled) {
        int x = originX + widths[static_cast<size_t>(s.caret)];
        if (x >= clip.left && x < clip.right) {
            RECT caret{x, top, x + 1, top + metrics.tmHeight};
            fillSolid(dc, caret, RGB(0, 0, 0));
        }
    }
    SelectObject(dc, oldFont);
    EndPaint(window, &paint);
}

// While its combo box shows the list, Enter and Escape close the list instead of the dialog.
LRESULT dialogCode(HWND window, const MSG* message)
{
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if ((windowStyle(window) & ES_COMBOBOX) && message != nullptr && message->message == WM_KEYDOWN &&
        (message->wParam == VK_RETURN || message->wParam == VK_ESCAPE) &&
        SendMessageW(GetParent(window), CB_GETDROPPEDSTATE, 0, 0))
        code |= DLGC_WANTMESSAGE;
    return code;
}

LRESULT getSelection(const EditState& s, WPARAM wParam, LPARAM lParam)
{
    auto start = static_cast<DWORD>(selectionStart(s));
    auto end = static_cast<DWORD>(selectionEnd(s));
    if (wParam != 0)
        *reinterpret_cast<DWORD*>(wParam) = start;
    if (lParam != 0)
        *reinterpret_cast<DWORD*>(lParam) = end;
    return MAKELRESULT(start, end);
}

// WM_NCCREATE: the record starts with the window's text, in the case the style asks for.
LRESULT createEdit(HWND window, WPARAM wParam, LPARAM lParam)
{
    EditState* created = attachState<EditState>(window);
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    if (create != nullptr && create->lpszName != nullptr)
        created->text = caseConverted(window, std::u16string_view(create->lpszName, kernel::textLength(create->lpszName)));
    return DefWindowProcW(window, WM_NCCREATE, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        return createEdit(window, wParam, lParam);
    EditState* s = nullptr;
    if (std::optional<LRESULT> answered = answerCommonMessage(window, message, wParam, lParam, s))
        return *answered;
    switch (message) {
    case WM_PAINT:
        paintEdit(window, *s);
        return 0;
    case WM_SETTEXT:
        setText(window, *s, reinterpret_cast<LPCWSTR>(lParam));
        return TRUE;
    case WM_GETTEXT:
        return copyText(s->text, reinterpret_cast<LPWSTR>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(s->text.size());
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_ENABLE:
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_SETFOCUS:
        s->focused = true;
        InvalidateRect(window, nullptr, TRUE);
        notifyCommand(window, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s->focused = false;
        InvalidateRect(window, nullptr, TRUE);
        notifyCommand(window, EN_KILLFOCUS);
        return 0;
    case WM_GETDLGCODE:
        return dialogCode(window, reinterpret_cast<const MSG*>(lParam));
    case WM_KEYDOWN:
        keyDown(window, *s, wParam);
        return 0;
    case WM_CHAR:
        character(window, *s, static_cast<WCHAR>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (GetFocus() != window)
            SetFocus(window);
        moveCaret(window, *s, positionAt(window, *s, pointFromLParam(lParam).x), false);
        s->selecting = true;
        SetCapture(window);
        return 0;
    case WM_MOUSEMOVE:
        if (s->selecting)
            moveCaret(window, *s, positionAt(window, *s, pointFromLParam(lParam).x), true);
        return 0;
    case WM_LBUTTONUP:
        if (s->selecting) {
            s->selecting = false;
            if (GetCapture() == window)
                ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        s->selecting = false;
        return 0;
    case EM_GETSEL:
        return getSelection(*s, wParam, lParam);
    case EM_SETSEL:
        setSelection(window, *s, static_cast<int>(static_cast<LONG_PTR>(wParam)), static_cast<int>(lParam));
        return 0;
    case EM_REPLACESEL:
        if (lParam != 0) {
            auto text = reinterpret_cast<LPCWSTR>(lParam);
            replaceSelection(window, *s, std::u16string_view(text, kernel::textLength(text)), true);
        }
        return 0;
    case EM_LIMITTEXT:
        s->limit = wParam == 0 ? 0x7FFFFFFE : static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFE));
        return 0;
    case EM_GETLIMITTEXT:
        return s->limit;
    case EM_GETMODIFY:
        return s->modified ? TRUE : FALSE;
    case EM_SETMODIFY:
        s->modified = wParam != 0;
        return 0;
    case EM_LINELENGTH:
        return static_cast<LRESULT>(s->text.size());
    case EM_GETLINECOUNT:
        return 1;
    case EM_SCROLLCARET:
        scrollToCaret(window, *s);
        InvalidateRect(window, nullptr, TRUE);
        return TRUE;
    case EM_SETREADONLY:
        SetWindowLongW(window, GWL_STYLE, wParam ? (windowStyle(window) | ES_READONLY) : (windowStyle(window) & ~ES_READONLY));
        InvalidateRect(window, nullptr, TRUE);
        return TRUE;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace controls
