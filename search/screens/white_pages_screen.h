// The white pages: an index of two-letter name beginnings over the firms of the chosen one.
#pragma once

#include "win32.h"

INT_PTR CALLBACK whitePagesScreenProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
