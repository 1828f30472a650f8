// Every call the kernel can fail, of opening the rubric tree, failed in turn, from a program
// whose read window went back to the system (as it does in the background): the program neither
// crashes nor leaks, says only what a refused window or a failed read of the rubrics says, shows
// the rubrics read before the failure, the screen still closes and the bar leads back home. (The
// database keeps a read error for good, so what later openings show is the reader's business.)
#include "tests/scenarios/rubric_tree_edition.h"
#include "tests/scenarios/fault_sweep.h"

#include "db/database.h"
#include "db/database_program.h"
#include "emulator.h"
#include "resources/dernolo/dernolo_ids.h"
#include "search/search_state.h"

#include <cstdio>

namespace {

using namespace dernolo_test;

constexpr DWORD firstFillBytes = 60;

struct Outcome {
    FaultedAction opening;
    Leftovers left;
    size_t items = 0;
    bool opened = false;
};

class RubricTreeFaults : public RubricTreeScenario {
protected:
    // With `shortFirstRead` the first fill of the window brings only a part of the rubrics, so that
    // a later fill, in the middle of the table, can fail too.
    Outcome runOnce(int tile, bool shortFirstRead, FaultKind kind, unsigned index)
    {
        Outcome outcome;
        restartDevice();
        run([&] {
            releaseWindow(*databaseProgram.current);
            outcome.opening = runFaulted(kind, index, [&] {
                if (shortFirstRead)
                    emu::shortReadFile(firstFillBytes);
                tapTile(tile);
            });
            outcome.items = shownItems().size();
            outcome.opened = treeScreen() != nullptr;
            if (outcome.opened) {
                tapBar(GetActiveWindow(), IDI_BAR_BACK);
                if (treeScreen() != nullptr)
                    driver::fail("the tree did not close");
            }
            // Back from the background, with a new window, the rubrics are read again.
            releaseWindow(*databaseProgram.current);
            tapTile(tile);
            tapItem(u"Банки");
            if (firmListScreen() == nullptr)
                driver::fail("a rubric does not open after the fault");
            backHomeByBar();
            driver::quitProgram();
        });
        outcome.left = leftovers(outcome.opening);
        return outcome;
    }

    void sweep(int tile, bool shortFirstRead, const char* name)
    {
        const Outcome clean = runOnce(tile, shortFirstRead, noFault, 0);
        ASSERT_TRUE(clean.opened) << name;
        ASSERT_TRUE(clean.opening.boxes.empty()) << name;
        ASSERT_GT(clean.opening.counts[emu::FailingCall::read], 0u) << name << ": opening reads the rubrics";
        ASSERT_GT(clean.opening.counts[emu::FailingCall::allocation], 0u) << name << ": the read window is made again";
        int reported = 0;
        int shortTrees = 0;
        int partTrees = 0;
        forEachFault(name, clean.opening.counts, [&](FaultKind kind, unsigned i) {
            const Outcome faulty = runOnce(tile, shortFirstRead, kind, i);
            expectNothingLeaked(faulty.left, clean.left);
            EXPECT_LE(faulty.items, clean.items);
            if (!faulty.opened) {
                EXPECT_TRUE(screenRefused(kind)) << "only a screen that cannot be made stays closed";
                EXPECT_TRUE(faulty.opening.boxes.empty()) << "a screen that never was has read nothing";
                return;
            }
            shortTrees += faulty.items < clean.items ? 1 : 0;
            partTrees += faulty.items > 0 && faulty.items < clean.items ? 1 : 0;
            // A refused window is said once by the reader and once more as the rubrics' failure.
            EXPECT_LE(faulty.opening.boxes.size(), 2u);
            for (const driver::BoxRecord& box : faulty.opening.boxes) {
                ++reported;
                const bool described = box.caption == u"РУБРИКИ" || box.caption == u"ИЗВИНИТЕ" ||
                                       (box.caption == u"ОШИБКА" && box.text == u"Файл базы данных поврежден !?");
                EXPECT_TRUE(described) << emu::toUtf8(box.caption) << ": " << emu::toUtf8(box.text);
            }
        });
        std::printf("%s: %s failed in turn; %d boxes, %d shorter trees\n", name,
                    countsText(clean.opening.counts).c_str(), reported, shortTrees);
        EXPECT_GT(shortTrees, 0) << "the failures reached the rubric reads";
        if (shortFirstRead) {
            EXPECT_GT(partTrees, 0) << "a read failed in the middle leaves the rubrics read before it";
        }
    }
};

TEST_F(RubricTreeFaults, OpeningTheHierarchy)
{
    sweep(themesTile, false, "hierarchy");
    sweep(themesTile, true, "hierarchy in two fills");
}

TEST_F(RubricTreeFaults, OpeningTheFlatList)
{
    sweep(rubricsTile, false, "flat list");
    sweep(rubricsTile, true, "flat list in two fills");
}

}  // namespace
