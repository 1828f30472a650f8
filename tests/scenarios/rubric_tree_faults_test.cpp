// Every allocation and every file read of opening the rubric tree failed in turn, from a program
// whose read window went back to the system (as it does in the background): the program neither
// crashes nor leaks, says only what a refused window or a failed read of the rubrics says, shows
// the rubrics read before the failure, and the screen still closes. (The database keeps a read
// error for good, so what later openings show is the reader's business, not this screen's.)
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
    size_t blocksLeft = 0;
    size_t items = 0;
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
            if (treeScreen() == nullptr) {
                driver::fail("the tree did not open");
                return;
            }
            tapBar(GetActiveWindow(), IDI_BAR_BACK);
            if (treeScreen() != nullptr)
                driver::fail("the tree did not close");
            // Back from the background, with a new window, the rubrics are read again.
            releaseWindow(*databaseProgram.current);
            tapTile(tile);
            tapItem(u"Банки");
            if (firmListScreen() == nullptr)
                driver::fail("a rubric does not open after the fault");
            driver::quitProgram();
        });
        outcome.blocksLeft = emu::liveLocalBlocks();
        return outcome;
    }

    void sweep(int tile, bool shortFirstRead, const char* name)
    {
        const Outcome clean = runOnce(tile, shortFirstRead, FaultKind::none, 0);
        ASSERT_TRUE(clean.opening.boxes.empty()) << name;
        ASSERT_GT(clean.opening.counts.reads, 0u) << name << ": opening reads the rubrics";
        ASSERT_GT(clean.opening.counts.allocations, 0u) << name << ": the read window is made again";
        int reported = 0;
        int shortTrees = 0;
        int partTrees = 0;
        forEachFault(name, clean.opening.counts, [&](FaultKind kind, unsigned i) {
            const Outcome faulty = runOnce(tile, shortFirstRead, kind, i);
            EXPECT_EQ(faulty.blocksLeft, clean.blocksLeft) << "blocks leaked";
            EXPECT_LE(faulty.items, clean.items);
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
        std::printf("%s: %lu allocations, %lu reads failed in turn; %d boxes, %d shorter trees\n", name,
                    clean.opening.counts.allocations, clean.opening.counts.reads, reported, shortTrees);
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
