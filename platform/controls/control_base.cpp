#include "platform/controls/control_base.h"

#include <algorithm>

namespace controls {

void registerControlClass(LPCWSTR name, WNDPROC procedure, UINT style, int extraBytes)
{
    WNDCLASSW wc{};
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.cbWndExtra = extraBytes;
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

LONG windowStyle(HWND window)
{
    return static_cast<LONG>(GetWindowLongW(window, GWL_STYLE));
}

int controlId(HWND window)
{
    return static_cast<int>(GetWindowLongW(window, GWL_ID));
}

void notifyCommand(HWND control, int code)
{
    HWND parent = GetParent(control);
    if (parent == nullptr)
        return;
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(controlId(control), code), reinterpret_cast<LPARAM>(control));
}

LRESULT notifyParent(HWND control, NMHDR& header, UINT code)
{
    header.hwndFrom = control;
    header.idFrom = static_cast<UINT_PTR>(controlId(control));
    header.code = code;
    HWND parent = GetParent(control);
    if (parent == nullptr)
        return 0;
    return SendMessageW(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

HBRUSH askColours(HWND control, HDC dc, UINT message, HBRUSH fallback)
{
    HWND parent = GetParent(control);
    if (parent == nullptr)
        return fallback;
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    return brush != nullptr ? brush : fallback;
}

HFONT standardFont()
{
    // One font for every control of the program, made on first use and kept to the end.
    static HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, u"Tahoma");
    return font;
}

HFONT fontOrStandard(HFONT font)
{
    return font != nullptr ? font : standardFont();
}

int lineHeight(HDC dc, HFONT font)
{
    HGDIOBJ old = SelectObject(dc, fontOrStandard(font));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    return std::max<int>(metrics.tmHeight + 2, 8);
}

int textWidth(HDC dc, std::u16string_view text)
{
    SIZE size{};
    GetTextExtentPoint32W(dc, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()), &size);
    return size.cx;
}

COLORREF frameColour()
{
    return RGB(0, 0, 0);
}

COLORREF selectionColour()
{
    return GetSysColor(COLOR_HIGHLIGHT);
}

COLORREF selectionTextColour()
{
    return GetSysColor(COLOR_HIGHLIGHTTEXT);
}

COLORREF disabledTextColour()
{
    return GetSysColor(COLOR_GRAYTEXT);
}

void fillSolid(HDC dc, const RECT& rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void drawFrame(HDC dc, const RECT& rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FrameRect(dc, &rect, brush);
    DeleteObject(brush);
}

LRESULT clientInsideFrame(HWND window, LPARAM lParam)
{
    auto* rect = reinterpret_cast<RECT*>(lParam);
    if (rect != nullptr && (GetWindowLongW(window, GWL_STYLE) & WS_BORDER))
        InflateRect(rect, -1, -1);
    return 0;
}

void paintFrame(HWND window)
{
    if (!(GetWindowLongW(window, GWL_STYLE) & WS_BORDER))
        return;
    RECT rect{};
    GetWindowRect(window, &rect);
    OffsetRect(&rect, -rect.left, -rect.top);
    HDC dc = GetWindowDC(window);
    drawFrame(dc, rect, frameColour());
    ReleaseDC(window, dc);
}

std::u16string windowText(HWND window)
{
    int length = static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    if (length <= 0)
        return {};
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    int copied = static_cast<int>(
        SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(length + 1), reinterpret_cast<LPARAM>(text.data())));
    text.resize(static_cast<size_t>(std::clamp(copied, 0, length)));
    return text;
}

int copyText(std::u16string_view text, LPWSTR buffer, int capacity)
{
    if (buffer == nullptr || capacity <= 0)
        return 0;
    int count = std::min<int>(static_cast<int>(text.size()), capacity - 1);
    std::copy_n(text.data(), count, buffer);
    buffer[count] = u'\0';
    return count;
}

bool movedBeyondTap(POINT down, POINT now)
{
    return std::abs(now.x - down.x) > dragThreshold || std::abs(now.y - down.y) > dragThreshold;
}

}  // namespace controls
