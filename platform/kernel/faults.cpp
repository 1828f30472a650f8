// Planned failures of the platform's calls, for the tests of the callers' error handling.
#include "emulator.h"
#include "kernel_state.h"

#include <algorithm>
#include <iterator>

namespace emu {
namespace {

kernel::Faults& faults() { return kernel::kernelState().faults; }

kernel::Fault& planned(FailingCall kind) { return faults().planned[static_cast<unsigned>(kind)]; }

}  // namespace

DWORD usualError(FailingCall kind)
{
    switch (kind) {
    case FailingCall::allocation: return ERROR_NOT_ENOUGH_MEMORY;
    case FailingCall::read: return ERROR_READ_FAULT;
    case FailingCall::seek: return ERROR_SEEK;
    case FailingCall::fileOpen: return ERROR_SHARING_VIOLATION;
    case FailingCall::write: return ERROR_DISK_FULL;
    case FailingCall::fileDelete: return ERROR_ACCESS_DENIED;
    case FailingCall::windowCreation:
    case FailingCall::dialogCreation:
    case FailingCall::gdiObject: return ERROR_NOT_ENOUGH_MEMORY;
    case FailingCall::processStart: return ERROR_FILE_NOT_FOUND;
    }
    return ERROR_GEN_FAILURE;
}

void failCall(FailingCall kind, unsigned after, unsigned count) { failCallWith(kind, usualError(kind), after, count); }

void failCallWith(FailingCall kind, DWORD error, unsigned after, unsigned count) { planned(kind) = {after, count, error}; }

void failSetFilePointer(unsigned count, DWORD error, unsigned after) { failCallWith(FailingCall::seek, error, after, count); }

void failReadFile(DWORD error, unsigned after) { failCallWith(FailingCall::read, error, after); }

void shortReadFile(DWORD maxBytes, unsigned after) {
    faults().shortRead = {after, 1, NO_ERROR};
    faults().shortReadLimit = maxBytes;
}

void failLocalAlloc(DWORD error, unsigned after) { failCallWith(FailingCall::allocation, error, after); }

void failLocalAllocAbove(SIZE_T bytes, DWORD error) {
    faults().allocLimited = true;
    faults().allocLimit = bytes;
    faults().allocLimitError = error;
}

void clearFaults() { faults() = kernel::Faults{}; }

bool plannedFailure(FailingCall kind) {
    const DWORD error = kernel::plannedError(kind);
    if (error == NO_ERROR) return false;
    SetLastError(error);
    return true;
}

CallCounts callCounts() {
    CallCounts counts;
    std::copy(std::begin(faults().made), std::end(faults().made), counts.made);
    return counts;
}

}  // namespace emu

namespace kernel {

DWORD plannedError(emu::FailingCall kind) {
    ++emu::faults().made[static_cast<unsigned>(kind)];
    Fault& fault = emu::planned(kind);
    return fault.strikes() ? fault.error : NO_ERROR;
}

}  // namespace kernel
