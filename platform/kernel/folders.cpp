// Deleting files, making and removing folders, attributes.
#include "errors.h"
#include "files.h"
#include "kernel_state.h"
#include "paths.h"

#include <cerrno>
#include <unistd.h>

using namespace kernel;

BOOL WINAPI DeleteFileW(LPCWSTR lpFileName) {
    if (const DWORD planned = plannedError(emu::FailingCall::fileDelete)) return failWith(planned);
    ResolvedPath path;
    if (const DWORD error = resolvePath(lpFileName, path)) return failWith(error);
    if (!path.exists) return failWith(ERROR_FILE_NOT_FOUND);
    if (path.isRoot || S_ISDIR(path.info.st_mode)) return failWith(ERROR_ACCESS_DENIED);
    if (isReadOnly(path.host, path.info)) return failWith(ERROR_ACCESS_DENIED);
    if (fileIsOpen(path.info)) return failWith(ERROR_SHARING_VIOLATION);
    if (unlink(path.host.c_str()) != 0) return failWith(errorFromErrno(errno));
    return TRUE;
}

BOOL WINAPI CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/) {
    ResolvedPath path;
    if (const DWORD error = resolvePath(lpPathName, path)) return failWith(error);
    if (path.exists || path.isRoot) return failWith(ERROR_ALREADY_EXISTS);
    if (mkdir(path.host.c_str(), 0777) != 0) return failWith(errorFromErrno(errno, ERROR_PATH_NOT_FOUND));
    return TRUE;
}

BOOL WINAPI RemoveDirectoryW(LPCWSTR lpPathName) {
    ResolvedPath path;
    if (const DWORD error = resolvePath(lpPathName, path)) return failWith(error);
    if (!path.exists) return failWith(ERROR_FILE_NOT_FOUND);
    if (path.isRoot) return failWith(ERROR_ACCESS_DENIED);
    if (!S_ISDIR(path.info.st_mode)) return failWith(ERROR_DIRECTORY);
    if (rmdir(path.host.c_str()) != 0) return failWith(errorFromErrno(errno));
    return TRUE;
}

DWORD WINAPI GetFileAttributesW(LPCWSTR lpFileName) {
    ResolvedPath path;
    DWORD error = resolvePath(lpFileName, path);
    if (!error && !path.exists) error = ERROR_FILE_NOT_FOUND;
    if (error) {
        SetLastError(error);
        return INVALID_FILE_ATTRIBUTES;
    }
    return attributesOf(path.host, path.info);
}
