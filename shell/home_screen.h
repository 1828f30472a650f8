// The main window of the handheld program: three pages of tiles over a blue gradient, the button
// bar at its foot, the database change, and the private message that opens a rubric's firm list.
#pragma once

#include "win32.h"

LRESULT CALLBACK homeScreenProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Tile rectangles for the window's content area (after size changes and favourites changes).
void layoutTiles(HWND window);

// The next database choice, with everything that follows from it (title, city pages, layout,
// redraw). Nothing with a single choice.
void changeHomeDatabase(HWND window);

// What the bar's home button does on the home screen: from a page of tiles back to the main page.
void goHome(HWND window);

// The rubric whose title begins with `caption` (any case) and that has firms: posts
// openFirmListMessage for it. False when there is none or the rubric table cannot be read.
bool openRubricByCaption(HWND window, const WCHAR* caption);
