// The one message queue: posting, sending, retrieving in the platform's order, and waiting in
// the input source's idle handler when there is nothing to do.
#include "platform/ui/foreign_windows.h"
#include "platform/ui/ui_state.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace ui {

namespace {

const HWND broadcast = reinterpret_cast<HWND>(static_cast<uintptr_t>(0xFFFF));

bool inRange(UINT message, UINT low, UINT high)
{
    if (low == 0 && high == 0)
        return true;
    return message >= low && message <= high;
}

bool forWindow(HWND target, HWND filter)
{
    if (filter == nullptr)
        return true;
    return target == filter || IsChild(filter, target);
}

void stamp(MSG& msg)
{
    UiState& s = uiState();
    msg.time = GetTickCount();
    msg.pt = s.cursorPos;
}

bool takeMessage(MSG& msg, HWND filter, UINT low, UINT high, bool remove)
{
    UiState& s = uiState();
    for (auto it = s.posted.begin(); it != s.posted.end(); ++it) {
        if (inRange(it->message, low, high) && forWindow(it->hwnd, filter)) {
            msg = *it;
            if (remove) {
                s.posted.erase(it);
                keyMessageTaken(msg);
            }
            return true;
        }
    }
    if (s.quitPosted && inRange(WM_QUIT, low, high)) {
        msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(s.quitCode), 0, 0, {}};
        stamp(msg);
        if (remove)
            s.quitPosted = false;
        return true;
    }
    if (inRange(WM_PAINT, low, high)) {
        // A window whose frame alone needs drawing gets its WM_NCPAINT here and no WM_PAINT.
        while (Window* w = windowNeedingPaint(filter)) {
            if (!w->invalid.empty()) {
                msg = MSG{w->handle, WM_PAINT, 0, 0, 0, {}};
                stamp(msg);
                return true;
            }
            w->frameDirty = false;
            sendTo(*w, WM_NCPAINT, 1, 0);
        }
    }
    if (inRange(WM_TIMER, low, high) && takeDueTimer(filter, remove, msg)) {
        stamp(msg);
        return true;
    }
    return false;
}

void closeTopLevels()
{
    const std::vector<HWND> tops = desktopWindow().children;
    bool sent = false;
    for (HWND h : tops) {
        Window* w = peekWindow(h);
        if (w == nullptr || !(w->style & WS_VISIBLE) || (w->style & WS_DISABLED))
            continue;
        sent = true;
        sendTo(*w, WM_CLOSE, 0, 0);
    }
    if (!sent)
        PostQuitMessage(0);
}

void waitForInput()
{
    // What another process asked for may have queued work of its own.
    if (serveOtherProcesses())
        return;
    UiState& s = uiState();
    const int wait = msUntilNextTimer();
    if (s.idle != nullptr) {
        if (!s.idle(wait))
            closeTopLevels();
        return;
    }
    if (wait >= 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
        return;
    }
    // Nobody can ever deliver input: end the program rather than hang.
    if (!s.closedForLackOfInput) {
        s.closedForLackOfInput = true;
        closeTopLevels();
    } else {
        PostQuitMessage(0);
    }
}

BOOL getMessage(LPMSG lpMsg, HWND hWnd, UINT low, UINT high)
{
    if (lpMsg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (hWnd != nullptr && windowOf(hWnd) == nullptr)
        return -1;
    UiState& s = uiState();
    for (;;) {
        if (takeMessage(*lpMsg, hWnd, low, high, true)) {
            s.lastMessageTime = lpMsg->time;
            s.lastMessagePos = lpMsg->pt;
            return lpMsg->message != WM_QUIT;
        }
        waitForInput();
    }
}

BOOL peekMessage(LPMSG lpMsg, HWND hWnd, UINT low, UINT high, UINT flags)
{
    if (lpMsg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (hWnd != nullptr && windowOf(hWnd) == nullptr)
        return FALSE;
    if (!takeMessage(*lpMsg, hWnd, low, high, (flags & PM_REMOVE) != 0))
        return FALSE;
    uiState().lastMessageTime = lpMsg->time;
    uiState().lastMessagePos = lpMsg->pt;
    return TRUE;
}

WCHAR characterOfKey(WPARAM key)
{
    switch (key) {
    case VK_BACK:
        return 8;
    case VK_TAB:
        return 9;
    case VK_RETURN:
        return 13;
    case VK_ESCAPE:
        return 27;
    default:
        break;
    }
    if (key >= 'A' && key <= 'Z' && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0)
        return static_cast<WCHAR>(key - 'A' + 1);
    return 0;
}

} // namespace

LRESULT sendTo(Window& w, UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND handle = w.handle;
    const WNDPROC proc = w.proc;
    const LRESULT result = proc == nullptr ? DefWindowProcW(handle, message, wParam, lParam)
                                           : proc(handle, message, wParam, lParam);
    if (message == WM_SETTEXT)
        publishTopLevel(handle);
    return result;
}

void postInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    UiState& s = uiState();
    s.closedForLackOfInput = false;
    // Moves that nobody has read yet are merged, as the platform does.
    if (message == WM_MOUSEMOVE && !s.posted.empty() && s.posted.back().message == WM_MOUSEMOVE &&
        s.posted.back().hwnd == window) {
        s.posted.back().wParam = wParam;
        s.posted.back().lParam = lParam;
        stamp(s.posted.back());
        return;
    }
    MSG msg{window, message, wParam, lParam, 0, {}};
    stamp(msg);
    s.posted.push_back(msg);
}

