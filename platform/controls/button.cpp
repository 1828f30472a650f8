// BUTTON: push buttons (flat, 1-pixel frame, 2 pixels for the default one, inverted while
// pressed) and owner-drawn buttons that the parent draws on WM_DRAWITEM. A tap is BN_CLICKED,
// sent after the button has been drawn released again, as on the device.
#include "platform/controls/control_base.h"
#include "platform/controls/control_classes.h"

namespace controls {
namespace {

struct ButtonState {
    HFONT font = nullptr;
    bool pressed = false;   // shown pushed in
    bool tracking = false;  // stylus went down on the button and is still down
    bool spaceDown = false;
    bool focused = false;
};

LONG buttonType(HWND window)
{
    return windowStyle(window) & BS_TYPEMASK;
}

void drawOwnerButton(HWND window, const ButtonState& state, HDC dc, UINT action)
{
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(controlId(window));
    item.itemID = 0;
    item.itemAction = action;
    if (state.pressed)
        item.itemState |= ODS_SELECTED;
    if (!IsWindowEnabled(window))
        item.itemState |= ODS_DISABLED;
    if (state.focused)
        item.itemState |= ODS_FOCUS;
    item.hwndItem = window;
    item.hDC = dc;
    GetClientRect(window, &item.rcItem);
    HWND parent = GetParent(window);
    if (parent != nullptr)
        SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void drawPushButton(HWND window, const ButtonState& state, HDC dc)
{
    RECT client{};
    GetClientRect(window, &client);
    bool enabled = IsWindowEnabled(window);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    HBRUSH face = askColours(window, dc, WM_CTLCOLORBTN, GetSysColorBrush(COLOR_WINDOW));
    if (state.pressed)
        fillSolid(dc, client, frameColour());
    else
        FillRect(dc, &client, face);

    drawFrame(dc, client, frameColour());
    if (buttonType(window) == BS_DEFPUSHBUTTON) {
        RECT inner = client;
        InflateRect(&inner, -1, -1);
        drawFrame(dc, inner, frameColour());
    }

    std::u16string text = windowText(window);
    COLORREF colour = !enabled ? disabledTextColour() : state.pressed ? GetSysColor(COLOR_WINDOW) : GetSysColor(COLOR_BTNTEXT);
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, fontOrStandard(state.font));
    RECT textRect = client;
    InflateRect(&textRect, -3, -2);
    DrawTextW(dc, reinterpret_cast<LPCWSTR>(text.c_str()), static_cast<int>(text.size()), &textRect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);

    if (state.focused && !state.pressed) {
        RECT focus = client;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

void paintButton(HWND window, ButtonState& state)
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    if (buttonType(window) == BS_OWNERDRAW)
        drawOwnerButton(window, state, dc, ODA_DRAWENTIRE);
    else
        drawPushButton(window, state, dc);
    EndPaint(window, &paint);
}

// Pressed state changes draw at once, not at the next paint, so the stylus sees them.
void showPressed(HWND window, ButtonState& state, bool pressed)
{
    if (state.pressed == pressed)
        return;
    state.pressed = pressed;
    HDC dc = GetDC(window);
    if (buttonType(window) == BS_OWNERDRAW)
        drawOwnerButton(window, state, dc, ODA_SELECT);
    else
        drawPushButton(window, state, dc);
    ReleaseDC(window, dc);
    ValidateRect(window, nullptr);
}

void click(HWND window, ButtonState& state)
{
    showPressed(window, state, false);
    notifyCommand(window, BN_CLICKED);
}

bool inside(HWND window, LPARAM lParam)
{
    RECT client{};
    GetClientRect(window, &client);
    return PtInRect(&client, pointFromLParam(lParam)) != FALSE;
}

void stylusDown(HWND window, ButtonState& state)
{
    if (!IsWindowEnabled(window))
        return;
    if (GetFocus() != window)
        SetFocus(window);
    state.tracking = true;
    SetCapture(window);
    showPressed(window, state, true);
}

void stylusMove(HWND window, ButtonState& state, LPARAM lParam)
{
    if (state.tracking)
        showPressed(window, state, inside(window, lParam));
}

void stylusUp(HWND window, ButtonState& state, LPARAM lParam)
{
    if (!state.tracking)
        return;
    state.tracking = false;
    if (GetCapture() == window)
        ReleaseCapture();
    if (inside(window, lParam))
        click(window, state);
    else
        showPressed(window, state, false);
}

LRESULT setButtonStyle(HWND window, WPARAM style, LPARAM redraw)
{
    LONG current = windowStyle(window);
    LONG updated = (current & ~BS_TYPEMASK) | (static_cast<LONG>(style) & BS_TYPEMASK);
    SetWindowLongW(window, GWL_STYLE, updated);
    if (LOWORD(redraw))
        InvalidateRect(window, nullptr, TRUE);
    return 0;
}

LRESULT buttonState(HWND window, const ButtonState& state)
{
    (void)window;
    LRESULT result = 0;
    if (state.pressed)
        result |= BST_PUSHED;
    if (state.focused)
        result |= BST_FOCUS;
    return result;
}

LRESULT dialogCode(HWND window)
{
    LONG type = buttonType(window);
    if (type == BS_DEFPUSHBUTTON)
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    if (type == BS_PUSHBUTTON || type == BS_OWNERDRAW)
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    return DLGC_BUTTON;
}

}  // namespace

LRESULT CALLBACK buttonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ButtonState* state = nullptr;
    if (std::optional<LRESULT> answered = answerCommonMessage(window, message, wParam, lParam, state))
        return *answered;
    switch (message) {
    case WM_PAINT:
        paintButton(window, *state);
        return 0;
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcW(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, TRUE);
        return result;
    }
    case WM_ENABLE:
        if (!wParam) {
            state->tracking = false;
            state->pressed = false;
        }
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_SETFONT:
        state->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->font);
    case WM_SETFOCUS:
        state->focused = true;
        InvalidateRect(window, nullptr, TRUE);
        if (windowStyle(window) & BS_NOTIFY)
            notifyCommand(window, BN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        state->focused = false;
        state->spaceDown = false;
        if (state->pressed && !state->tracking)
            showPressed(window, *state, false);
        InvalidateRect(window, nullptr, TRUE);
        if (windowStyle(window) & BS_NOTIFY)
            notifyCommand(window, BN_KILLFOCUS);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        stylusDown(window, *state);
        return 0;
    case WM_MOUSEMOVE:
        stylusMove(window, *state, lParam);
        return 0;
    case WM_LBUTTONUP:
        stylusUp(window, *state, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        if (state->tracking && reinterpret_cast<HWND>(lParam) != window) {
            state->tracking = false;
            showPressed(window, *state, false);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !state->spaceDown) {
            state->spaceDown = true;
            showPressed(window, *state, true);
        }
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && state->spaceDown) {
            state->spaceDown = false;
            click(window, *state);
        }
        return 0;
    case WM_GETDLGCODE:
        return dialogCode(window);
    case BM_CLICK:
        click(window, *state);
        return 0;
    case BM_GETSTATE:
        return buttonState(window, *state);
    case BM_SETSTATE:
        showPressed(window, *state, wParam != 0);
        return 0;
    case BM_SETSTYLE:
        return setButtonStyle(window, wParam, lParam);
    case BM_GETCHECK:
        return BST_UNCHECKED;
    case BM_SETCHECK:
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace controls
