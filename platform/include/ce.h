// Pocket PC shell services of the Windows CE subset, on top of win32.h. Each part of the
// platform declares its own section under ce/.
#pragma once

#include "win32.h"

#include "ce/kernel.h"
#if __has_include("ce/phone.h")
#include "ce/phone.h"
#endif
#if __has_include("ce/shell.h")
#include "ce/shell.h"
#endif
#if __has_include("ce/sip.h")
#include "ce/sip.h"
#endif
#if __has_include("ce/ui.h")
#include "ce/ui.h"
#endif
