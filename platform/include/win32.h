// The Win32 / Windows CE subset the programs use, implemented by platform/.
// Only what is implemented is declared; deviations from the platform are noted at each API.
#pragma once

#include "win32/types.h"
#include "win32/kernel.h"
#if __has_include("win32/gdi.h")
#include "win32/gdi.h"
#endif
#if __has_include("win32/ui.h")
#include "win32/ui.h"
#endif
