// Every call the kernel can fail, of a help load, an information page and each picture load, failed
// in turn: the program neither crashes nor leaks, says only what it is meant to say (nothing for
// help and pages, the damaged-file message once for a picture), and the bar leads back home.
#include "tests/scenarios/pages_edition.h"
#include "tests/scenarios/fault_sweep.h"

#include "emulator.h"
#include "platform/gdi/screen.h"
#include "platform/shell/shell.h"
#include "resources/dernolo/dernolo_ids.h"
#include "shell/button_bar.h"
#include "shell/shell_state.h"
#include "shell/tile_table.h"

#include <cstdio>
#include <functional>

namespace {

using namespace dernolo_test;

struct SweepOutcome {
    FaultedAction action;
    Leftovers left;  // what was alive once the program ended
};

struct SweepCase {
    const char* name;
    std::function<void()> prepare;  // the user's steps before the action
    std::function<void()> action;   // the steps whose calls are failed
    std::function<void()> after;    // the user goes on: the program must still answer
    int pictures;                   // damaged-file messages allowed: one per picture loaded
};

class PageFaults : public PagesScenario {
protected:
    SweepOutcome runOnce(const SweepCase& c, FaultKind kind, unsigned index)
    {
        SweepOutcome outcome;
        restartDevice();
        run([&] {
            c.prepare();
            outcome.action = runFaulted(kind, index, c.action);
            c.after();
            driver::quitProgram();
        });
        outcome.left = leftovers(outcome.action);
        return outcome;
    }

    void sweep(const SweepCase& c)
    {
        const SweepOutcome clean = runOnce(c, noFault, 0);
        ASSERT_TRUE(clean.action.boxes.empty()) << c.name << ": a clean run shows no message";
        ASSERT_GT(clean.action.counts[emu::FailingCall::read], 0u) << c.name;
        int damagedRuns = 0;
        forEachFault(c.name, clean.action.counts, [&](FaultKind kind, unsigned i) {
            const SweepOutcome faulty = runOnce(c, kind, i);
            expectNothingLeaked(faulty.left, clean.left);
            EXPECT_LE(static_cast<int>(faulty.action.boxes.size()), c.pictures);
            damagedRuns += faulty.action.boxes.empty() ? 0 : 1;
            for (const driver::BoxRecord& box : faulty.action.boxes) {
                EXPECT_EQ(box.caption, u"ОШИБКА");
                EXPECT_EQ(box.text, u"Файл базы данных поврежден !?");
            }
        });
        std::printf("%s: %s failed in turn; %d runs reported damage\n", c.name, countsText(clean.action.counts).c_str(),
                    damagedRuns);
        if (c.pictures > 0) {
            EXPECT_GT(damagedRuns, 0) << c.name << ": the failures reached the picture loads";
        }
    }
};

void nothing() {}

HWND mainScreen() { return driver::findWindow(u"DERNOLO", u"Morvane Quillden"); }

TEST_F(PageFaults, HelpLoad)
{
    sweep({"help", nothing, [] { tapFrontBar(IDI_BAR_HELP); }, backHomeByBar, 0});
}

TEST_F(PageFaults, InformationPage)
{
    sweep({"page", nothing,
           [] {
               const RECT& r = tileTable[8].rect;
               POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
               ClientToScreen(mainScreen(), &p);
               driver::tap(p.x, p.y);
           },
           backHomeByBar, 0});
}

TEST_F(PageFaults, AboutPicturesInBothOrientations)
{
    sweep({"about portrait", nothing, [] { driver::pressKey('A', {VK_CONTROL}); }, backHomeByBar, 2});
    sweep({"about landscape", [] { driver::pressKey('A', {VK_CONTROL}); },
           [] {
               gdi::resizeScreen(320, 240);
               shell::screenTurned(320, 240);
               driver::waitIdle();
           },
           backHomeByBar, 2});
}

TEST_F(PageFaults, MetroScheme)
{
    sweep({"metro",
           nothing,
           [] {
               const RECT& r = tileTable[7].rect;
               POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
               ClientToScreen(mainScreen(), &p);
               driver::tap(p.x, p.y);
           },
           [] {
               driver::pressKey(VK_RIGHT);
               backHomeByBar();
           },
           1});
}

}  // namespace
