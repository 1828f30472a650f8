#include "shell/screen_frame.h"

#include "ce.h"
#include "shell/button_bar.h"
#include "shell/shell_state.h"

void contentRect(HWND window, RECT& rect)
{
    GetClientRect(window, &rect);
    rect.bottom -= buttonBar.height;
}

int setInputPanel(HWND window, int mode)
{
    SIPINFO info = {};
    info.cbSize = sizeof info;
    if (!SipGetInfo(&info))
        return 0;
    const bool shown = (info.fdwFlags & SIPF_ON) != 0;
    if (mode == inputPanelQuery)
        return shown ? 1 : 0;
    if (mode == inputPanelLower) {
        if (shown) {
            info.fdwFlags &= ~static_cast<DWORD>(SIPF_ON);
            SipSetInfo(&info);
        }
        SHSipPreference(window, SIP_FORCEDOWN);
        shellState.inputPanelUp = false;
        return 0;
    }
    if (!shown) {
        info.fdwFlags |= SIPF_ON;
        SipSetInfo(&info);
    }
    SHSipPreference(window, SIP_UP);
    shellState.inputPanelUp = true;
    return 0;
}

int showSystemError(LPCWSTR caption, bool force)
{
    const DWORD error = GetLastError();
    if (error == 0 && !force)
        return 0;
    LPWSTR text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    MessageBoxW(shellState.mainWindow, text != nullptr ? text : W(""), caption, MB_OK | MB_ICONSTOP);
    if (text != nullptr)
        LocalFree(text);
    return -1;
}

bool pumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

void fillGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom, bool gradient)
{
    if (gradient) {
        TRIVERTEX vertices[2] = {};
        vertices[0].x = rect.left;
        vertices[0].y = rect.top;
        vertices[0].Red = static_cast<COLOR16>(GetRValue(top) << 8);
        vertices[0].Green = static_cast<COLOR16>(GetGValue(top) << 8);
        vertices[0].Blue = static_cast<COLOR16>(GetBValue(top) << 8);
        vertices[1].x = rect.right;
        vertices[1].y = rect.bottom;
        vertices[1].Red = static_cast<COLOR16>(GetRValue(bottom) << 8);
        vertices[1].Green = static_cast<COLOR16>(GetGValue(bottom) << 8);
        vertices[1].Blue = static_cast<COLOR16>(GetBValue(bottom) << 8);
        GRADIENT_RECT joined = {0, 1};
        if (GradientFill(dc, vertices, 2, &joined, 1, GRADIENT_FILL_RECT_V))
            return;
    }
    const COLORREF average = RGB((GetRValue(top) + GetRValue(bottom)) / 2, (GetGValue(top) + GetGValue(bottom)) / 2,
                                 (GetBValue(top) + GetBValue(bottom)) / 2);
    HBRUSH brush = CreateSolidBrush(average);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void hideShellBars(HWND window)
{
    SHFullScreen(window, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON);
}
