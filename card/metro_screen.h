// The metro scheme: picture 4 of the database in a screen of its own, opened centred and panned by
// the direction keys, by dragging the stylus and by tapping the point to bring to the centre.
#pragma once

#include "win32.h"

INT_PTR CALLBACK metroScreenProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
