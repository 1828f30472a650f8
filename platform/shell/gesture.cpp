// Tap-and-hold. The call runs its own short loop while the stylus is held: other messages are
// handled as usual, stylus moves within the tolerance are swallowed, and anything else the stylus
// does ends the wait with the message left for the caller.
#include "platform/shell/shell_state.h"

#include "platform/gdi/screen.h"
#include "platform/ui/input.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

constexpr int tolerance = 5;
constexpr DWORD shortHoldMs = 500;
constexpr DWORD longHoldMs = 1000;
constexpr int dotCount = 8;
constexpr int ringRadius = 11;
constexpr int dotSize = 4;

// The offsets of the ring's dots, clockwise from the top.
constexpr POINT ring[dotCount] = {{0, -11}, {8, -8}, {11, 0}, {8, 8}, {0, 11}, {-8, 8}, {-11, 0}, {-8, -8}};

// The red dots that fill in around the stylus while it is held, and what lay under them.
struct HoldDots {
    POINT centre{};
    bool animate = true;
    int shown = 0;
    RECT area{};
    std::vector<uint32_t> saved;

    DWORD dueAt(int dot, DWORD holdMs) const { return holdMs * static_cast<DWORD>(2 + dot) / 10; }

    void save()
    {
        const gdi::Framebuffer& screen = gdi::screen();
        const int reach = ringRadius + dotSize;
        area = RECT{std::max(0, static_cast<int>(centre.x) - reach), std::max(0, static_cast<int>(centre.y) - reach),
                    std::min(screen.width, static_cast<int>(centre.x) + reach + 1),
                    std::min(screen.height, static_cast<int>(centre.y) + reach + 1)};
        saved.clear();
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                saved.push_back(screen.pixels[static_cast<size_t>(y) * static_cast<size_t>(screen.width) + static_cast<size_t>(x)]);
    }

    void draw(int count)
    {
        HDC dc = GetDC(nullptr);
        HBRUSH red = CreateSolidBrush(RGB(230, 0, 0));
        for (int i = 0; i < count; ++i) {
            const int x = centre.x + ring[i].x - dotSize / 2;
            const int y = centre.y + ring[i].y - dotSize / 2;
            const RECT across{x, y + 1, x + dotSize, y + dotSize - 1};
            const RECT down{x + 1, y, x + dotSize - 1, y + dotSize};
            FillRect(dc, &across, red);
            FillRect(dc, &down, red);
        }
        DeleteObject(red);
        ReleaseDC(nullptr, dc);
    }

    // Dots due by now appear; the whole ring is drawn again, as painting may have covered it.
    void update(DWORD elapsed, DWORD holdMs)
    {
        if (!animate) return;
        int due = 0;
        while (due < dotCount && elapsed >= dueAt(due, holdMs)) ++due;
        if (due == shown) return;
        if (shown == 0) save();
        shown = due;
        draw(shown);
    }

    DWORD nextStep(DWORD elapsed, DWORD holdMs) const
    {
        if (!animate || shown >= dotCount) return holdMs > elapsed ? holdMs - elapsed : 0;
        const DWORD due = dueAt(shown, holdMs);
        return due > elapsed ? due - elapsed : 0;
    }

    void erase()
    {
        if (shown == 0) return;
        gdi::Framebuffer& screen = gdi::screen();
        size_t i = 0;
        if (area.right <= screen.width && area.bottom <= screen.height)
            for (int y = area.top; y < area.bottom; ++y)
                for (int x = area.left; x < area.right; ++x)
                    screen.pixels[static_cast<size_t>(y) * static_cast<size_t>(screen.width) + static_cast<size_t>(x)] = saved[i++];
        exposeUnder(area);
        shown = 0;
    }

