// The frame of a fault sweep: an action run once clean to count its allocations and file reads,
// then once per counted call with that one call failing through the kernel's planned failures.
// Each sweep decides for itself what the user does around the action and what must hold after.
#pragma once

#include "emulator.h"
#include "platform/testing/scenario.h"

#include <functional>
#include <string>
#include <vector>

namespace dernolo_test {

enum class FaultKind { none, allocation, read };

// What one run of the action did.
struct FaultedAction {
    emu::CallCounts counts;                // the calls it made (a clean run's give the sweep's length)
    std::vector<driver::BoxRecord> boxes;  // the boxes it showed, each answered with OK
};

// Runs `action` with the call numbered `index` of `kind` failing (nothing fails for none), answers
// the boxes it leaves open, and clears the fault again.
FaultedAction runFaulted(FaultKind kind, unsigned index, const std::function<void()>& action);

// Calls `once` for every allocation and then every read that `clean` counted, each under a trace
// that names the sweep, the kind and the index.
void forEachFault(const std::string& name, const emu::CallCounts& clean,
                  const std::function<void(FaultKind, unsigned)>& once);

}  // namespace dernolo_test
