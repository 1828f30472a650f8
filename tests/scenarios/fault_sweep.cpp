#include "tests/scenarios/fault_sweep.h"

#include <gtest/gtest.h>

namespace dernolo_test {

FaultedAction runFaulted(FaultKind kind, unsigned index, const std::function<void()>& action)
{
    FaultedAction outcome;
    const size_t boxesBefore = driver::boxes().size();
    emu::clearFaults();
    if (kind == FaultKind::allocation)
        emu::failLocalAlloc(ERROR_NOT_ENOUGH_MEMORY, index);
    else if (kind == FaultKind::read)
        emu::failReadFile(ERROR_READ_FAULT, index);
    action();
    outcome.counts = emu::callCounts();
    // A guard, not a count: an action that keeps asking is the sweep's failure, not an endless run.
    for (int guard = 0; guard < 8 && driver::openBox(); ++guard)
        driver::answerBox(IDOK);
    emu::clearFaults();
    const std::vector<driver::BoxRecord> all = driver::boxes();
    outcome.boxes.assign(all.begin() + static_cast<std::ptrdiff_t>(boxesBefore), all.end());
    return outcome;
}

void forEachFault(const std::string& name, const emu::CallCounts& clean,
                  const std::function<void(FaultKind, unsigned)>& once)
{
    for (FaultKind kind : {FaultKind::allocation, FaultKind::read}) {
        const bool allocation = kind == FaultKind::allocation;
        const unsigned long total = allocation ? clean.allocations : clean.reads;
        for (unsigned i = 0; i < total; ++i) {
            SCOPED_TRACE(name + (allocation ? ": allocation " : ": read ") + std::to_string(i));
            once(kind, i);
        }
    }
}

}  // namespace dernolo_test
