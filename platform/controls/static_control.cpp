// STATIC: a label. Text alignment from SS_LEFT / SS_CENTER / SS_RIGHT, single-line vertical
// centring with SS_CENTERIMAGE, and taps reported as STN_CLICKED when SS_NOTIFY is set. An SS_ICON
// static shows the icon its text names ("#107" in a dialog template) and takes the icon's size.
#include "platform/controls/control_base.h"
#include "platform/controls/control_classes.h"

namespace controls {
namespace {

struct StaticState {
    HFONT font = nullptr;
    HICON icon = nullptr; // SS_ICON: loaded shared, or the program's own from STM_SETICON
};

// The icon an SS_ICON static is created with: its text names a resource of the creating module.
void loadNamedIcon(HWND window, StaticState& state, const CREATESTRUCTW* create)
{
    if (create == nullptr || create->lpszName == nullptr || create->lpszName[0] == 0)
        return;
    state.icon = LoadIconW(create->hInstance, create->lpszName);
    if (state.icon == nullptr)
        return;
    // As on the platform, the control takes the icon's size unless it centres the image.
    if (!(create->style & SS_CENTERIMAGE))
        SetWindowPos(window, nullptr, 0, 0, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HICON replaceIcon(HWND window, StaticState& state, HICON icon)
{
    const HICON previous = state.icon;
    state.icon = icon;
    InvalidateRect(window, nullptr, TRUE);
    return previous;
}

UINT textFormat(LONG style)
{
    UINT format = DT_NOCLIP;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER:
        format |= DT_CENTER | DT_WORDBREAK;
        break;
    case SS_RIGHT:
        format |= DT_RIGHT | DT_WORDBREAK;
        break;
    case SS_LEFTNOWORDWRAP:
        format |= DT_LEFT | DT_SINGLELINE;
        break;
    default:
        format |= DT_LEFT | DT_WORDBREAK;
        break;
    }
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    // As on the device, centring the "image" of a text control centres one line vertically.
    if (style & SS_CENTERIMAGE)
        format = (format & ~static_cast<UINT>(DT_WORDBREAK)) | DT_SINGLELINE | DT_VCENTER;
    return format;
}

void paintStatic(HWND window, StaticState& state)
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    LONG style = windowStyle(window);

    SetTextColor(dc, GetSysColor(COLOR_STATICTEXT));
    SetBkColor(dc, GetSysColor(COLOR_STATIC));
    HBRUSH brush = askColours(window, dc, WM_CTLCOLORSTATIC, GetSysColorBrush(COLOR_STATIC));
    FillRect(dc, &client, brush);

    UINT type = style & SS_TYPEMASK;
    if (type != SS_ICON && type != SS_BITMAP) {
        std::u16string text = windowText(window);
        if (!IsWindowEnabled(window))
            SetTextColor(dc, disabledTextColour());
        SetBkMode(dc, TRANSPARENT);
        HGDIOBJ oldFont = SelectObject(dc, fontOrStandard(state.font));
        DrawTextW(dc, reinterpret_cast<LPCWSTR>(text.c_str()), static_cast<int>(text.size()), &client,
                  textFormat(style));
        SelectObject(dc, oldFont);
    } else if (type == SS_ICON && state.icon != nullptr) {
        const int x = (style & SS_CENTERIMAGE) ? (client.right - GetSystemMetrics(SM_CXICON)) / 2 : 0;
        const int y = (style & SS_CENTERIMAGE) ? (client.bottom - GetSystemMetrics(SM_CYICON)) / 2 : 0;
        DrawIcon(dc, x, y, state.icon);
    }
    EndPaint(window, &paint);
}

}  // namespace

LRESULT CALLBACK staticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    StaticState* state = nullptr;
    if (std::optional<LRESULT> answered = answerCommonMessage(window, message, wParam, lParam, state))
        return *answered;
    switch (message) {
    case WM_NCHITTEST:
        if (!(windowStyle(window) & SS_NOTIFY))
            return HTTRANSPARENT;
        return HTCLIENT;
    case WM_CREATE:
        if ((windowStyle(window) & SS_TYPEMASK) == SS_ICON)
            loadNamedIcon(window, *state, reinterpret_cast<const CREATESTRUCTW*>(lParam));
        return 0;
    case WM_PAINT:
        paintStatic(window, *state);
        return 0;
    case STM_SETICON:
        return reinterpret_cast<LRESULT>(replaceIcon(window, *state, reinterpret_cast<HICON>(wParam)));
    case STM_GETICON:
        return reinterpret_cast<LRESULT>(state->icon);
    case STM_SETIMAGE:
        if (wParam != IMAGE_ICON)
            return 0;
        return reinterpret_cast<LRESULT>(replaceIcon(window, *state, reinterpret_cast<HICON>(lParam)));
    case STM_GETIMAGE:
        return wParam == IMAGE_ICON ? reinterpret_cast<LRESULT>(state->icon) : 0;
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcW(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, TRUE);
        return result;
    }
    case WM_ENABLE:
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_SETFONT:
        if (state != nullptr)
            state->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return state != nullptr ? reinterpret_cast<LRESULT>(state->font) : 0;
    case WM_LBUTTONDOWN:
        // The device reports the tap when the stylus goes down.
        if (windowStyle(window) & SS_NOTIFY)
            notifyCommand(window, STN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (windowStyle(window) & SS_NOTIFY)
            notifyCommand(window, STN_DBLCLK);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace controls
