#include "tests/scenarios/fault_sweep.h"

#include "card/html_pane.h"
#include "platform/gdi/screen.h"
#include "platform/testing/windows.h"
#include "resources/dernolo/dernolo_ids.h"
#include "shell/shell_state.h"
#include "tests/scenarios/dernolo_fixture.h"

#include <gtest/gtest.h>

namespace dernolo_test {

const char* faultName(emu::FailingCall kind)
{
    static const char* const names[emu::failingCallKinds] = {
        "allocation", "read",     "seek",   "file open",   "write",
        "delete",     "window",   "dialog", "drawing object", "process start",
    };
    return names[static_cast<unsigned>(kind)];
}

std::string countsText(const emu::CallCounts& counts)
{
    std::string text;
    for (unsigned k = 0; k < emu::failingCallKinds; ++k) {
        const auto kind = static_cast<emu::FailingCall>(k);
        if (counts[kind] == 0)
            continue;
        text += (text.empty() ? "" : ", ") + std::to_string(counts[kind]) + " " + faultName(kind);
    }
    return text.empty() ? "no calls" : text;
}

FaultedAction runFaulted(FaultKind kind, unsigned index, const std::function<void()>& action)
{
    FaultedAction outcome;
    const size_t boxesBefore = driver::boxes().size();
    outcome.drawingObjectsBefore = gdi::liveObjects();
    emu::clearFaults();
    if (kind)
        emu::failCall(*kind, index);
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
    for (unsigned k = 0; k < emu::failingCallKinds; ++k) {
        const auto kind = static_cast<emu::FailingCall>(k);
        for (unsigned i = 0; i < clean[kind]; ++i) {
            SCOPED_TRACE(name + ": " + faultName(kind) + " " + std::to_string(i));
            once(kind, i);
        }
    }
}

bool screenRefused(FaultKind kind)
{
    return kind == emu::FailingCall::windowCreation || kind == emu::FailingCall::dialogCreation;
}

Leftovers leftovers(const FaultedAction& action)
{
    return {emu::liveLocalBlocks(), gdi::liveObjects() - action.drawingObjectsBefore};
}

void expectNothingLeaked(const Leftovers& faulty, const Leftovers& clean)
{
    EXPECT_EQ(faulty.blocks, clean.blocks) << "memory blocks leaked";
    EXPECT_LE(faulty.drawingObjects, clean.drawingObjects) << "drawing objects leaked";
}

void backHomeByBar()
{
    auto covered = [] {
        return GetActiveWindow() != driver::findWindow(u"DERNOLO", u"Morvane Quillden") ||
               pageViewer.currentPane != nullptr || shellState.homePageIndex != 0;
    };
    for (int i = 0; i < 5 && covered(); ++i)
        tapFrontBar(IDI_BAR_BACK);
    if (covered())
        driver::fail("the home screen's main page did not come back by the bar");
}

}  // namespace dernolo_test
