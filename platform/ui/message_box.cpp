// The message box the window manager draws: a modal pop-up with a caption strip, an icon, the
// text and its buttons, answered with the keys (arrows and Tab move, Enter presses, Escape
// cancels, a button's underlined letter presses it) or the stylus. And the presenter switch
// that routes MessageBoxW here.
#include "emulator.h"
#include "platform/ui/ui_state.h"
#include "platform/ui/window_manager.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace ui {

namespace {

constexpr int margin = 8;
constexpr int iconSize = 32;
constexpr int buttonHeight = 22;
constexpr int buttonGap = 6;
constexpr int buttonMinWidth = 56;
constexpr int captionHeight = 20;

struct Button {
    int id = 0;
    std::u16string label;  // with '&' before the key letter
    RECT rect{};
};

struct BoxState {
    std::u16string text;
    std::u16string caption;
    UINT style = 0;
    std::vector<Button> buttons;
    int focus = 0;
    int pressed = -1;   // the button the stylus went down on
    bool pressedInside = false;
    HFONT textFont = nullptr;
    HFONT captionFont = nullptr;
    HFONT iconFont = nullptr;
    RECT textRect{};
    RECT iconRect{};
    int answer = 0;
};

std::vector<Button> buttonsOf(UINT style)
{
    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{IDOK, u"OK", {}}, {IDCANCEL, u"Отмена", {}}};
    case MB_ABORTRETRYIGNORE:
        return {{IDABORT, u"&Прервать", {}}, {IDRETRY, u"П&овтор", {}}, {IDIGNORE, u"П&ропустить", {}}};
    case MB_YESNOCANCEL:
        return {{IDYES, u"&Да", {}}, {IDNO, u"&Нет", {}}, {IDCANCEL, u"Отмена", {}}};
    case MB_YESNO:
        return {{IDYES, u"&Да", {}}, {IDNO, u"&Нет", {}}};
    case MB_RETRYCANCEL:
        return {{IDRETRY, u"&Повтор", {}}, {IDCANCEL, u"Отмена", {}}};
    default:
        return {{IDOK, u"OK", {}}};
    }
}

std::u16string withoutPrefix(const std::u16string& label)
{
    std::u16string out;
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] == u'&' && i + 1 < label.size())
            ++i;
        out.push_back(label[i]);
    }
    return out;
}

char16_t upper(char16_t c)
{
    if ((c >= u'a' && c <= u'z') || (c >= u'а' && c <= u'я'))
        return static_cast<char16_t>(c - 32);
    if (c == u'ё')
        return u'Ё';
    return c;
}

char16_t keyLetterOf(const std::u16string& label)
{
    for (size_t i = 0; i + 1 < label.size(); ++i)
        if (label[i] == u'&')
            return upper(label[i + 1]);
    return 0;
}

// The answer Escape and closing give: Cancel where there is one, OK in a box that has only OK.
int cancelAnswer(const BoxState& s)
{
    for (const Button& b : s.buttons)
        if (b.id == IDCANCEL)
            return IDCANCEL;
    if (s.buttons.size() == 1 && s.buttons[0].id == IDOK)
        return IDOK;
    return 0;
}

// In GWL_USERDATA: offset 0 of a window that goes through DefDlgProc is its DWL_MSGRESULT.
BoxState* stateOf(HWND box) { return reinterpret_cast<BoxState*>(GetWindowLongW(box, GWL_USERDATA)); }

void answer(HWND box, BoxState& s, int id)
{
    if (id == 0 || s.answer != 0)
        return;
    s.answer = id;
    EndDialog(box, id);
}

void invalidateButtons(HWND box, const BoxState& s)
{
    for (const Button& b : s.buttons)
        InvalidateRect(box, &b.rect, TRUE);
}

int buttonAt(const BoxState& s, POINT p)
{
    for (size_t i = 0; i < s.buttons.size(); ++i)
        if (PtInRect(&s.buttons[i].rect, p))
            return static_cast<int>(i);
    return -1;
}

void fillDisc(HDC dc, const RECT& r, HBRUSH brush)
{
    const double radius = (r.right - r.left) / 2.0;
    const double cx = r.left + radius;
    const double cy = r.top + radius;
    for (int y = r.top; y < r.bottom; ++y) {
        const double dy = y + 0.5 - cy;
        if (std::fabs(dy) > radius)
            continue;
        const double half = std::sqrt(radius * radius - dy * dy);
        const RECT row{static_cast<LONG>(std::lround(cx - half)), y, static_cast<LONG>(std::lround(cx + half)), y + 1};
        FillRect(dc, &row, brush);
    }
}

