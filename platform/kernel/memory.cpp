// Fixed local memory blocks. Every live block is recorded, so that a pointer that is not one of
// ours is answered with ERROR_INVALID_HANDLE instead of corrupting the heap.
#include "emulator.h"
#include "kernel_state.h"

#include <cstdlib>
#include <cstring>

using namespace kernel;

namespace {

constexpr SIZE_T granule = 16;
// The device cannot hand out more than its 32-bit address space anyway.
constexpr SIZE_T largestBlock = 0x7FFFFFF0u;
constexpr UINT acceptedFlags = LMEM_ZEROINIT | 0x0010 /*LMEM_NOCOMPACT*/ | 0x0020 /*LMEM_NODISCARD*/;

HLOCAL failAlloc(DWORD error) {
    SetLastError(error);
    return nullptr;
}

SIZE_T usableSize(SIZE_T bytes) { return bytes <= granule ? granule : (bytes + granule - 1) & ~(granule - 1); }

// A planned failure, or a request no block can satisfy: the error to give, or NO_ERROR.
DWORD refusal(SIZE_T bytes) {
    if (const DWORD planned = plannedError(emu::FailingCall::allocation)) return planned;
    const Faults& faults = kernelState().faults;
    if (faults.allocLimited && bytes > faults.allocLimit) return faults.allocLimitError;
    if (bytes > largestBlock) return ERROR_NOT_ENOUGH_MEMORY;
    return NO_ERROR;
}

}  // namespace

HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes) {
    if ((uFlags & ~acceptedFlags) != 0) return failAlloc(ERROR_INVALID_PARAMETER);
    if (const DWORD error = refusal(uBytes)) return failAlloc(error);
    const SIZE_T size = usableSize(uBytes);
    // Only a block asked zeroed is zeroed: the read window is a quarter of the free memory, and
    // an optimiser may otherwise merge a malloc and a later memset into a calloc for every block.
    void* block = (uFlags & LMEM_ZEROINIT) ? std::calloc(1, size) : std::malloc(size);
    if (!block) return failAlloc(ERROR_NOT_ENOUGH_MEMORY);
    kernelState().localBlocks[block] = size;
    return block;
}

HLOCAL WINAPI LocalReAlloc(HLOCAL hMem, SIZE_T uBytes, UINT uFlags) {
    auto& blocks = kernelState().localBlocks;
    const auto found = blocks.find(hMem);
    if (found == blocks.end()) return failAlloc(ERROR_INVALID_HANDLE);
    if ((uFlags & ~(acceptedFlags | LMEM_MOVEABLE)) != 0) return failAlloc(ERROR_INVALID_PARAMETER);
    if (const DWORD error = refusal(uBytes)) return failAlloc(error);
    const SIZE_T oldSize = found->second;
    const SIZE_T size = usableSize(uBytes);
    if (size <= oldSize) {
        found->second = size;
        return hMem;
    }
    // Growing needs a move, which a fixed block allows only when the caller says so.
    if (!(uFlags & LMEM_MOVEABLE)) return failAlloc(ERROR_NOT_ENOUGH_MEMORY);
    void* moved = std::realloc(hMem, size);
    if (!moved) return failAlloc(ERROR_NOT_ENOUGH_MEMORY);
    blocks.erase(found);
    if (uFlags & LMEM_ZEROINIT) std::memset(static_cast<char*>(moved) + oldSize, 0, size - oldSize);
    blocks[moved] = size;
    return moved;
}

SIZE_T WINAPI LocalSize(HLOCAL hMem) {
    const auto& blocks = kernelState().localBlocks;
    const auto found = blocks.find(hMem);
    if (found == blocks.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return found->second;
}

HLOCAL WINAPI LocalFree(HLOCAL hMem) {
    if (!hMem) return nullptr;
    auto& blocks = kernelState().localBlocks;
    const auto found = blocks.find(hMem);
    if (found == blocks.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return hMem;
    }
    blocks.erase(found);
    std::free(hMem);
    return nullptr;
}

namespace emu {

size_t liveLocalBlocks() { return kernel::kernelState().localBlocks.size(); }

}  // namespace emu
