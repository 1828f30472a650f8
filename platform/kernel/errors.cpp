#include "errors.h"

#include <cerrno>

namespace {

// Per thread, as on the platform. The only kernel state outside KernelState, because it is
// not program-wide.
thread_local DWORD threadLastError = NO_ERROR;

}  // namespace

DWORD WINAPI GetLastError(void) { return threadLastError; }

void WINAPI SetLastError(DWORD dwErrCode) { threadLastError = dwErrCode; }

namespace kernel {

DWORD errorFromErrno(int hostError, DWORD notFound) {
    switch (hostError) {
    case 0:
        return NO_ERROR;
    case ENOENT:
        return notFound;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return ERROR_ACCESS_DENIED;
    case EEXIST:
        return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY:
        return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ERROR_DISK_FULL;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case ELOOP:
        return ERROR_ACCESS_DENIED;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    default:
        return ERROR_GEN_FAILURE;
    }
}

}  // namespace kernel