void fillTriangle(HDC dc, const RECT& r, HBRUSH brush)
{
    const int height = r.bottom - r.top;
    const double cx = (r.left + r.right) / 2.0;
    for (int y = 0; y < height; ++y) {
        const double half = (r.right - r.left) / 2.0 * (y + 1) / height;
        const RECT row{static_cast<LONG>(std::lround(cx - half)), r.top + y, static_cast<LONG>(std::lround(cx + half)),
                       r.top + y + 1};
        FillRect(dc, &row, brush);
    }
}

void drawIcon(HDC dc, const BoxState& s)
{
    const UINT icon = s.style & MB_ICONMASK;
    if (icon == 0)
        return;
    RECT r = s.iconRect;
    HBRUSH fill = nullptr;
    const char16_t* glyph = u"";
    COLORREF glyphColour = RGB(255, 255, 255);
    switch (icon) {
    case MB_ICONHAND:
        fill = CreateSolidBrush(RGB(204, 0, 0));
        glyph = u"×";
        break;
    case MB_ICONQUESTION:
        fill = CreateSolidBrush(RGB(0, 90, 190));
        glyph = u"?";
        break;
    case MB_ICONEXCLAMATION:
        fill = CreateSolidBrush(RGB(250, 200, 0));
        glyph = u"!";
        glyphColour = RGB(0, 0, 0);
        break;
    default:
        fill = CreateSolidBrush(RGB(0, 90, 190));
        glyph = u"i";
        break;
    }
    if (icon == MB_ICONEXCLAMATION)
        fillTriangle(dc, r, fill);
    else
        fillDisc(dc, r, fill);
    DeleteObject(fill);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, glyphColour);
    HGDIOBJ old = SelectObject(dc, s.iconFont);
    if (icon == MB_ICONEXCLAMATION)
        r.top += 6;
    DrawTextW(dc, glyph, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
}

