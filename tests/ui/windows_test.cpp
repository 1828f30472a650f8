// The message order the programs rely on: creation, sizing, showing, painting, focus and
// destruction; posted messages handled after the one being handled; the queue's order.
#include "tests/ui/ui_fixture.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <string_view>

using ::testing::ElementsAre;
using ::testing::IsSupersetOf;

namespace ui_test {
namespace {

// The position of the first `what` in `list` at or after `from`, or -1.
long indexOf(const std::vector<std::string>& list, const std::string& what, long from = 0)
{
    for (long i = from; i < static_cast<long>(list.size()); ++i)
        if (list[static_cast<size_t>(i)] == what)
            return i;
    return -1;
}

TEST_F(UiTest, CreationSendsItsMessagesInThePlatformsOrder)
{
    HWND w = create("main", WS_POPUP, 0, 0, 240, 320);
    ASSERT_NE(w, nullptr);
    EXPECT_THAT(names("main"), ElementsAre("WM_NCCREATE", "WM_NCCALCSIZE", "WM_CREATE", "WM_SIZE", "WM_MOVE"));
    EXPECT_FALSE(IsWindowVisible(w));
}

TEST_F(UiTest, AVisibleWindowIsShownAndActivatedAfterWmCreate)
{
    HWND w = create("main", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    ASSERT_NE(w, nullptr);
    const std::vector<std::string> seen = names("main");
    const long created = indexOf(seen, "WM_CREATE");
    const long shown = indexOf(seen, "WM_SHOWWINDOW");
    const long activated = indexOf(seen, "WM_ACTIVATE");
    const long focused = indexOf(seen, "WM_SETFOCUS");
    const long changed = indexOf(seen, "WM_WINDOWPOSCHANGED");
    ASSERT_GE(created, 0);
    EXPECT_GT(shown, created);
    EXPECT_GT(activated, shown);
    EXPECT_GT(focused, activated);
    EXPECT_GT(changed, shown);
    EXPECT_EQ(GetActiveWindow(), w);
    EXPECT_EQ(GetFocus(), w);
    EXPECT_TRUE(IsWindowVisible(w));
    // Painting waits for the queue: nothing is painted during creation. WM_ERASEBKGND comes from
    // BeginPaint, inside WM_PAINT.
    EXPECT_EQ(indexOf(seen, "WM_PAINT"), -1);
    clearLog();
    pump();
    EXPECT_THAT(names("main"), ElementsAre("WM_PAINT", "WM_ERASEBKGND"));
}

TEST_F(UiTest, CreateStructCarriesTheRequestedGeometryAndAChildGetsItsId)
{
    HWND parent = create("parent", WS_POPUP | WS_VISIBLE, 10, 20, 200, 100);
    HWND child = create("child", WS_CHILD | WS_VISIBLE, 5, 6, 50, 40, parent, 77);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetDlgCtrlID(child), 77);
    EXPECT_EQ(GetParent(child), parent);
    EXPECT_EQ(GetDlgItem(parent, 77), child);
    RECT r;
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 15);
    EXPECT_EQ(r.top, 26);
    EXPECT_EQ(r.right, 65);
    EXPECT_EQ(r.bottom, 66);
    POINT p{0, 0};
    ClientToScreen(child, &p);
    EXPECT_EQ(p.x, 15);
    EXPECT_EQ(p.y, 26);
}

TEST_F(UiTest, MoveWindowSendsChangingThenChangedThenMoveAndSize)
{
    HWND w = create("main", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    pump();
    clearLog();
    ASSERT_TRUE(MoveWindow(w, 10, 20, 150, 120, TRUE));
    EXPECT_THAT(names("main"), ElementsAre("WM_WINDOWPOSCHANGING", "WM_NCCALCSIZE", "WM_WINDOWPOSCHANGED", "WM_MOVE",
                                           "WM_SIZE"));
    const Seen& size = log.back();
    EXPECT_EQ(LOWORD(size.lParam), 150);
    EXPECT_EQ(HIWORD(size.lParam), 120);
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, 150);
    EXPECT_EQ(client.bottom, 120);
    clearLog();
    pump();
    EXPECT_THAT(names("main"), ElementsAre("WM_PAINT", "WM_ERASEBKGND"));
}

TEST_F(UiTest, ABorderedWindowsClientAreaIsInsideItsFrame)
{
    HWND w = create("main", WS_POPUP | WS_BORDER, 0, 0, 100, 60);
    RECT client, window;
    GetClientRect(w, &client);
    GetWindowRect(w, &window);
    EXPECT_EQ(client.right, 98);
    EXPECT_EQ(client.bottom, 58);
    EXPECT_EQ(window.right - window.left, 100);
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    EXPECT_EQ(origin.x, 1);
    EXPECT_EQ(origin.y, 1);
}

TEST_F(UiTest, DestructionGoesDestroyParentFirstAndNcDestroyChildrenFirst)
{
    HWND parent = create("parent", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    HWND child = create("child", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, parent, 1);
    HWND grandchild = create("grandchild", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, child, 2);
    ASSERT_NE(grandchild, nullptr);
    pump();
    clearLog();
    ASSERT_TRUE(DestroyWindow(parent));
    EXPECT_THAT(only({WM_DESTROY, WM_NCDESTROY}),
                ElementsAre("parent:WM_DESTROY", "child:WM_DESTROY", "grandchild:WM_DESTROY",
                            "grandchild:WM_NCDESTROY", "child:WM_NCDESTROY", "parent:WM_NCDESTROY"));
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(grandchild));
    // A dead handle is refused, not used.
    SetLastError(0);
    EXPECT_FALSE(SetWindowTextW(child, u"x"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(UiTest, ChildrenStillExistDuringTheirParentsWmDestroy)
{
    HWND parent = create("parent", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    HWND child = create("child", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, parent, 1);
    bool childAlive = false;
    handlers["parent"] = [&](HWND, UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message == WM_DESTROY)
            childAlive = IsWindow(child) != FALSE;
        return false;
    };
    DestroyWindow(parent);
    EXPECT_TRUE(childAlive);
}

TEST_F(UiTest, OwnedWindowsAreDestroyedBeforeTheirOwner)
{
    HWND owner = create("owner", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    HWND owned = create("owned", WS_POPUP | WS_VISIBLE, 20, 20, 100, 100, owner);
    ASSERT_EQ(GetWindow(owned, GW_OWNER), owner);
    clearLog();
    DestroyWindow(owner);
    EXPECT_THAT(only({WM_DESTROY, WM_NCDESTROY}),
                ElementsAre("owned:WM_DESTROY", "owned:WM_NCDESTROY", "owner:WM_DESTROY", "owner:WM_NCDESTROY"));
}

TEST_F(UiTest, DestroyingTheFocusedChildHandsFocusOnAndMessagesForItAreDropped)
{
    HWND parent = create("parent", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    HWND child = create("child", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, parent, 1);
    SetFocus(child);
    ASSERT_EQ(GetFocus(), child);
    PostMessageW(child, WM_USER, 0, 0);
    DestroyWindow(child);
    EXPECT_EQ(GetFocus(), parent);
    clearLog();
    pump();
    EXPECT_EQ(indexOf(names(), "child:WM_USER"), -1);
}

TEST_F(UiTest, FocusMovesWithKillFocusBeforeSetFocus)
{
    HWND parent = create("parent", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    HWND a = create("a", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, parent, 1);
    HWND b = create("b", WS_CHILD | WS_VISIBLE, 100, 0, 100, 100, parent, 2);
    SetFocus(a);
    clearLog();
    EXPECT_EQ(SetFocus(b), a);
    ASSERT_THAT(only({WM_KILLFOCUS, WM_SETFOCUS}), ElementsAre("a:WM_KILLFOCUS", "b:WM_SETFOCUS"));
    EXPECT_EQ(reinterpret_cast<HWND>(log[0].wParam), b);
    EXPECT_EQ(reinterpret_cast<HWND>(log[1].wParam), a);
    // A disabled window takes no focus; disabling the focus takes it away.
    EnableWindow(a, FALSE);
    EXPECT_EQ(SetFocus(a), nullptr);
    EXPECT_EQ(GetFocus(), b);
    EnableWindow(b, FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(UiTest, KeysGoToTheFocusAndTheStylusToTheWindowUnderIt)
{
    HWND parent = create("parent", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    HWND a = create("a", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, parent, 1);
    create("b", WS_CHILD | WS_VISIBLE, 100, 0, 100, 100, parent, 2);
    SetFocus(a);
    pump();
    clearLog();
    ui::keyDown('X');
    ui::keyUp('X');
    ui::stylusDown(150, 50);
    ui::stylusUp(150, 50);
    pump();
    EXPECT_THAT(only({WM_KEYDOWN, WM_KEYUP, WM_LBUTTONDOWN, WM_LBUTTONUP}),
                ElementsAre("a:WM_KEYDOWN", "a:WM_KEYUP", "b:WM_LBUTTONDOWN", "b:WM_LBUTTONUP"));
    const Seen& down = *std::find_if(log.begin(), log.end(), [](const Seen& s) { return s.message == WM_LBUTTONDOWN; });
    EXPECT_EQ(LOWORD(down.lParam), 50);  // client coordinates of b
    EXPECT_EQ(HIWORD(down.lParam), 50);
}

TEST_F(UiTest, APostedMessageIsHandledAfterTheOneThatPostedIt)
{
    HWND w = create("main", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    pump();
    std::vector<std::string> order;
    handlers["main"] = [&](HWND window, UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message == WM_USER) {
            order.push_back("user begins");
            PostMessageW(window, WM_USER + 1, 0, 0);
            SendMessageW(window, WM_USER + 2, 0, 0);
            order.push_back("user ends");
            return true;
        }
        if (message == WM_USER + 1) {
            order.push_back("posted");
            return true;
        }
        if (message == WM_USER + 2) {
            order.push_back("sent");
            return true;
        }
        return false;
    };
    PostMessageW(w, WM_USER, 0, 0);
    pump();
    EXPECT_THAT(order, ElementsAre("user begins", "sent", "user ends", "posted"));
}

TEST_F(UiTest, PostedMessagesComeInOrderBeforeQuitAndPaintBeforeTimers)
{
    HWND w = create("main", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    pump();
    SetTimer(w, 5, 10, nullptr);
    Sleep(30);
    InvalidateRect(w, nullptr, TRUE);
    PostQuitMessage(3);
    PostMessageW(w, WM_USER, 1, 0);
    PostMessageW(w, WM_USER, 2, 0);
    std::vector<std::string> order;
    MSG msg;
    for (int i = 0; i < 5 && GetMessageW(&msg, nullptr, 0, 0) >= 0; ++i) {
        order.push_back(messageName(msg.message) + (msg.message == WM_USER ? std::to_string(msg.wParam) : ""));
        if (msg.message == WM_QUIT) {
            EXPECT_EQ(msg.wParam, 3u);
            continue;
        }
        DispatchMessageW(&msg);
    }
    EXPECT_THAT(order, ElementsAre("WM_USER1", "WM_USER2", "WM_QUIT", "WM_PAINT", "WM_TIMER"));
}

TEST_F(UiTest, ParentsArePaintedBeforeTheirChildren)
{
    HWND parent = create("parent", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 240, 320);
    create("child", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, parent, 1);
    clearLog();
    pump();
    EXPECT_THAT(only({WM_PAINT}), ElementsAre("parent:WM_PAINT", "child:WM_PAINT"));
}

TEST_F(UiTest, UpdateWindowPaintsAtOnceAndValidateRectCancels)
{
    HWND w = create("main", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    pump();
    clearLog();
    InvalidateRect(w, nullptr, FALSE);
    UpdateWindow(w);
    EXPECT_THAT(names("main"), ElementsAre("WM_PAINT"));
    clearLog();
    InvalidateRect(w, nullptr, TRUE);
    ValidateRect(w, nullptr);
    pump();
    EXPECT_TRUE(names("main").empty());
    // BeginPaint's rectangle is the invalid part only.
    RECT part{10, 20, 30, 40};
    InvalidateRect(w, &part, FALSE);
    RECT painted{};
    handlers["main"] = [&](HWND window, UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != WM_PAINT)
            return false;
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        painted = ps.rcPaint;
        EndPaint(window, &ps);
        return true;
    };
    pump();
    EXPECT_EQ(painted.left, 10);
    EXPECT_EQ(painted.top, 20);
    EXPECT_EQ(painted.right, 30);
    EXPECT_EQ(painted.bottom, 40);
}

TEST_F(UiTest, AWindowDrawsOnlyWhereItIsNotCoveredByAWindowAbove)
{
    fills["below"] = RGB(255, 0, 0);
    fills["above"] = RGB(0, 0, 255);
    HWND below = create("below", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    HWND above = create("above", WS_POPUP | WS_VISIBLE, 100, 100, 100, 100);
    pump();
    EXPECT_EQ(pixel(50, 50), RGB(255, 0, 0));
    EXPECT_EQ(pixel(150, 150), RGB(0, 0, 255));
    // Repainting the window below does not draw over the one above.
    InvalidateRect(below, nullptr, TRUE);
    UpdateWindow(below);
    EXPECT_EQ(pixel(150, 150), RGB(0, 0, 255));
    EXPECT_EQ(pixel(99, 99), RGB(255, 0, 0));
    // Drawing outside WM_PAINT is clipped the same way.
    HDC dc = GetDC(below);
    RECT all{0, 0, 200, 200};
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(dc, &all, green);
    DeleteObject(green);
    ReleaseDC(below, dc);
    EXPECT_EQ(pixel(50, 50), RGB(0, 255, 0));
    EXPECT_EQ(pixel(150, 150), RGB(0, 0, 255));
    // Moving the upper window away exposes the lower one, which paints there again.
    MoveWindow(above, 200, 200, 40, 40, TRUE);
    clearLog();
    pump();
    EXPECT_THAT(only({WM_PAINT}), IsSupersetOf({"below:WM_PAINT"}));
    EXPECT_EQ(pixel(150, 150), RGB(255, 0, 0));
}

// A pump that found nothing to paint must not make the queue blind to what needs painting later:
// a window invalidated afterwards, one shown again while still invalid, one whose frame alone is
// dirty, and a window outside the filter of the last look.
TEST_F(UiTest, WhatNeedsPaintingAfterAnIdlePumpIsStillPainted)
{
    HWND first = create("first", WS_POPUP | WS_VISIBLE, 0, 0, 120, 160);
    HWND second = create("second", WS_POPUP | WS_VISIBLE, 120, 0, 120, 160);
    pump();
    clearLog();
    pump();
    EXPECT_TRUE(names().empty());

    InvalidateRect(first, nullptr, FALSE);
    pump();
    EXPECT_THAT(only({WM_PAINT}), ElementsAre("first:WM_PAINT"));

    // Hidden without a repaint while invalid: nothing to paint until its visible bit comes back.
    clearLog();
    InvalidateRect(second, nullptr, FALSE);
    SendMessageW(second, WM_SETREDRAW, FALSE, 0);
    pump();
    EXPECT_TRUE(only({WM_PAINT}).empty());
    SendMessageW(second, WM_SETREDRAW, TRUE, 0);
    pump();
    EXPECT_THAT(only({WM_PAINT}), ElementsAre("second:WM_PAINT"));

    // The same through the style itself.
    clearLog();
    InvalidateRect(first, nullptr, FALSE);
    const LONG_PTR style = GetWindowLongW(first, GWL_STYLE);
    SetWindowLongW(first, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
    pump();
    EXPECT_TRUE(only({WM_PAINT}).empty());
    SetWindowLongW(first, GWL_STYLE, style);
    pump();
    EXPECT_THAT(only({WM_PAINT}), ElementsAre("first:WM_PAINT"));

    // A look limited to one window finds nothing there; the other's paint still comes.
    clearLog();
    InvalidateRect(second, nullptr, FALSE);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, first, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    pump();
    EXPECT_THAT(only({WM_PAINT}), ElementsAre("second:WM_PAINT"));

    // Destroyed while invalid: the next pumps have nothing to paint and later invalidations come.
    clearLog();
    InvalidateRect(first, nullptr, FALSE);
    DestroyWindow(first);
    pump();
    EXPECT_TRUE(only({WM_PAINT}).empty());
    InvalidateRect(second, nullptr, FALSE);
    pump();
    EXPECT_THAT(only({WM_PAINT}), ElementsAre("second:WM_PAINT"));
}

TEST_F(UiTest, AFrameAloneMarkedDirtyAfterAnIdlePumpIsRedrawn)
{
    HWND framed = create("framed", WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0, 120, 160);
    pump();
    clearLog();
    pump();
    SetWindowPos(framed, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ValidateRect(framed, nullptr);
    pump();
    EXPECT_THAT(only({WM_NCPAINT, WM_PAINT}), ElementsAre("framed:WM_NCPAINT"));
}

TEST_F(UiTest, AParentWithClipChildrenDoesNotPaintOverItsChildren)
{
    fills["parent"] = RGB(255, 0, 0);
    fills["child"] = RGB(0, 0, 255);
    HWND parent = create("parent", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 240, 320);
    create("child", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, parent, 1);
    pump();
    EXPECT_EQ(pixel(30, 30), RGB(0, 0, 255));
    clearLog();
    InvalidateRect(parent, nullptr, TRUE);
    pump();
    // The child is not asked to repaint (the parent clips it out) and its pixels stay.
    EXPECT_THAT(only({WM_PAINT}), ElementsAre("parent:WM_PAINT"));
    EXPECT_EQ(pixel(30, 30), RGB(0, 0, 255));
    EXPECT_EQ(pixel(5, 5), RGB(255, 0, 0));
}

// A dialog's controls are made while it is hidden: showing it must draw them, frames included,
// even though its WS_CLIPCHILDREN keeps its own paint off them.
TEST_F(UiTest, AParentWithClipChildrenShownLaterShowsItsChildrenToo)
{
    fills["parent"] = RGB(255, 0, 0);
    fills["child"] = RGB(0, 0, 255);
    HWND parent = create("parent", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 240, 320);
    create("child", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 50, 50, parent, 1);
    pump();
    clearLog();
    ShowWindow(parent, SW_SHOW);
    pump();
    EXPECT_THAT(only({WM_PAINT}), ElementsAre("parent:WM_PAINT", "child:WM_PAINT"));
    EXPECT_EQ(pixel(30, 30), RGB(0, 0, 255));
    EXPECT_THAT(names("child"), testing::Contains("WM_NCPAINT"));
    // Moved, it is drawn where it now is, children and all.
    clearLog();
    MoveWindow(parent, 20, 0, 200, 300, TRUE);
    pump();
    EXPECT_THAT(only({WM_PAINT}), ElementsAre("parent:WM_PAINT", "child:WM_PAINT"));
    EXPECT_EQ(pixel(50, 30), RGB(0, 0, 255));
}

TEST_F(UiTest, OverlappingSiblingsClipEachOtherInZOrder)
{
    fills["parent"] = RGB(255, 255, 255);
    fills["first"] = RGB(255, 0, 0);
    fills["second"] = RGB(0, 255, 0);
    HWND parent = create("parent", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 240, 320);
    HWND first = create("first", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 100, 100, parent, 1);
    create("second", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 50, 50, 100, 100, parent, 2);
    pump();
    // The first child created is on top of its later siblings, as on the platform.
    EXPECT_EQ(pixel(75, 75), RGB(255, 0, 0));
    EXPECT_EQ(pixel(120, 120), RGB(0, 255, 0));
    SetWindowPos(first, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    pump();
    EXPECT_EQ(pixel(75, 75), RGB(0, 255, 0));
    EXPECT_EQ(pixel(25, 25), RGB(255, 0, 0));
}

TEST_F(UiTest, HidingAWindowRepaintsWhatItCovered)
{
    fills["below"] = RGB(255, 0, 0);
    fills["above"] = RGB(0, 0, 255);
    create("below", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    HWND above = create("above", WS_POPUP | WS_VISIBLE, 50, 50, 100, 100);
    pump();
    ASSERT_EQ(pixel(100, 100), RGB(0, 0, 255));
    ShowWindow(above, SW_HIDE);
    pump();
    EXPECT_EQ(pixel(100, 100), RGB(255, 0, 0));
}

TEST_F(UiTest, ActivationFollowsShowingAndHiding)
{
    HWND first = create("first", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    HWND second = create("second", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, first);
    EXPECT_EQ(GetActiveWindow(), second);
    clearLog();
    ShowWindow(second, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), first);
    const std::vector<std::string> seen = only({WM_ACTIVATE});
    EXPECT_THAT(seen, ElementsAre("second:WM_ACTIVATE", "first:WM_ACTIVATE"));
}

// The plain and the ANSI record both become the extended one: every field they share is kept,
// and the ANSI menu name arrives as the same wide name.
TEST_F(UiTest, EveryFormOfClassRecordKeepsItsFields)
{
    HICON icon = reinterpret_cast<HICON>(uintptr_t{0x51});
    HCURSOR cursor = reinterpret_cast<HCURSOR>(uintptr_t{0x52});
    HBRUSH brush = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(uintptr_t{0x53});

    WNDCLASSW plain{CS_DBLCLKS, DefWindowProcW, 4, 8, instance, icon, cursor, brush, u"Menu", u"Plain"};
    ASSERT_NE(RegisterClassW(&plain), 0);
    WNDCLASSEXA ansi{};
    ansi.cbSize = sizeof ansi;
    ansi.style = CS_HREDRAW | CS_VREDRAW;
    ansi.lpfnWndProc = DefWindowProcW;
    ansi.cbClsExtra = 12;
    ansi.cbWndExtra = 16;
    ansi.hInstance = instance;
    ansi.hIcon = icon;
    ansi.hCursor = cursor;
    ansi.hbrBackground = brush;
    ansi.lpszMenuName = "\xCC\xE5\xED\xFE";  // "Меню" in code page 1251
    ansi.lpszClassName = "Ansi";
    ASSERT_NE(RegisterClassExA(&ansi), 0);

    auto expectClass = [&](const char* form, LPCWSTR name, UINT style, int classExtra, int windowExtra,
                           std::u16string_view menu) {
        SCOPED_TRACE(form);
        WNDCLASSW info{};
        ASSERT_TRUE(GetClassInfoW(nullptr, name, &info));
        EXPECT_EQ(info.style, style);
        EXPECT_EQ(info.lpfnWndProc, &DefWindowProcW);
        EXPECT_EQ(info.cbClsExtra, classExtra);
        EXPECT_EQ(info.cbWndExtra, windowExtra);
        EXPECT_EQ(info.hInstance, instance);
        EXPECT_EQ(info.hIcon, icon);
        EXPECT_EQ(info.hCursor, cursor);
        EXPECT_EQ(info.hbrBackground, brush);
        ASSERT_NE(info.lpszMenuName, nullptr);
        EXPECT_EQ(std::u16string_view(info.lpszMenuName), menu);
    };
    expectClass("plain record", u"Plain", CS_DBLCLKS, 4, 8, u"Menu");
    expectClass("ANSI record", u"Ansi", CS_HREDRAW | CS_VREDRAW, 12, 16, u"\u041C\u0435\u043D\u044E");
}

TEST_F(UiTest, ResetDestroysWindowsEmptiesTheQueueAndForgetsClasses)
{
    HWND w = create("main", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    PostMessageW(w, WM_USER, 0, 0);
    SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {});
    clearLog();
    ui::resetWindowManager();
    EXPECT_THAT(only({WM_DESTROY, WM_NCDESTROY}), ElementsAre("main:WM_DESTROY", "main:WM_NCDESTROY"));
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(ui::msUntilNextTimer(), -1);
    EXPECT_TRUE(ui::queueIsIdle());
    WNDCLASSW info;
    EXPECT_FALSE(GetClassInfoW(nullptr, u"Logging", &info));
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
}

} // namespace
} // namespace ui_test
