// Memory status from the host or the device profile, and asking applications to close.
#include "ce.h"
#include "emulator.h"
#include "kernel_state.h"

#include <cstdio>
#include <cstring>
#include <string>

using namespace kernel;

namespace {

constexpr uint64_t deviceLimit = 0xFFFFFFFFu;
// A device process slot.
constexpr DWORD processSlot = 32u * 1024 * 1024;

struct HostMemory {
    uint64_t total = 0;
    uint64_t available = 0;
};

// MemTotal and MemAvailable of /proc/meminfo, in bytes (0 when unreadable).
HostMemory hostMemory() {
    HostMemory memory;
    std::FILE* file = std::fopen("/proc/meminfo", "r");
    if (!file) return memory;
    char line[256];
    while (std::fgets(line, sizeof line, file)) {
        unsigned long long kilobytes = 0;
        if (std::sscanf(line, "MemTotal: %llu kB", &kilobytes) == 1) memory.total = kilobytes * 1024;
        if (std::sscanf(line, "MemAvailable: %llu kB", &kilobytes) == 1) memory.available = kilobytes * 1024;
    }
    std::fclose(file);
    return memory;
}

DWORD capped(uint64_t bytes) { return static_cast<DWORD>(bytes > deviceLimit ? deviceLimit : bytes); }

uint64_t availablePhysical() {
    const MemoryProfile& profile = kernelState().memory;
    return profile.emulated ? profile.availablePhys : hostMemory().available;
}

}  // namespace

void WINAPI GlobalMemoryStatus(LPMEMORYSTATUS lpBuffer) {
    if (!lpBuffer) return;
    const MemoryProfile& profile = kernelState().memory;
    uint64_t total = 0;
    uint64_t available = 0;
    if (profile.emulated) {
        available = profile.availablePhys;
        total = available + profile.reclaimable;
    } else {
        const HostMemory host = hostMemory();
        total = host.total;
        available = host.available;
    }
    if (total < available) total = available;
    std::memset(lpBuffer, 0, sizeof *lpBuffer);
    lpBuffer->dwLength = sizeof *lpBuffer;
    lpBuffer->dwTotalPhys = capped(total);
    lpBuffer->dwAvailPhys = capped(available);
    lpBuffer->dwMemoryLoad = total == 0 ? 0 : static_cast<DWORD>(100 - available * 100 / total);
    lpBuffer->dwTotalVirtual = processSlot;
    lpBuffer->dwAvailVirtual = processSlot;
}

BOOL WINAPI SHCloseApps(DWORD dwMemSought) {
    MemoryProfile& profile = kernelState().memory;
    if (profile.emulated && profile.availablePhys < dwMemSought) {
        emu::appendJournal("SHCloseApps " + std::to_string(dwMemSought));
        const uint64_t wanted = dwMemSought - profile.availablePhys;
        const uint64_t freed = wanted < profile.reclaimable ? wanted : profile.reclaimable;
        profile.availablePhys += freed;
        profile.reclaimable -= freed;
    }
    return availablePhysical() >= dwMemSought ? TRUE : FALSE;
}

namespace emu {

void setAvailablePhysicalMemory(uint64_t bytes) {
    MemoryProfile& profile = kernel::kernelState().memory;
    profile.emulated = true;
    profile.availablePhys = bytes;
}

void setReclaimableMemory(uint64_t bytes) { kernel::kernelState().memory.reclaimable = bytes; }

void useHostMemory() { kernel::kernelState().memory = kernel::MemoryProfile{}; }

}  // namespace emu
