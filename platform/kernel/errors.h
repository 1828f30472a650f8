// Host errors in the platform's numbers.
#pragma once

#include "win32.h"

namespace kernel {

// The platform's error number for a host errno; `notFound` is what ENOENT means at the call.
DWORD errorFromErrno(int hostError, DWORD notFound = ERROR_FILE_NOT_FOUND);

// Sets the last error and returns FALSE, for the many calls that fail that way.
inline BOOL failWith(DWORD error) {
    SetLastError(error);
    return FALSE;
}

}  // namespace kernel
