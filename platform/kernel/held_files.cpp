// Files that a host program started for the device (the notes editor) has open. The host waits
// for that program on a thread of its own, so the set is guarded; the device's calls only read it.
#include "files.h"

#include "emulator.h"

#include <mutex>
#include <set>
#include <utility>

namespace kernel {

struct HeldFiles {
    std::mutex mutex;
    std::multiset<std::pair<dev_t, ino_t>> files;
};

HeldFiles& heldFiles() {
    static HeldFiles held;
    return held;
}

bool identify(const std::string& hostPath, std::pair<dev_t, ino_t>& id) {
    struct stat info {};
    if (::stat(hostPath.c_str(), &info) != 0) return false;
    id = {info.st_dev, info.st_ino};
    return true;
}

bool heldByHostProgram(const struct stat& info) {
    HeldFiles& held = heldFiles();
    std::lock_guard<std::mutex> lock(held.mutex);
    return held.files.count({info.st_dev, info.st_ino}) != 0;
}

}  // namespace kernel

namespace emu {

bool holdFileForHostProgram(const std::string& hostPath) {
    std::pair<dev_t, ino_t> id;
    if (!kernel::identify(hostPath, id)) return false;
    kernel::HeldFiles& held = kernel::heldFiles();
    std::lock_guard<std::mutex> lock(held.mutex);
    held.files.insert(id);
    return true;
}

void releaseFileOfHostProgram(const std::string& hostPath) {
    std::pair<dev_t, ino_t> id;
    if (!kernel::identify(hostPath, id)) return;
    kernel::HeldFiles& held = kernel::heldFiles();
    std::lock_guard<std::mutex> lock(held.mutex);
    const auto found = held.files.find(id);
    if (found != held.files.end()) held.files.erase(found);
}

}  // namespace emu
