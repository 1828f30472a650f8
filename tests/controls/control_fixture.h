// A parent window that records what its controls tell it, on a fresh 240 x 320 device screen.
#pragma once

#include "platform/controls/control_limits.h"
#include "platform/ui/mouse_points.h"
#include "platform/gdi/screen.h"
#include "platform/ui/input.h"
#include "platform/ui/window_manager.h"
#include "win32.h"
#include "win32/commctrl.h"
#include "win32/controls.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace controls_test {

// One notification as the parent saw it: WM_COMMAND (code in the high word) or WM_NOTIFY.
struct Received {
    UINT message = 0;
    int id = 0;
    int code = 0;
    UINT action = 0;         // TVN_SELCHANGED: the cause
    HTREEITEM newItem = nullptr;
    UINT itemState = 0;      // WM_DRAWITEM: ODS_*
    bool operator==(const Received& other) const
    {
        return message == other.message && id == other.id && code == other.code && action == other.action;
    }
};

inline Received command(int id, int code)
{
    return Received{WM_COMMAND, id, code, 0, nullptr, 0};
}

inline Received notice(int id, UINT code, UINT action = 0)
{
    return Received{WM_NOTIFY, id, static_cast<int>(code), action, nullptr, 0};
}

std::string describe(const Received& r);
inline std::ostream& operator<<(std::ostream& out, const Received& r)
{
    return out << describe(r);
}

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND create(LPCWSTR className, DWORD style, int id, int x, int y, int width, int height, LPCWSTR text = u"");
    // Handles everything queued, painting included.
    void pump();
    // Stylus and keys in client coordinates of a control, each followed by pump().
    void tap(HWND control, int x, int y);
    void press(HWND control, int x, int y);
    void drag(HWND control, int x, int y);
    void release(HWND control, int x, int y);
    void key(UINT virtualKey);
    void type(std::u16string_view text);

    // Only the notifications a test cares about: custom drawing, focus and gesture questions are
    // left out unless keepAll is set.
    std::vector<Received> received;
    bool keepAll = false;
    // Answers the parent gives: to NM_CUSTOMDRAW, to NM_RECOGNIZEGESTURE, and to NM_CLICK.
    std::function<LRESULT(NMHDR*)> onNotify;
    HWND parent = nullptr;

    static LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static ControlTest* current;
};

std::u16string textOf(HWND window);

// The side of a scroll bar's arrow box, and the bar's width.
constexpr int scrollArrow = 13;

}  // namespace controls_test