void dropMessagesOf(HWND window)
{
    auto& q = uiState().posted;
    // Key messages nobody will read still move the key state on.
    for (const MSG& m : q)
        if (m.hwnd == window)
            keyMessageTaken(m);
    q.erase(std::remove_if(q.begin(), q.end(), [window](const MSG& m) { return m.hwnd == window; }), q.end());
}

bool runModalLoop(HWND window, bool (*finished)(HWND), bool dialogKeys)
{
    while (!finished(window)) {
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (got == -1)
            return false;
        if (dialogKeys && IsDialogMessageW(window, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

IdleHandler setIdleHandler(IdleHandler handler)
{
    IdleHandler previous = uiState().idle;
    uiState().idle = handler;
    return previous;
}

bool queueIsIdle()
{
    const UiState& s = uiState();
    return s.posted.empty() && !s.quitPosted && !anyWindowNeedsPaint() && !anyTimerDue();
}

} // namespace ui

using ui::peekWindow;
using ui::Window;
using ui::windowOf;

BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax)
{
    return ui::getMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax);
}

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax)
{
    return ui::getMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax);
}

BOOL WINAPI PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg)
{
    return ui::peekMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg);
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg)
{
    return ui::peekMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg);
}

BOOL WINAPI TranslateMessage(const MSG* lpMsg)
{
    if (lpMsg == nullptr)
        return FALSE;
    switch (lpMsg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const WCHAR ch = ui::characterOfKey(lpMsg->wParam);
        if (ch != 0) {
            // Right after its key, before anything queued behind the key.
            const UINT message = lpMsg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
            MSG character{lpMsg->hwnd, message, ch, lpMsg->lParam, lpMsg->time, lpMsg->pt};
            ui::uiState().posted.push_front(character);
        }
        return TRUE;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT WINAPI DispatchMessageW(const MSG* lpMsg)
{
    if (lpMsg == nullptr)
        return 0;
    if (lpMsg->message == WM_TIMER && lpMsg->lParam != 0) {
        auto proc = reinterpret_cast<TIMERPROC>(lpMsg->lParam);
        proc(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, GetTickCount());
        return 0;
    }
    if (lpMsg->hwnd == nullptr)
        return 0;
    Window* w = windowOf(lpMsg->hwnd);
    if (w == nullptr)
        return 0;
    return ui::sendTo(*w, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) { return DispatchMessageW(lpMsg); }

BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    ui::UiState& s = ui::uiState();
    if (hWnd == ui::broadcast) {
        for (HWND top : ui::desktopWindow().children)
            s.posted.push_back(MSG{top, Msg, wParam, lParam, GetTickCount(), s.cursorPos});
        return TRUE;
    }
    if (hWnd != nullptr && windowOf(hWnd) == nullptr)
        return FALSE;
    s.posted.push_back(MSG{hWnd, Msg, wParam, lParam, GetTickCount(), s.cursorPos});
    return TRUE;
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return PostMessageW(hWnd, Msg, wParam, lParam);
}

LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (hWnd == ui::broadcast) {
        const std::vector<HWND> tops = ui::desktopWindow().children;
        for (HWND top : tops)
            if (Window* w = peekWindow(top))
                ui::sendTo(*w, Msg, wParam, lParam);
        return 0;
    }
    Window* w = windowOf(hWnd);
    if (w == nullptr)
        return 0;
    return ui::sendTo(*w, Msg, wParam, lParam);
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return SendMessageW(hWnd, Msg, wParam, lParam);
}

void WINAPI PostQuitMessage(int nExitCode)
{
    ui::UiState& s = ui::uiState();
    s.quitPosted = true;
    s.quitCode = nExitCode;
}

LRESULT WINAPI CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (lpPrevWndFunc == nullptr)
        return 0;
    return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}

DWORD WINAPI GetMessagePos(void)
{
    const POINT p = ui::uiState().lastMessagePos;
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
}

LONG WINAPI GetMessageTime(void) { return static_cast<LONG>(ui::uiState().lastMessageTime); }
