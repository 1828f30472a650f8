// Named mutexes, shared with other host processes through a locked file, so that a program
// can tell that another copy of itself runs on the same device.
#include "errors.h"
#include "handles.h"
#include "sync.h"
#include "text.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace kernel {
namespace {

// Stable between processes and builds (unlike std::hash).
uint64_t fnv1a(std::string_view bytes) {
    uint64_t hash = 0xCBF29CE484222325u;
    for (unsigned char c : bytes) hash = (hash ^ c) * 0x100000001B3u;
    return hash;
}

// The lock file of a name on this device: outside the device root, so that no listing shows it.
std::string lockFilePath(std::u16string_view foldedName) {
    const char* folder = std::getenv("TMPDIR");
    std::string path = (folder && *folder) ? folder : "/tmp";
    const uint64_t hash = fnv1a(kernelState().deviceRoot + '\n' + utf16ToUtf8(foldedName));
    char name[64];
    std::snprintf(name, sizeof name, "/device-mutex-%016llx.lock", static_cast<unsigned long long>(hash));
    return path + name;
}

// Takes the host lock for a name: false when another process holds it.
bool takeHostLock(const std::u16string& foldedName, int& lockFd) {
    lockFd = -1;
    const int fd = open(lockFilePath(foldedName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true;  // no lock file possible: nothing can be told, so assume alone
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    lockFd = fd;
    return true;
}

}  // namespace

void closeMutex(const MutexRef& mutex) {
    if (mutex.name.empty()) return;
    auto& mutexes = kernelState().mutexes;
    const auto found = mutexes.find(mutex.name);
    if (found == mutexes.end()) return;
    if (--found->second.handles == 0) {
        if (found->second.lockFd >= 0) close(found->second.lockFd);
        mutexes.erase(found);
    }
}

}  // namespace kernel

using namespace kernel;

HANDLE WINAPI CreateMutexW(LPSECURITY_ATTRIBUTES /*lpMutexAttributes*/, BOOL /*bInitialOwner*/, LPCWSTR lpName) {
    MutexRef ref;
    bool existed = false;
    if (lpName && *lpName) {
        const std::u16string_view name(lpName, textLength(lpName));
        if (name.size() >= MAX_PATH || name.find(u'\\') != std::u16string_view::npos) {
            SetLastError(ERROR_INVALID_NAME);
            return nullptr;
        }
        ref.name = foldCase(name);
        auto& mutexes = kernelState().mutexes;
        auto found = mutexes.find(ref.name);
        if (found != mutexes.end()) {
            existed = true;
        } else {
            NamedMutex mutex;
            existed = !takeHostLock(ref.name, mutex.lockFd);
            found = mutexes.emplace(ref.name, mutex).first;
        }
        ++found->second.handles;
    }
    const std::u16string name = ref.name;
    HANDLE handle = addHandle(std::move(ref));
    if (!handle) {
        closeMutex(MutexRef{name});
        return nullptr;
    }
    SetLastError(existed ? ERROR_ALREADY_EXISTS : NO_ERROR);
    return handle;
}

BOOL WINAPI ReleaseMutex(HANDLE hMutex) {
    if (!handleObject<MutexRef>(hMutex)) return failWith(ERROR_INVALID_HANDLE);
    return TRUE;
}