void drawButton(HDC dc, const BoxState& s, size_t i)
{
    const Button& b = s.buttons[i];
    const bool down = s.pressed == static_cast<int>(i) && s.pressedInside;
    const bool focused = s.focus == static_cast<int>(i);
    FillRect(dc, &b.rect, GetSysColorBrush(down ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    FrameRect(dc, &b.rect, GetSysColorBrush(COLOR_WINDOWFRAME));
    if (focused) {
        // The focused button is the one Enter presses: a double frame marks it.
        RECT inner = b.rect;
        InflateRect(&inner, -1, -1);
        FrameRect(dc, &inner, GetSysColorBrush(COLOR_WINDOWFRAME));
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(down ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
    HGDIOBJ old = SelectObject(dc, s.textFont);
    RECT r = b.rect;
    DrawTextW(dc, b.label.c_str(), static_cast<int>(b.label.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    if (focused) {
        RECT focusRect = b.rect;
        InflateRect(&focusRect, -3, -3);
        DrawFocusRect(dc, &focusRect);
    }
}

void paint(HWND box, BoxState& s)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box, &ps);
    if (dc == nullptr)
        return;
    RECT client;
    GetClientRect(box, &client);
    RECT strip{0, 0, client.right, captionHeight};
    FillRect(dc, &strip, GetSysColorBrush(COLOR_ACTIVECAPTION));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
    HGDIOBJ old = SelectObject(dc, s.captionFont);
    RECT captionText{margin / 2 + 2, 0, client.right - margin / 2, captionHeight};
    DrawTextW(dc, s.caption.c_str(), static_cast<int>(s.caption.size()), &captionText,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, s.textFont);
    drawIcon(dc, s);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SelectObject(dc, s.textFont);
    RECT textRect = s.textRect;
    DrawTextW(dc, s.text.c_str(), static_cast<int>(s.text.size()), &textRect, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    for (size_t i = 0; i < s.buttons.size(); ++i)
        drawButton(dc, s, i);
    EndPaint(box, &ps);
}

void moveFocus(HWND box, BoxState& s, int step)
{
    const int n = static_cast<int>(s.buttons.size());
    if (n <= 1)
        return;
    invalidateButtons(box, s);
    s.focus = ((s.focus + step) % n + n) % n;
}

// Sizes the box to its text and buttons and centres it in the work area.
void layOut(HWND box, BoxState& s)
{
    const RECT area = workArea();
    const int areaWidth = area.right - area.left;
    const int areaHeight = area.bottom - area.top;
    const int maxWidth = std::max(80, areaWidth - 2 * margin);
    const bool hasIcon = (s.style & MB_ICONMASK) != 0;
    const int iconRoom = hasIcon ? iconSize + margin : 0;

    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, s.textFont);
    int buttonsWidth = 0;
    for (Button& b : s.buttons) {
        const std::u16string shown = withoutPrefix(b.label);
        SIZE size{};
        GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
        const int width = std::max(buttonMinWidth, static_cast<int>(size.cx) + 16);
        b.rect = RECT{0, 0, width, buttonHeight};
        buttonsWidth += width;
    }
    buttonsWidth += buttonGap * static_cast<int>(s.buttons.size() - 1);

    // The text: one line where it fits, wrapped at the widest box otherwise.
    const int textMax = maxWidth - 2 - 2 * margin - iconRoom;
    RECT measure{0, 0, textMax, 0};
    DrawTextW(dc, s.text.c_str(), static_cast<int>(s.text.size()), &measure,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_LEFT);
    SelectObject(dc, s.captionFont);
    SIZE captionSize{};
    GetTextExtentPoint32W(dc, s.caption.c_str(), static_cast<int>(s.caption.size()), &captionSize);
    SelectObject(dc, old);
    DeleteDC(dc);

    const int textWidth = std::min(textMax, static_cast<int>(measure.right - measure.left));
    const int textHeight = static_cast<int>(measure.bottom - measure.top);
    int inner = std::max({textWidth + iconRoom + 2 * margin, buttonsWidth + 2 * margin,
                          static_cast<int>(captionSize.cx) + 2 * margin, 120});
    inner = std::min(inner, maxWidth - 2);
    const int bodyHeight = std::max(textHeight, hasIcon ? iconSize : 0);
    int height = captionHeight + margin + bodyHeight + margin + buttonHeight + margin;
    height = std::min(height, areaHeight - 2);

    const int top = captionHeight + margin;
    s.iconRect = RECT{margin, top, margin + iconSize, top + iconSize};
    const int textLeft = margin + iconRoom;
    const int textTop = top + (hasIcon && textHeight < iconSize ? (iconSize - textHeight) / 2 : 0);
    s.textRect = RECT{textLeft, textTop, inner - margin, textTop + textHeight};
    int x = (inner - buttonsWidth) / 2;
    const int buttonTop = height - margin - buttonHeight;
    for (Button& b : s.buttons) {
        const int width = b.rect.right;
        b.rect = RECT{x, buttonTop, x + width, buttonTop + buttonHeight};
        x += width + buttonGap;
    }
    const int outerWidth = inner + 2;
    const int outerHeight = height + 2;
    const int left = area.left + (areaWidth - outerWidth) / 2;
    const int topEdge = area.top + (areaHeight - outerHeight) / 2;
    SetWindowPos(box, nullptr, left, topEdge, outerWidth, outerHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT keyDown(HWND box, BoxState& s, WPARAM key)
{
    switch (key) {
    case VK_LEFT:
    case VK_UP:
        moveFocus(box, s, -1);
        return 0;
    case VK_RIGHT:
    case VK_DOWN:
        moveFocus(box, s, 1);
        return 0;
    case VK_TAB:
        moveFocus(box, s, GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
        return 0;
    case VK_RETURN:
    case VK_SPACE:
        answer(box, s, s.buttons[static_cast<size_t>(s.focus)].id);
        return 0;
    case VK_ESCAPE:
        answer(box, s, cancelAnswer(s));
        return 0;
    default:
        return 0;
    }
}

int presenterHandler(HWND owner, std::u16string_view text, std::u16string_view caption, UINT style)
{
    return showMessageBox(owner, text, caption, style);
}

using HandlerPointer = int (*)(HWND, std::u16string_view, std::u16string_view, UINT);

bool isPresenterHandler(const emu::MessageBoxHandler& handler)
{
    const HandlerPointer* target = handler.target<HandlerPointer>();
    return target != nullptr && *target == &presenterHandler;
}

} // namespace

LRESULT CALLBACK messageBoxProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    BoxState* s = stateOf(hWnd);
    if (s == nullptr)
        return DefDlgProcW(hWnd, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        paint(hWnd, *s);
        return 0;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(hWnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_WINDOW));
        return 1;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && GetFocus() != hWnd)
            SetFocus(hWnd);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        invalidateButtons(hWnd, *s);
        return 0;
    case WM_KEYDOWN:
        return keyDown(hWnd, *s, wParam);
    case WM_CHAR: {
        const char16_t typed = upper(static_cast<char16_t>(wParam));
        for (const Button& b : s->buttons)
            if (keyLetterOf(b.label) == typed && typed != 0) {
                answer(hWnd, *s, b.id);
                return 0;
            }
        return 0;
    }
    case WM_LBUTTONDOWN: {
        const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const int hit = buttonAt(*s, p);
        if (hit >= 0) {
            invalidateButtons(hWnd, *s);
            s->pressed = hit;
            s->pressedInside = true;
            s->focus = hit;
            SetCapture(hWnd);
        }
        return 0;
    }
    case WM_MOUSEMOVE:
        if (s->pressed >= 0) {
            const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            const bool inside = buttonAt(*s, p) == s->pressed;
            if (inside != s->pressedInside) {
                s->pressedInside = inside;
                InvalidateRect(hWnd, &s->buttons[static_cast<size_t>(s->pressed)].rect, TRUE);
            }
        }
        return 0;
    case WM_LBUTTONUP:
        if (s->pressed >= 0) {
            const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            const int was = s->pressed;
            s->pressed = -1;
            s->pressedInside = false;
            if (GetCapture() == hWnd)
                ReleaseCapture();
            invalidateButtons(hWnd, *s);
            if (buttonAt(*s, p) == was)
                answer(hWnd, *s, s->buttons[static_cast<size_t>(was)].id);
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (s->pressed >= 0) {
            s->pressed = -1;
            invalidateButtons(hWnd, *s);
        }
        return 0;
    case WM_CLOSE:
        answer(hWnd, *s, cancelAnswer(*s));
        return 0;
    case WM_NCDESTROY:
        SetWindowLongW(hWnd, GWL_USERDATA, 0);
        return DefDlgProcW(hWnd, message, wParam, lParam);
    default:
        return DefDlgProcW(hWnd, message, wParam, lParam);
    }
}

int showMessageBox(HWND owner, std::u16string_view text, std::u16string_view caption, UINT style)
{
    if (owner != nullptr && peekWindow(owner) == nullptr)
        owner = nullptr;
    const HWND top = owner ? topLevelOf(owner) : nullptr;
    BoxState s;
    s.text = std::u16string(text);
    s.caption = std::u16string(caption);
    s.style = style;
    s.buttons = buttonsOf(style);
    const size_t def = (style & MB_DEFMASK) >> 8;
    s.focus = def < s.buttons.size() ? static_cast<int>(def) : 0;
    s.textFont = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, nullptr);
    s.captionFont = CreateFontW(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, nullptr);
    s.iconFont = CreateFontW(-24, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, nullptr);

    DWORD exStyle = WS_EX_DLGMODALFRAME;
    if (style & (MB_TOPMOST | MB_SYSTEMMODAL))
        exStyle |= WS_EX_TOPMOST;
    HWND box = CreateWindowExW(exStyle, u"#MessageBox", s.caption.c_str(), WS_POPUP | WS_BORDER, 0, 0, 100, 100, top,
                               nullptr, nullptr, nullptr);
    int result = 0;
    if (box != nullptr) {
        SetWindowLongW(box, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&s));
        layOut(box, s);
        // MB_TASKMODAL with no owner: every top-level window of the program waits.
        std::vector<HWND> disabled;
        if (top == nullptr && (style & MB_TASKMODAL)) {
            for (HWND h : desktopWindow().children)
                if (h != box && IsWindowEnabled(h))
                    disabled.push_back(h);
            for (HWND h : disabled)
                EnableWindow(h, FALSE);
        }
        result = static_cast<int>(runModalDialog(box, top));
        for (HWND h : disabled)
            if (peekWindow(h) != nullptr)
                EnableWindow(h, TRUE);
        if (result == 0)
            result = s.answer != 0 ? s.answer : cancelAnswer(s);
        if (result == 0)
            result = emu::defaultMessageBoxAnswer(style);
    } else {
        result = emu::defaultMessageBoxAnswer(style);
    }
    DeleteObject(s.textFont);
    DeleteObject(s.captionFont);
    DeleteObject(s.iconFont);
    return result;
}

void setPresenterActive(bool active)
{
    UiState& st = uiState();
    st.presenterActive = active;
    emu::MessageBoxHandler current = emu::setMessageBoxHandler(nullptr);
    if (active) {
        // A handler that is there already (the test driver's) keeps seeing every box.
        if (current)
            emu::setMessageBoxHandler(std::move(current));
        else
            emu::setMessageBoxHandler(presenterHandler);
    } else if (current && !isPresenterHandler(current)) {
        emu::setMessageBoxHandler(std::move(current));
    }
}

bool presenterActive() { return uiState().presenterActive; }

} // namespace ui
