// Pocket PC shell services that the kernel provides.
#pragma once

#include "win32/types.h"

// Asks other applications to close until dwMemSought bytes of physical memory are free.
// TRUE when that much is free afterwards. On the host nothing can be closed; with a device
// profile's figure, the profile's reclaimable memory is freed, and the request is journalled.
BOOL WINAPI SHCloseApps(DWORD dwMemSought);
