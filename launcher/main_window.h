// Vantory's one window and its about box.
#pragma once

#include <windows.h>

LRESULT CALLBACK launcherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK aboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The size of the window, frame included.
constexpr int launcherWindowWidth = 806;
constexpr int launcherWindowHeight = 635;
