// The window on the host's desktop that is the device: the screen framebuffer scaled 1 or 2
// times, the mouse as the stylus, the keyboard as the device's keys, text input as typed
// characters; F5 turns the device, F12 saves the screen. Closing the window closes the program.
#pragma once

#include "win32/types.h"

#include <SDL.h>
#include <cstdint>
#include <string>
#include <vector>

namespace host {

// Where the presenter's input goes: the window manager's input side in a program run, a record
// in tests.
struct InputSink {
    void (*stylusDown)(int x, int y) = nullptr;
    void (*stylusMove)(int x, int y) = nullptr;
    void (*stylusUp)(int x, int y) = nullptr;
    void (*keyDown)(UINT virtualKey) = nullptr;
    void (*keyUp)(UINT virtualKey) = nullptr;
    void (*character)(WCHAR ch) = nullptr;
    // After the screen was turned (the framebuffer already has its new size); may be null.
    void (*screenTurned)(int width, int height) = nullptr;
    // True while the program shows the wait cursor; may be null.
    bool (*waitCursorShown)() = nullptr;
};

struct PresenterSettings {
    int scale = 1;
    std::string screenshotFolder = ".";
    std::string title = "Device";
};

// True when SDL settled on a video driver that shows nothing (`chosen`) without being asked for it
// by SDL_VIDEODRIVER (`requested`, may be null): there is no display.
bool isDriverWithoutDisplay(const char* chosen, const char* requested);

// 0, or 1 with the reason in error (no display, no renderer).
int openSdlPresenter(const PresenterSettings& settings, const InputSink& sink, std::string& error);
void closeSdlPresenter();

// The framebuffer to the window now.
void showScreen();
// One host event: stylus, keys, text, the presenter's own keys, closing. False when it asks to
// close the window.
bool handleSdlEvent(const SDL_Event& event);
// The window manager's idle handler: shows the screen, then sleeps in SDL until an event comes or
// maxWaitMs (the next timer) has passed, and handles what came. False when the window's close
// button was pressed since the last call (each press is reported once).
bool sdlIdle(int maxWaitMs);
// While a script drives the program: the host's events are taken off SDL's queue, the user's
// input is dropped (the script is the user) and the window still redraws. False when the close
// button was pressed.
bool drainSdlEvents();

// What the window shows now, as 0x00RRGGBB pixels of window size; false without a window.
bool readWindowPixels(std::vector<uint32_t>& pixels, int& width, int& height);

// Swaps the screen's width and height.
void turnScreen();
// Writes the next free "screen-NNN.png" of the screenshot folder; its path, or "" on failure.
std::string saveScreenshot();

}  // namespace host
