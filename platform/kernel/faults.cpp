// Planned failures of file and memory calls, for the tests of the callers' error handling.
#include "emulator.h"
#include "kernel_state.h"

namespace emu {
namespace {

kernel::Faults& faults() { return kernel::kernelState().faults; }

}  // namespace

void failSetFilePointer(unsigned count, DWORD error, unsigned after) { faults().seek = {after, count, error}; }

void failReadFile(DWORD error, unsigned after) { faults().read = {after, 1, error}; }

void shortReadFile(DWORD maxBytes, unsigned after) {
    faults().shortRead = {after, 1, NO_ERROR};
    faults().shortReadLimit = maxBytes;
}

void failLocalAlloc(DWORD error, unsigned after) { faults().alloc = {after, 1, error}; }

void failLocalAllocAbove(SIZE_T bytes, DWORD error) {
    faults().allocLimited = true;
    faults().allocLimit = bytes;
    faults().allocLimitError = error;
}

void clearFaults() { faults() = kernel::Faults{}; }

CallCounts callCounts() { return {faults().allocations, faults().reads}; }

}  // namespace emu
