// What every standard control shares: its state record kept in the window's extra bytes, the
// notifications it sends its parent, and the Pocket PC look (font, colours, frames).
#pragma once

#include "win32.h"
#include "win32/controls.h"

#include <optional>
#include <string>
#include <string_view>

namespace controls {

// Each control class reserves one pointer of window extra bytes for its state record.
constexpr int stateExtraBytes = static_cast<int>(sizeof(void*));

template <class State>
State* stateOf(HWND window)
{
    return reinterpret_cast<State*>(GetWindowLongW(window, 0));
}

template <class State>
State* attachState(HWND window)
{
    auto* state = new State{};
    SetWindowLongW(window, 0, reinterpret_cast<LONG_PTR>(state));
    return state;
}

template <class State>
void detachState(HWND window)
{
    delete stateOf<State>(window);
    SetWindowLongW(window, 0, 0);
}

// Registers a control class whose windows keep their state record in `extraBytes` window bytes.
void registerControlClass(LPCWSTR name, WNDPROC procedure, UINT style, int extraBytes);

LONG windowStyle(HWND window);
int controlId(HWND window);
// WM_COMMAND to the parent with the control's id and the code in the high word.
void notifyCommand(HWND control, int code);
// WM_NOTIFY to the parent; fills the header's window, id and code. Answers the parent's result.
LRESULT notifyParent(HWND control, NMHDR& header, UINT code);
// Asks the parent for the colours of the control (WM_CTLCOLOR...); answers the brush to fill
// the background with (the default when the parent answers none).
HBRUSH askColours(HWND control, HDC dc, UINT message, HBRUSH fallback);

// The text a control shows: 9 points of DejaVu Sans unless WM_SETFONT gave another.
HFONT standardFont();
HFONT fontOrStandard(HFONT font);
// Line height of the font: its character height plus one pixel of leading on each side.
int lineHeight(HDC dc, HFONT font);
int textWidth(HDC dc, std::u16string_view text);

// Pocket PC look.
COLORREF frameColour();           // 1-pixel frames
COLORREF selectionColour();       // blue band behind selected lines
COLORREF selectionTextColour();
COLORREF disabledTextColour();
void drawFrame(HDC dc, const RECT& rect, COLORREF colour);
void fillSolid(HDC dc, const RECT& rect, COLORREF colour);

// The frame of a control: WS_BORDER is one pixel all round, drawn by the control itself; scroll
// bars lie inside the client area. For WM_NCCALCSIZE and WM_NCPAINT.
LRESULT clientInsideFrame(HWND window, LPARAM lParam);
void paintFrame(HWND window);

// The messages every control answers alike, taken before its own switch: the state record made
// on WM_NCCREATE and freed on WM_NCDESTROY (both go on to DefWindowProcW, which keeps the window
// text), the frame drawn by the control itself, and no erasing apart from WM_PAINT, which fills
// the whole client area. A window without its record (none yet, or freed already) is left to
// DefWindowProcW. Answers nothing for every other message: the control's own switch takes it,
// with `state` the record (looked up once a message).
template <class State>
std::optional<LRESULT> answerCommonMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, State*& state)
{
    switch (message) {
    case WM_NCCREATE:
        attachState<State>(window);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_NCDESTROY:
        detachState<State>(window);
        return DefWindowProcW(window, message, wParam, lParam);
    default:
        break;
    }
    state = stateOf<State>(window);
    if (state == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_NCCALCSIZE:
        return clientInsideFrame(window, lParam);
    case WM_NCPAINT:
        paintFrame(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return std::nullopt;
    }
}

// Window text as a string (WM_GETTEXT of the window itself).
std::u16string windowText(HWND window);
// Copies text into a caller's buffer of `capacity` characters, cut and terminated as
// WM_GETTEXT does; answers the characters copied.
int copyText(std::u16string_view text, LPWSTR buffer, int capacity);

// The stylus moved far enough from where it went down to count as a drag, not a tap.
constexpr int dragThreshold = 5;
bool movedBeyondTap(POINT down, POINT now);

inline POINT pointFromLParam(LPARAM lParam)
{
    return POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
}

}  // namespace controls
