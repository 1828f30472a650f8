// The window manager: creation and destruction, showing, moving and sizing, activation and
// focus, paint and erase order, timers, posted against sent messages, WM_QUIT in a nested loop.
#include "conformance/cases.h"
#include "conformance/record.h"

namespace conformance {

namespace {

void creationAndDestruction()
{
    beginCase("window.create");
    HWND top = createFrame("top", WS_POPUP, 10, 10, 200, 150);
    fact("created %s visible=%d", top != nullptr ? "yes" : "no", IsWindowVisible(top) ? 1 : 0);
    HWND child = createChild("child", frameClassName, CW(""), WS_VISIBLE, 5, 5, 50, 40, top, 11);
    fact("child visible=%d parent=%s", IsWindowVisible(child) ? 1 : 0, windowLabel(GetParent(child)).c_str());

    beginCase("window.show");
    fact("ShowWindow -> %d", ShowWindow(top, SW_SHOW) ? 1 : 0);
    fact("ShowWindow again -> %d", ShowWindow(top, SW_SHOW) ? 1 : 0);
    fact("visible=%d focus=%s active=%s", IsWindowVisible(top) ? 1 : 0, windowLabel(GetFocus()).c_str(),
         windowLabel(GetActiveWindow()).c_str());
    pump();

    beginCase("window.move");
    fact("MoveWindow -> %d", MoveWindow(top, 20, 30, 180, 120, TRUE) ? 1 : 0);
    fact("SetWindowPos move only -> %d", SetWindowPos(top, nullptr, 25, 35, 0, 0, SWP_NOSIZE | SWP_NOZORDER) ? 1 : 0);
    fact("SetWindowPos size only -> %d", SetWindowPos(top, nullptr, 0, 0, 160, 100, SWP_NOMOVE | SWP_NOZORDER) ? 1 : 0);
    fact("SetWindowPos same place -> %d", SetWindowPos(top, nullptr, 25, 35, 160, 100, SWP_NOZORDER) ? 1 : 0);
    RECT rect;
    GetWindowRect(child, &rect);
    POINT corner = {rect.left, rect.top};
    ScreenToClient(top, &corner);
    GetClientRect(top, &rect);
    fact("child at %ld,%ld; client %ldx%ld", static_cast<long>(corner.x), static_cast<long>(corner.y),
         static_cast<long>(rect.right), static_cast<long>(rect.bottom));
    pumpQuietly();

    beginCase("window.hide");
    fact("ShowWindow hide -> %d", ShowWindow(top, SW_HIDE) ? 1 : 0);
    fact("child visible=%d own style=%d", IsWindowVisible(child) ? 1 : 0,
         (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0 ? 1 : 0);

    beginCase("window.destroy");
    fact("DestroyWindow -> %d", DestroyWindow(top) ? 1 : 0);
    fact("IsWindow top=%d child=%d", IsWindow(top) ? 1 : 0, IsWindow(child) ? 1 : 0);
    fact("DestroyWindow again -> %d", DestroyWindow(top) ? 1 : 0);
}

void activationAndFocus()
{
    beginCase("window.activate");
    HWND first = createFrame("first", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND second = createFrame("second", WS_POPUP | WS_VISIBLE, 110, 0, 100, 100);
    HWND inner = createChild("inner", frameClassName, CW(""), WS_VISIBLE, 0, 0, 20, 20, first, 12);
    fact("active=%s focus=%s", windowLabel(GetActiveWindow()).c_str(), windowLabel(GetFocus()).c_str());
    fact("SetActiveWindow first -> %s", windowLabel(SetActiveWindow(first)).c_str());
    fact("active=%s focus=%s", windowLabel(GetActiveWindow()).c_str(), windowLabel(GetFocus()).c_str());

    beginCase("window.focus");
    fact("SetFocus inner -> %s", windowLabel(SetFocus(inner)).c_str());
    fact("SetFocus inner again -> %s", windowLabel(SetFocus(inner)).c_str());
    fact("SetActiveWindow second -> %s", windowLabel(SetActiveWindow(second)).c_str());
    fact("focus=%s", windowLabel(GetFocus()).c_str());
    fact("SetFocus inner of inactive -> %s", windowLabel(SetFocus(inner)).c_str());
    fact("active=%s focus=%s", windowLabel(GetActiveWindow()).c_str(), windowLabel(GetFocus()).c_str());

    beginCase("window.destroy.focused");
    DestroyWindow(inner);
    fact("focus=%s active=%s", windowLabel(GetFocus()).c_str(), windowLabel(GetActiveWindow()).c_str());
    DestroyWindow(first);
    fact("focus=%s active=%s", windowLabel(GetFocus()).c_str(), windowLabel(GetActiveWindow()).c_str());
    setRecording(false);
    DestroyWindow(second);
}

void paintOrder()
{
    beginCase("paint.order");
    setRecording(false);
    HWND parent = createFrame("parent", WS_POPUP | WS_VISIBLE, 0, 0, 120, 120);
    HWND child = createChild("child", frameClassName, CW(""), WS_VISIBLE, 10, 10, 40, 40, parent, 13);
    pump();
    setRecording(true);
    RECT update;
    fact("GetUpdateRect after paint -> %d", GetUpdateRect(parent, &update, FALSE) ? 1 : 0);
    InvalidateRect(parent, nullptr, TRUE);
    fact("GetUpdateRect parent -> %d; child -> %d", GetUpdateRect(parent, &update, FALSE) ? 1 : 0,
         GetUpdateRect(child, &update, FALSE) ? 1 : 0);
    pump();

    beginCase("paint.clipchildren");
    SetWindowLongW(parent, GWL_STYLE, GetWindowLongW(parent, GWL_STYLE) | WS_CLIPCHILDREN);
    InvalidateRect(parent, nullptr, TRUE);
    fact("GetUpdateRect parent -> %d; child -> %d", GetUpdateRect(parent, &update, FALSE) ? 1 : 0,
         GetUpdateRect(child, &update, FALSE) ? 1 : 0);
    pump();

    beginCase("paint.child");
    RECT part = {0, 0, 10, 10};
    InvalidateRect(child, &part, FALSE);
    GetUpdateRect(child, &update, FALSE);
    fact("child update %ld,%ld-%ld,%ld", static_cast<long>(update.left), static_cast<long>(update.top),
         static_cast<long>(update.right), static_cast<long>(update.bottom));
    fact("parent has update=%d", GetUpdateRect(parent, nullptr, FALSE) ? 1 : 0);
    fact("UpdateWindow child");
    UpdateWindow(child);
    fact("UpdateWindow done");
    pump();

    beginCase("paint.validate");
    InvalidateRect(parent, nullptr, FALSE);
    ValidateRect(parent, nullptr);
    fact("after ValidateRect update=%d", GetUpdateRect(parent, nullptr, FALSE) ? 1 : 0);
    pump();

    beginCase("paint.hidden");
    ShowWindow(parent, SW_HIDE);
    InvalidateRect(parent, nullptr, TRUE);
    fact("hidden update=%d", GetUpdateRect(parent, nullptr, FALSE) ? 1 : 0);
    pump();
    setRecording(false);
    DestroyWindow(parent);
}

void timers()
{
    beginCase("timer");
    setRecording(false);
    HWND window = createFrame("timed", WS_POPUP, 0, 0, 50, 50);
    setRecording(true);
    fact("SetTimer -> %ld", static_cast<long>(SetTimer(window, 7, 10, nullptr)));
    fact("SetTimer second -> %ld", static_cast<long>(SetTimer(window, 8, 15, nullptr)));
    PostMessageW(window, WM_USER + 1, 0, 0);
    int ticks = 0;
    MSG message;
    while (ticks < 3 && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER) {
            ++ticks;
            // Which of the two timers comes first depends on the clock: print the fact, not the id.
            setRecording(false);
            DispatchMessageW(&message);
            setRecording(true);
            fact("a WM_TIMER");
            if (ticks == 1) {
                fact("KillTimer 8 -> %d", KillTimer(window, 8) ? 1 : 0);
            }
            continue;
        }
        DispatchMessageW(&message);
    }
    fact("KillTimer 7 -> %d", KillTimer(window, 7) ? 1 : 0);
    fact("KillTimer 7 again -> %d", KillTimer(window, 7) ? 1 : 0);
    fact("KillTimer unknown -> %d", KillTimer(window, 99) ? 1 : 0);
    pump();
    setRecording(false);
    DestroyWindow(window);
}

void postedAndSent()
{
    beginCase("message.order");
    setRecording(false);
    HWND window = createFrame("target", WS_POPUP | WS_VISIBLE, 0, 0, 60, 60);
    pump();
    setRecording(true);
    InvalidateRect(window, nullptr, TRUE);
    PostMessageW(window, WM_USER + 1, 1, 0);
    fact("SendMessage -> %ld", static_cast<long>(SendMessageW(window, WM_USER + 2, 2, 0)));
    PostMessageW(window, WM_USER + 3, 3, 0);
    fact("pumping");
    pump();

    beginCase("message.quit");
    PostMessageW(window, WM_USER + 4, 4, 0);
    PostQuitMessage(5);
    PostMessageW(window, WM_USER + 6, 6, 0);
    MSG message;
    int result;
    while ((result = GetMessageW(&message, nullptr, 0, 0)) > 0)
        DispatchMessageW(&message);
    fact("nested GetMessage -> %d wParam=%ld", result, static_cast<long>(message.wParam));
    fact("PeekMessage after quit -> %d", PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) ? 1 : 0);
    setRecording(false);
    DestroyWindow(window);
}

} // namespace

void windowCases()
{
    creationAndDestruction();
    activationAndFocus();
    paintOrder();
    timers();
    postedAndSent();
}

} // namespace conformance
