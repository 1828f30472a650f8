// A small handheld program for the emulator's own end-to-end runs: a window with a heading, a
// static line and a list, a question on a tap in its upper part, a ticking clock on F1 (so that
// a headless run has something to wait for), Escape to end. Its exit code is 3.
#include "win32.h"
#include "win32/controls.h"

#include <string>

namespace {

constexpr int staticId = 101;
constexpr int listId = 102;
constexpr UINT_PTR clockTimer = 1;

// The program's one window and its clock, as a device program keeps them.
struct DemoState {
    HFONT headingFont = nullptr;
    int ticks = 0;
};

DemoState& demo()
{
    static DemoState state;
    return state;
}

void createChildren(HWND window)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    CreateWindowExW(0, u"STATIC", u"Строка: 0", WS_CHILD | WS_VISIBLE | SS_CENTER, 10, 120, 220, 20, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(staticId)), instance, nullptr);
    HWND list = CreateWindowExW(0, u"LISTBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOTIFY, 10, 150, 220,
                                120, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(listId)), instance, nullptr);
    for (const WCHAR* line : {u"Аптеки", u"Банки", u"Музеи"})
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
}

void paint(HWND window)
{
    PAINTSTRUCT paintInfo;
    HDC dc = BeginPaint(window, &paintInfo);
    RECT client;
    GetClientRect(window, &client);
    HBRUSH background = CreateSolidBrush(RGB(232, 240, 255));
    FillRect(dc, &client, background);
    DeleteObject(background);
    RECT heading = {0, 10, client.right, 100};
    HGDIOBJ previous = SelectObject(dc, demo().headingFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(8, 60, 140));
    DrawTextW(dc, u"Городской справочник\nнажмите здесь", -1, &heading, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, previous);
    EndPaint(window, &paintInfo);
}

void tick(HWND window)
{
    const std::string digits = std::to_string(++demo().ticks);
    std::u16string text = u"Строка: ";
    text.append(digits.begin(), digits.end());
    SetDlgItemTextW(window, staticId, text.c_str());
}

LRESULT CALLBACK demoWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: createChildren(window); return 0;
    case WM_PAINT: paint(window); return 0;
    case WM_LBUTTONUP:
        if (static_cast<short>(HIWORD(lParam)) < 100 &&
            MessageBoxW(window, u"Сохранить?", u"ВОПРОС", MB_YESNO | MB_ICONQUESTION) == IDYES)
            SetWindowTextW(window, u"Сохранено");
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_F1) SetTimer(window, clockTimer, 1000, nullptr);
        if (wParam == VK_ESCAPE) DestroyWindow(window);
        return 0;
    case WM_TIMER:
        if (wParam == clockTimer) tick(window);
        return 0;
    case WM_DESTROY:
        KillTimer(window, clockTimer);
        PostQuitMessage(3);
        return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = demoWindow;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = u"HostDemo";
    if (!RegisterClassW(&windowClass)) return 1;
    demo().headingFont = CreateFontW(-16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, u"Tahoma");
    HWND window = CreateWindowExW(0, u"HostDemo", u"Демо", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                  GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
    if (!window) return 2;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DeleteObject(demo().headingFont);
    return static_cast<int>(message.wParam);
}
