// The frame of a fault sweep: an action run once clean to count the calls it makes of each kind
// the kernel can fail (allocations, file opens, reads, seeks, writes and deletes, windows,
// dialogs, drawing objects, process starts), then once per counted call with that one call failing.
// Each sweep decides for itself what the user does around the action and what must hold after.
#pragma once

#include "emulator.h"
#include "platform/testing/scenario.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dernolo_test {

// The kind of call failed in a run; none for the clean run.
using FaultKind = std::optional<emu::FailingCall>;
inline constexpr FaultKind noFault = std::nullopt;

const char* faultName(emu::FailingCall kind);

// "3 allocation, 12 read, ..." for the kinds of call counted, for a sweep's summary line.
std::string countsText(const emu::CallCounts& counts);

// What one run of the action did.
struct FaultedAction {
    emu::CallCounts counts;                // the calls it made (a clean run's give the sweep's length)
    std::vector<driver::BoxRecord> boxes;  // the boxes it showed, each answered with OK
    size_t drawingObjectsBefore = 0;       // alive when it started
};

// Runs `action` with the call numbered `index` of `kind` failing (nothing fails for none), answers
// the boxes it leaves open, and clears the fault again.
FaultedAction runFaulted(FaultKind kind, unsigned index, const std::function<void()>& action);

// Calls `once` for every call of every kind that `clean` counted, each under a trace that names
// the sweep, the kind and the index.
void forEachFault(const std::string& name, const emu::CallCounts& clean,
                  const std::function<void(FaultKind, unsigned)>& once);

// A window or a dialog that cannot be made: the screen it was for does not open.
bool screenRefused(FaultKind kind);

// What a program run left behind once it ended: its memory blocks, and the drawing objects made
// from the action on (the drawing layer outlives the runs, and so do the objects of earlier ones).
struct Leftovers {
    size_t blocks = 0;
    size_t drawingObjects = 0;
};
Leftovers leftovers(const FaultedAction& action);
// A faulty run leaves the blocks a clean one leaves, and no more drawing objects (a clean first
// run may make some that the program keeps for later runs).
void expectNothingLeaked(const Leftovers& faulty, const Leftovers& clean);

// The user's way out of anything: the front window's back button until the home screen's main page shows, uncovered; the scenario fails otherwise.
void backHomeByBar();

}  // namespace dernolo_test
