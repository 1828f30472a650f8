// A fresh window manager on a 240 x 320 screen, a window class that writes down every message
// it gets, and an input source run from a list of steps (each step runs when the program waits).
#pragma once

#include "emulator.h"
#include "platform/gdi/screen.h"
#include "platform/ui/input.h"
#include "platform/ui/window_manager.h"
#include "win32.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ui_test {

// One message as a logging window saw it.
struct Seen {
    std::string window;  // the name the test gave the window
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

std::string messageName(UINT message);

class UiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A window of the logging class; its messages are written down under `name`.
    HWND create(const std::string& name, DWORD style, int x, int y, int width, int height, HWND parent = nullptr,
                int id = 0, DWORD exStyle = 0);
    // Handles everything queued, painting included, without waiting for input.
    void pump();
    // The names of the messages logged (of one window, or of all as "window:MESSAGE").
    std::vector<std::string> names(const std::string& window = "") const;
    // Only the listed messages, in order, as "window:MESSAGE".
    std::vector<std::string> only(std::initializer_list<UINT> messages) const;
    void clearLog() { log.clear(); }

    COLORREF pixel(int x, int y) const;

    // Steps run one per idle moment of GetMessage (the modal loops' included); with none left the
    // idle handler fails the test and ends the program.
    void whenIdle(std::function<void()> step) { steps.push_back(std::move(step)); }
    size_t stepsLeft() const { return steps.size(); }

    static UiTest* current;
    std::vector<Seen> log;
    std::map<HWND, std::string> nameOf;
    // Per-window handlers tried before the logging class's default handling.
    std::map<std::string, std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>> handlers;
    // Per-window fill colours of WM_PAINT (a window without one paints nothing).
    std::map<std::string, COLORREF> fills;
    std::deque<std::function<void()>> steps;
    bool idleExhausted = false;

private:
    static LRESULT CALLBACK loggingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static bool idle(int maxWaitMs);
    ui::IdleHandler previousIdle = nullptr;
};

} // namespace ui_test
