#include "tests/ui/ui_fixture.h"

#include <cstdio>
#include <thread>

namespace ui_test {

UiTest* UiTest::current = nullptr;

std::string messageName(UINT message)
{
    static const std::map<UINT, std::string> names = {
        {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
        {WM_CREATE, "WM_CREATE"},
        {WM_SIZE, "WM_SIZE"},
        {WM_MOVE, "WM_MOVE"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
        {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
        {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
        {WM_NCACTIVATE, "WM_NCACTIVATE"},
        {WM_ACTIVATE, "WM_ACTIVATE"},
        {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_NCPAINT, "WM_NCPAINT"},
        {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_PAINT, "WM_PAINT"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
        {WM_ENABLE, "WM_ENABLE"},
        {WM_CANCELMODE, "WM_CANCELMODE"},
        {WM_TIMER, "WM_TIMER"},
        {WM_COMMAND, "WM_COMMAND"},
        {WM_KEYDOWN, "WM_KEYDOWN"},
        {WM_KEYUP, "WM_KEYUP"},
        {WM_CHAR, "WM_CHAR"},
        {WM_CLOSE, "WM_CLOSE"},
        {WM_QUIT, "WM_QUIT"},
        {WM_GETTEXT, "WM_GETTEXT"},
        {WM_SETTEXT, "WM_SETTEXT"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
        {WM_USER, "WM_USER"},
        {WM_USER + 1, "WM_USER+1"},
        {WM_USER + 2, "WM_USER+2"},
        {WM_APP, "WM_APP"},
    };
    const auto at = names.find(message);
    if (at != names.end())
        return at->second;
    return "0x" + [&] {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%04X", message);
        return std::string(buffer);
    }();
}

void UiTest::SetUp()
{
    gdi::resizeScreen(240, 320);
    ui::resetWindowManager();
    current = this;
    WNDCLASSW wc{};
    wc.lpfnWndProc = loggingProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = u"Logging";
    ASSERT_NE(RegisterClassW(&wc), 0);
    previousIdle = ui::setIdleHandler(idle);
}

void UiTest::TearDown()
{
    ui::resetWindowManager();
    ui::setIdleHandler(previousIdle);
    emu::clearResources();
    current = nullptr;
}

HWND UiTest::create(const std::string& name, DWORD style, int x, int y, int width, int height, HWND parent, int id,
                    DWORD exStyle)
{
    // The name is known before WM_NCCREATE: the creation messages are logged under it.
    nameOf[nullptr] = name;
    HWND window = CreateWindowExW(exStyle, u"Logging", nullptr, style, x, y, width, height, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    nameOf.erase(nullptr);
    if (window != nullptr)
        nameOf[window] = name;
    return window;
}

void UiTest::pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::vector<std::string> UiTest::names(const std::string& window) const
{
    std::vector<std::string> out;
    for (const Seen& s : log) {
        if (window.empty())
            out.push_back(s.window + ":" + messageName(s.message));
        else if (s.window == window)
            out.push_back(messageName(s.message));
    }
    return out;
}

std::vector<std::string> UiTest::only(std::initializer_list<UINT> messages) const
{
    std::vector<std::string> out;
    for (const Seen& s : log)
        for (UINT m : messages)
            if (s.message == m)
                out.push_back(s.window + ":" + messageName(s.message));
    return out;
}

COLORREF UiTest::pixel(int x, int y) const
{
    const gdi::Framebuffer& fb = gdi::screen();
    const uint32_t p = fb.pixels[static_cast<size_t>(y) * static_cast<size_t>(fb.width) + static_cast<size_t>(x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

LRESULT CALLBACK UiTest::loggingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    UiTest* t = current;
    if (t == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    auto named = t->nameOf.find(window);
    if (named == t->nameOf.end())
        named = t->nameOf.find(nullptr);
    const std::string name = named != t->nameOf.end() ? named->second : "?";
    if (message == WM_NCCREATE)
        t->nameOf[window] = name;
    t->log.push_back(Seen{name, message, wParam, lParam});
    const auto handler = t->handlers.find(name);
    if (handler != t->handlers.end()) {
        LRESULT result = 0;
        // A copy: the handler may replace itself.
        const auto call = handler->second;
        if (call(window, message, wParam, lParam, result))
            return result;
    }
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        const auto fill = t->fills.find(name);
        if (fill != t->fills.end()) {
            RECT client;
            GetClientRect(window, &client);
            HBRUSH brush = CreateSolidBrush(fill->second);
            FillRect(dc, &client, brush);
            DeleteObject(brush);
        }
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool UiTest::idle(int maxWaitMs)
{
    UiTest* t = current;
    if (t == nullptr)
        return false;
    if (!t->steps.empty()) {
        const std::function<void()> step = std::move(t->steps.front());
        t->steps.pop_front();
        step();
        return true;
    }
    // Timers still run while no step is left.
    if (maxWaitMs >= 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(maxWaitMs));
        return true;
    }
    t->idleExhausted = true;
    return false;
}

} // namespace ui_test
