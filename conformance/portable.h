// The one place where the two builds of the conformance program differ: the headers, the literal
// spelling of wide text, and the name of the entry. Everything else is the Win32 API alone.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>
#define CW(text) L##text
#else
#include "win32.h"
#include "win32/commctrl.h"
#define CW(text) u##text
// Our layer declares only what it implements, and no control of it acts on these requests yet;
// the program sends them to see what a list box does with them.
#ifndef SB_LINEDOWN
#define SB_LINEUP 0
#define SB_LINEDOWN 1
#define SB_PAGEUP 2
#define SB_PAGEDOWN 3
#define SB_THUMBPOSITION 4
#define SB_TOP 6
#define SB_BOTTOM 7
#define SB_ENDSCROLL 8
#endif
#endif
