// Timers: WM_TIMER is made when a timer is due and nothing else is waiting; a timer that fell
// behind fires once, not once for every period it missed.
#include "platform/ui/ui_state.h"

#include <algorithm>

namespace ui {

namespace {

constexpr UINT minimumPeriod = 10;

// Signed distance, so that the tick counter's wrap-around does not matter.
int32_t msUntil(DWORD due, DWORD now) { return static_cast<int32_t>(due - now); }

bool timerFor(const Timer& t, HWND filter) { return filter == nullptr || t.window == filter || IsChild(filter, t.window); }

} // namespace

bool takeDueTimer(HWND filter, bool remove, MSG& msg)
{
    UiState& s = uiState();
    const DWORD now = GetTickCount();
    Timer* best = nullptr;
    for (Timer& t : s.timers)
        if (msUntil(t.due, now) <= 0 && timerFor(t, filter) && (best == nullptr || msUntil(t.due, best->due) < 0))
            best = &t;
    if (best == nullptr)
        return false;
    msg = MSG{best->window, WM_TIMER, best->id, reinterpret_cast<LPARAM>(best->proc), 0, {}};
    if (remove)
        best->due = now + best->period;
    return true;
}

bool anyTimerDue()
{
    const DWORD now = GetTickCount();
    for (const Timer& t : uiState().timers)
        if (msUntil(t.due, now) <= 0)
            return true;
    return false;
}

void killTimersOf(HWND window)
{
    auto& list = uiState().timers;
    list.erase(std::remove_if(list.begin(), list.end(), [window](const Timer& t) { return t.window == window; }),
               list.end());
}

int msUntilNextTimer()
{
    const DWORD now = GetTickCount();
    int best = -1;
    for (const Timer& t : uiState().timers) {
        const int wait = std::max(0, static_cast<int>(msUntil(t.due, now)));
        if (best < 0 || wait < best)
            best = wait;
    }
    return best;
}

} // namespace ui

UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    ui::UiState& s = ui::uiState();
    if (hWnd != nullptr && ui::windowOf(hWnd) == nullptr)
        return 0;
    const UINT period = std::max(uElapse, ui::minimumPeriod);
    UINT_PTR id = nIDEvent;
    if (hWnd == nullptr) {
        // Timers without a window are told apart by ids the window manager hands out.
        id = s.nextTimerId++;
        if (s.nextTimerId == 0)
            s.nextTimerId = 1;
    }
    for (ui::Timer& t : s.timers) {
        if (t.window == hWnd && t.id == id) {
            t.period = period;
            t.proc = lpTimerFunc;
            t.due = GetTickCount() + period;
            return hWnd ? (id != 0 ? id : 1) : id;
        }
    }
    s.timers.push_back(ui::Timer{hWnd, id, period, lpTimerFunc, GetTickCount() + period});
    return hWnd ? (id != 0 ? id : 1) : id;
}

BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    auto& list = ui::uiState().timers;
    auto at = std::find_if(list.begin(), list.end(),
                           [&](const ui::Timer& t) { return t.window == hWnd && t.id == uIDEvent; });
    if (at == list.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    list.erase(at);
    // A WM_TIMER already taken but not yet handled is not recalled: the platform behaves the same.
    return TRUE;
}
