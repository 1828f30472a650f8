// All program-wide state of the kernel, in one record. The kernel is used from one thread.
#pragma once

#include "emulator.h"
#include "win32.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <unordered_map>
#include <variant>
#include <vector>

namespace kernel {

// An open file: its own host descriptor and position, and what it asked of the file's sharing.
struct OpenFile {
    int fd = -1;
    DWORD access = 0;
    DWORD share = 0;
    uint64_t position = 0;
    dev_t device = 0;
    ino_t inode = 0;
};

struct FoundEntry {
    std::u16string name;
    DWORD attributes = 0;
    uint64_t size = 0;
    int64_t writeTimeNs = 0;
};

// A folder listing taken by FindFirstFileW and handed out by FindNextFileW.
struct FindSearch {
    std::vector<FoundEntry> entries;
    size_t next = 0;
};

struct MutexRef {
    std::u16string name;
};

struct HandleSlot {
    uint16_t generation = 0;
    std::variant<std::monostate, OpenFile, FindSearch, MutexRef> object;
};

// A named mutex of this process: its host lock file and how many handles refer to it.
struct NamedMutex {
    int lockFd = -1;
    unsigned handles = 0;
};

// Planned failures for tests: `skip` calls pass, then `count` calls fail.
struct Fault {
    unsigned skip = 0;
    unsigned count = 0;
    DWORD error = 0;
    // Consumes one call: true when this one is to fail.
    bool strikes();
};

struct Faults {
    Fault planned[emu::failingCallKinds];
    // Every call that a planned failure could strike, counted whether it strikes or not.
    unsigned long made[emu::failingCallKinds] = {};
    Fault shortRead;
    DWORD shortReadLimit = 0;
    bool allocLimited = false;
    SIZE_T allocLimit = 0;
    DWORD allocLimitError = 0;
};

struct MemoryProfile {
    bool emulated = false;
    uint64_t availablePhys = 0;
    uint64_t reclaimable = 0;
};

struct Resource {
    std::u16string type;  // empty when typeId is used
    WORD typeId = 0;
    std::u16string name;
    WORD nameId = 0;
    const void* data = nullptr;
    uint32_t size = 0;
};

struct Library {
    std::u16string name;  // upper-cased, without folder
    std::vector<emu::LibraryExport> exports;
    unsigned loads = 0;
    uint16_t generation = 0;
};

struct KernelState {
    std::string deviceRoot;  // host folder, no trailing slash ("" = none set)
    std::u16string moduleFileName = u"\\Program Files\\Dernolo\\Dernolo.exe";

    std::vector<HandleSlot> handles;
    std::unordered_map<std::u16string, NamedMutex> mutexes;

    std::unordered_map<void*, SIZE_T> localBlocks;
    MemoryProfile memory;
    Faults faults;

    std::vector<Resource> resources;
    uint16_t resourceGeneration = 1;
    std::vector<Library> libraries;

    std::vector<std::string> journal;
    emu::MessageBoxHandler messageBoxHandler;

    std::chrono::steady_clock::time_point startTime = std::chrono::steady_clock::now();
};

// Counts one call of `kind`: the error of a planned failure that strikes it, else NO_ERROR.
DWORD plannedError(emu::FailingCall kind);

// The one kernel state of the program, made on first use (static initialisers that register
// resources may come before anything else) and never destroyed.
KernelState& kernelState();

}  // namespace kernel
