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
#endif
