// On our own layer, <windows.h> is the layer's Win32 subset together with the shell's
// ShellExecuteA, as the platform's windows.h brings in shellapi.h. Only Vantory's targets
// have this folder on their include path, so its sources compile unchanged against either.
#pragma once

#include "win32.h"
#include "win32/shellapi.h"
