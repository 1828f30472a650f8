// The journal of program starts and calls that a headless run records instead of carrying out.
#include "emulator.h"
#include "kernel_state.h"

namespace emu {

std::vector<std::string> journal() { return kernel::kernelState().journal; }

void appendJournal(std::string_view line) { kernel::kernelState().journal.emplace_back(line); }

void clearJournal() { kernel::kernelState().journal.clear(); }

}  // namespace emu
