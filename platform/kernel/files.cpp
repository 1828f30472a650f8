// Opening, reading, writing and positioning files.
#include "files.h"

#include "errors.h"
#include "handles.h"
#include "paths.h"
#include "sync.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace kernel {
namespace {

constexpr uint64_t maxFileSize = 0xFFFFFFFFu;

// The platform's rule: a new open is refused when it would do what an existing handle does
// not share, or when it does not share what an existing handle does.
bool sharingConflicts(const OpenFile& open, DWORD access, DWORD share) {
    if ((access & GENERIC_READ) && !(open.share & FILE_SHARE_READ)) return true;
    if ((access & GENERIC_WRITE) && !(open.share & FILE_SHARE_WRITE)) return true;
    if ((open.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return true;
    if ((open.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return true;
    return false;
}

bool shareAllows(const struct stat& info, DWORD access, DWORD share) {
    // The host program's open counts as one of ours that writes and lets others read.
    OpenFile hostProgram;
    hostProgram.access = GENERIC_READ | GENERIC_WRITE;
    hostProgram.share = FILE_SHARE_READ;
    if (heldByHostProgram(info) && sharingConflicts(hostProgram, access, share)) return false;
    for (const HandleSlot& slot : kernelState().handles)
        if (const auto* open = std::get_if<OpenFile>(&slot.object))
            if (open->device == info.st_dev && open->inode == info.st_ino && sharingConflicts(*open, access, share))
                return false;
    return true;
}

HANDLE failOpen(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

DWORD ioError(int hostError, DWORD fallback) {
    const DWORD error = errorFromErrno(hostError);
    return error == ERROR_GEN_FAILURE ? fallback : error;
}

}  // namespace

bool isReadOnly(const std::string& hostPath, const struct stat& info) {
    return !(info.st_mode & S_IWUSR) || access(hostPath.c_str(), W_OK) != 0;
}

DWORD attributesOf(const std::string& hostPath, const struct stat& info) {
    DWORD attributes = S_ISDIR(info.st_mode) ? DWORD{FILE_ATTRIBUTE_DIRECTORY} : 0;
    if (!S_ISDIR(info.st_mode) && isReadOnly(hostPath, info)) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes == 0 ? DWORD{FILE_ATTRIBUTE_NORMAL} : attributes;
}

bool fileIsOpen(const struct stat& info) {
    for (const HandleSlot& slot : kernelState().handles)
        if (const auto* open = std::get_if<OpenFile>(&slot.object))
            if (open->device == info.st_dev && open->inode == info.st_ino) return true;
    return false;
}

void closeOpenFile(OpenFile& file) {
    if (file.fd >= 0) close(file.fd);
    file.fd = -1;
}

}  // namespace kernel

using namespace kernel;

HANDLE WINAPI CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                          LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/, DWORD dwCreationDisposition,
                          DWORD dwFlagsAndAttributes, HANDLE /*hTemplateFile*/) {
    if (!lpFileName) return failOpen(ERROR_INVALID_PARAMETER);
    DWORD access = dwDesiredAccess;
    if (access & GENERIC_ALL) access = (access & ~GENERIC_ALL) | GENERIC_READ | GENERIC_WRITE;
    access &= ~GENERIC_EXECUTE;
    if ((access & ~(GENERIC_READ | GENERIC_WRITE)) != 0) return failOpen(ERROR_INVALID_PARAMETER);
    if ((dwShareMode & ~DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}) != 0)
        return failOpen(ERROR_INVALID_PARAMETER);
    if (dwCreationDisposition < CREATE_NEW || dwCreationDisposition > TRUNCATE_EXISTING)
        return failOpen(ERROR_INVALID_PARAMETER);
    if (dwCreationDisposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE))
        return failOpen(ERROR_INVALID_PARAMETER);

    if (const DWORD planned = plannedError(emu::FailingCall::fileOpen)) return failOpen(planned);
    ResolvedPath path;
    if (const DWORD error = resolvePath(lpFileName, path)) return failOpen(error);
    if (path.isRoot || (path.exists && S_ISDIR(path.info.st_mode))) return failOpen(ERROR_ACCESS_DENIED);

    const bool truncate = dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == TRUNCATE_EXISTING;
    int flags = O_CLOEXEC | O_NONBLOCK | ((access & GENERIC_WRITE) || truncate ? O_RDWR : O_RDONLY);
    if (path.exists) {
        if (dwCreationDisposition == CREATE_NEW) return failOpen(ERROR_FILE_EXISTS);
        // Pipes and devices could block or misbehave; the device has only plain files.
        if (!S_ISREG(path.info.st_mode)) return failOpen(ERROR_ACCESS_DENIED);
        if (((access & GENERIC_WRITE) || truncate) && isReadOnly(path.host, path.info))
            return failOpen(ERROR_ACCESS_DENIED);
        if (!shareAllows(path.info, access, dwShareMode)) return failOpen(ERROR_SHARING_VIOLATION);
        if (truncate) flags |= O_TRUNC;
    } else {
        if (dwCreationDisposition == OPEN_EXISTING || dwCreationDisposition == TRUNCATE_EXISTING)
            return failOpen(ERROR_FILE_NOT_FOUND);
        flags |= O_CREAT | O_EXCL | O_NOFOLLOW;
    }

    const mode_t mode = (dwFlagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    const int fd = open(path.host.c_str(), flags, mode);
    if (fd < 0) return failOpen(errorFromErrno(errno, path.exists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND));
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return failOpen(ERROR_ACCESS_DENIED);
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);

    OpenFile file;
    file.fd = fd;
    file.access = access;
    file.share = dwShareMode;
    file.device = info.st_dev;
    file.inode = info.st_ino;
    HANDLE handle = addHandle(std::move(file));
    if (!handle) {
        close(fd);
        return INVALID_HANDLE_VALUE;
    }
    const bool existed = path.exists && (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS);
    SetLastError(existed ? ERROR_ALREADY_EXISTS : NO_ERROR);
    return handle;
}

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                     LPOVERLAPPED lpOverlapped) {
    if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
    OpenFile* file = handleObject<OpenFile>(hFile);
    if (!file) return failWith(ERROR_INVALID_HANDLE);
    if (lpOverlapped || (!lpBuffer && nNumberOfBytesToRead > 0)) return failWith(ERROR_INVALID_PARAMETER);
    if (!(file->access & GENERIC_READ)) return failWith(ERROR_ACCESS_DENIED);

    if (const DWORD planned = plannedError(emu::FailingCall::read)) return failWith(planned);
    Faults& faults = kernelState().faults;
    DWORD wanted = nNumberOfBytesToRead;
    if (faults.shortRead.strikes() && wanted > faults.shortReadLimit) wanted = faults.shortReadLimit;

    auto* out = static_cast<unsigned char*>(lpBuffer);
    DWORD done = 0;
    while (done < wanted) {
        const ssize_t got = pread(file->fd, out + done, wanted - done, static_cast<off_t>(file->position + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            file->position += done;
            if (lpNumberOfBytesRead) *lpNumberOfBytesRead = done;
            return failWith(ioError(errno, ERROR_READ_FAULT));
        }
        if (got == 0) break;
        done += static_cast<DWORD>(got);
    }
    file->position += done;
    if (lpNumberOfBytesRead) *lpNumberOfBytesRead = done;
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
                      LPOVERLAPPED lpOverlapped) {
    if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = 0;
    OpenFile* file = handleObject<OpenFile>(hFile);
    if (!file) return failWith(ERROR_INVALID_HANDLE);
    if (lpOverlapped || (!lpBuffer && nNumberOfBytesToWrite > 0)) return failWith(ERROR_INVALID_PARAMETER);
    if (!(file->access & GENERIC_WRITE)) return failWith(ERROR_ACCESS_DENIED);
    if (const DWORD planned = plannedError(emu::FailingCall::write)) return failWith(planned);
    if (file->position + nNumberOfBytesToWrite > maxFileSize) return failWith(ERROR_DISK_FULL);

    const auto* in = static_cast<const unsigned char*>(lpBuffer);
    DWORD done = 0;
    while (done < nNumberOfBytesToWrite) {
        const ssize_t put =
            pwrite(file->fd, in + done, nNumberOfBytesToWrite - done, static_cast<off_t>(file->position + done));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            const int hostError = put < 0 ? errno : ENOSPC;
            file->position += done;
            if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = done;
            return failWith(ioError(hostError, ERROR_WRITE_FAULT));
        }
        done += static_cast<DWORD>(put);
    }
    file->position += done;
    if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = done;
    return TRUE;
}

DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod) {
    OpenFile* file = handleObject<OpenFile>(hFile);
    if (!file) {
        SetLastError(ERROR_INVALID_HANDLE);
        return INVALID_SET_FILE_POINTER;
    }
    if (const DWORD planned = plannedError(emu::FailingCall::seek)) {
        SetLastError(planned);
        return INVALID_SET_FILE_POINTER;
    }
    int64_t distance = lDistanceToMove;
    if (lpDistanceToMoveHigh)
        distance = static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(*lpDistanceToMoveHigh)) << 32) |
                                        static_cast<uint32_t>(lDistanceToMove));
    int64_t base = 0;
    switch (dwMoveMethod) {
    case FILE_BEGIN:
        break;
    case FILE_CURRENT:
        base = static_cast<int64_t>(file->position);
        break;
    case FILE_END: {
        struct stat info {};
        if (fstat(file->fd, &info) != 0) {
            SetLastError(errorFromErrno(errno));
            return INVALID_SET_FILE_POINTER;
        }
        base = info.st_size;
        break;
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    // Both terms are within ±2^40 or so in practice, but a 64-bit high part could overflow.
    int64_t target = 0;
    if (__builtin_add_overflow(base, distance, &target) || target < 0) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    if (static_cast<uint64_t>(target) > maxFileSize) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    file->position = static_cast<uint64_t>(target);
    if (lpDistanceToMoveHigh) *lpDistanceToMoveHigh = static_cast<LONG>(file->position >> 32);
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(file->position);
}

DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
    OpenFile* file = handleObject<OpenFile>(hFile);
    struct stat info {};
    if (!file || fstat(file->fd, &info) != 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return INVALID_FILE_SIZE;
    }
    const auto size = static_cast<uint64_t>(info.st_size);
    if (lpFileSizeHigh) *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(size);
}