    // Whatever painted itself under the dots meanwhile paints again over the restored pixels.
    static void exposeUnder(const RECT& screenArea)
    {
        struct Expose {
            static BOOL CALLBACK one(HWND window, LPARAM lParam)
            {
                const RECT& target = *reinterpret_cast<const RECT*>(lParam);
                if (!IsWindowVisible(window)) return TRUE;
                RECT client{};
                GetClientRect(window, &client);
                POINT origin{0, 0};
                ClientToScreen(window, &origin);
                OffsetRect(&client, origin.x, origin.y);
                RECT common{};
                if (IntersectRect(&common, &client, &target)) {
                    OffsetRect(&common, -origin.x, -origin.y);
                    InvalidateRect(window, &common, TRUE);
                }
                return TRUE;
            }
            static BOOL CALLBACK top(HWND window, LPARAM lParam)
            {
                one(window, lParam);
                EnumChildWindows(window, &Expose::one, lParam);
                return TRUE;
            }
        };
        RECT copy = screenArea;
        EnumWindows(&Expose::top, reinterpret_cast<LPARAM>(&copy));
    }
};

bool withinTolerance(POINT a, POINT b) { return std::abs(a.x - b.x) <= tolerance && std::abs(a.y - b.y) <= tolerance; }

void askProgramToEnd()
{
    struct Close {
        static BOOL CALLBACK one(HWND window, LPARAM)
        {
            if (!shell::isShellWindow(window) && IsWindowVisible(window) && IsWindowEnabled(window))
                PostMessageW(window, WM_CLOSE, 0, 0);
            return TRUE;
        }
    };
    EnumWindows(&Close::one, 0);
}

// Waits as the message loop does when nothing is queued: in the input source's idle handler.
// False when the host asked the program to end meanwhile.
bool waitForInput(DWORD maxWaitMs)
{
    const ui::IdleHandler handler = ui::setIdleHandler(nullptr);
    ui::setIdleHandler(handler);
    int wait = static_cast<int>(maxWaitMs);
    const int timer = ui::msUntilNextTimer();
    if (timer >= 0 && timer < wait) wait = timer;
    if (handler != nullptr) return handler(wait);
    std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    return true;
}

enum class HoldEnd { held, cancelled };

HoldEnd waitForHold(POINT down, DWORD holdMs, HoldDots& dots)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg{};
        if (PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE)) {
            if (msg.message != WM_MOUSEMOVE || !withinTolerance(msg.pt, down)) return HoldEnd::cancelled;
            PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE);
            continue;
        }
        // Lifted where no window takes the stylus: nothing was queued, but the hold is over.
        if (GetAsyncKeyState(VK_LBUTTON) >= 0) return HoldEnd::cancelled;
        const DWORD elapsed = GetTickCount() - start;
        dots.update(elapsed, holdMs);
        if (elapsed >= holdMs) return HoldEnd::held;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return HoldEnd::cancelled;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            continue;
        }
        if (!waitForInput(std::max<DWORD>(dots.nextStep(elapsed, holdMs), 1))) {
            askProgramToEnd();
            return HoldEnd::cancelled;
        }
    }
}

}  // namespace

DWORD WINAPI SHRecognizeGesture(SHRGINFO* shrg)
{
    if (shrg == nullptr || shrg->cbSize != sizeof(SHRGINFO) || !IsWindow(shrg->hwndClient)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const HWND client = shrg->hwndClient;
    const DWORD flags = shrg->dwFlags;
    POINT down = shrg->ptDown;
    ClientToScreen(client, &down);
    HoldDots dots;
    dots.centre = down;
    dots.animate = !(flags & SHRG_NOANIMATION);
    const HoldEnd end = waitForHold(down, (flags & SHRG_LONGDELAY) ? longHoldMs : shortHoldMs, dots);
    dots.erase();
    if (end != HoldEnd::held) return 0;
    if (!(flags & SHRG_RETURNCMD) && IsWindow(client)) {
        const HWND target = (flags & SHRG_NOTIFYPARENT) ? GetParent(client) : client;
        NMRGINFO info{};
        info.hdr.hwndFrom = client;
        info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(client));
        info.hdr.code = GN_CONTEXTMENU;
        info.ptAction = down;
        if (IsWindow(target)) SendMessageW(target, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    }
    return GN_CONTEXTMENU;
}
