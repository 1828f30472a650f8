// The umbrella header of a desktop program, under the name its sources include: the API subset
// and the shell's part of it, as the platform's own windows.h brings both.
#pragma once

#include "win32.h"
#include "win32/shellapi.h"
