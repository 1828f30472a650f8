// A device screen with the shell started, a window manager of its own and an idle handler that
// stands in for the user while a modal loop (a dialog, a held stylus) waits.
#pragma once

#include "ce.h"
#include "emulator.h"
#include "platform/gdi/screen.h"
#include "platform/shell/shell.h"
#include "platform/shell/shell_state.h"
#include "platform/ui/input.h"
#include "platform/ui/window_manager.h"
#include "win32/controls.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace shell_test {

constexpr WORD dialogId = 300;
constexpr WORD dialogWithSipPreferenceId = 301;
constexpr int editId = 10;
constexpr int buttonId = 11;

// What the test window was told.
struct Seen {
    UINT message = 0;
    WPARAM wParam = 0;
    UINT code = 0;  // WM_NOTIFY's code
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Handles what is queued, paint included.
    static void pump();
    static void tapScreen(int x, int y);
    // A visible top-level window of the test class that records its messages in `seen`.
    HWND makeWindow(LPCWSTR caption, int x = CW_USEDEFAULT, int y = 0, int width = CW_USEDEFAULT, int height = 0);
    static bool sawMessage(UINT message, WPARAM wParam);
    void saveShot(const std::string& name);

public:
    // Called whenever a loop waits for input; the default lets the requested time pass. False
    // asks the program to end, as a closed presenter window does.
    static std::function<bool(int maxWaitMs)> onIdle;
    static std::vector<Seen> seen;
    // The test window's answer to WM_LBUTTONDOWN: a tap-and-hold with these flags, if set.
    static DWORD gestureFlags;
    static bool recogniseGestures;
    static DWORD gestureResult;
};

// The centre of a key on the screen, found by what it types or what kind it is.
POINT keyOnScreen(shell::SipLayout layout, char16_t ch);
POINT keyOnScreen(shell::SipLayout layout, shell::KeyKind kind, shell::SipLayout target = shell::SipLayout::russian);

// The dialog procedure of the test templates: SHInitDialog with the flags passed as the dialog's
// parameter; IDOK and IDCANCEL end it with their identifier.
INT_PTR CALLBACK shellDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

std::u16string textOf(HWND window);

}  // namespace shell_test