BOOL WINAPI SetEndOfFile(HANDLE hFile) {
    OpenFile* file = handleObject<OpenFile>(hFile);
    if (!file) return failWith(ERROR_INVALID_HANDLE);
    if (!(file->access & GENERIC_WRITE)) return failWith(ERROR_ACCESS_DENIED);
    if (ftruncate(file->fd, static_cast<off_t>(file->position)) != 0) return failWith(ioError(errno, ERROR_WRITE_FAULT));
    return TRUE;
}

BOOL WINAPI FlushFileBuffers(HANDLE hFile) {
    OpenFile* file = handleObject<OpenFile>(hFile);
    if (!file) return failWith(ERROR_INVALID_HANDLE);
    if (!(file->access & GENERIC_WRITE)) return failWith(ERROR_ACCESS_DENIED);
    if (fsync(file->fd) != 0) return failWith(ioError(errno, ERROR_WRITE_FAULT));
    return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE hObject) {
    HandleSlot* slot = findSlot(hObject);
    // A search handle is closed with FindClose only, as on the platform.
    if (!slot || std::holds_alternative<FindSearch>(slot->object)) return failWith(ERROR_INVALID_HANDLE);
    if (auto* file = std::get_if<OpenFile>(&slot->object)) closeOpenFile(*file);
    if (auto* mutex = std::get_if<MutexRef>(&slot->object)) closeMutex(*mutex);
    removeHandle(hObject);
    return TRUE;
}
