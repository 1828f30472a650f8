// Every allocation, file read and seek of loading the favourites and of appending one failed in
// turn: no crash, no leak, no box for a load (the page shows the whole list or none, never a part
// or garbage), the write error's box for an append that did not go in, and a file that holds
// either its old bytes or the old bytes and the whole new line, never a piece of it.
#include "tests/scenarios/favourites_scenario.h"
#include "tests/scenarios/fault_sweep.h"

#include "emulator.h"
#include "shell/shell_state.h"

#include <cstdio>

namespace {

using namespace dernolo_test;

using Slots = std::vector<std::u16string>;

// Written without a break after its last line, so that the append also reads and ends it.
const std::u16string startingFile = u"Аптеки\r\n*заметка\r\nВокзалы";

struct Outcome {
    FaultedAction action;
    Slots slots;
    std::string file;
    size_t blocksLeft = 0;
};

class FavouritesFaults : public FavouritesScenario {
protected:
    static void chooseBanks()
    {
        tapTile(favouritesTile);
        tapTile(addTile);
        tapItem(u"Банки");
    }

    // One program run: `prepare` clean, then `act` with the planned failure, then a clean check
    // that the page reads the file again whole.
    Outcome runOnce(const std::function<void()>& prepare, const std::function<void()>& act, FaultKind kind,
                    unsigned index)
    {
        Outcome outcome;
        restartDevice();
        writeFavourites(cp1251(startingFile));
        run([&] {
            prepare();
            outcome.action = runFaulted(kind, index, act);
            outcome.slots = slots();
            enterFavouritesPage();
            if (slots().empty())
                driver::fail("the list is not read again after the fault");
            driver::quitProgram();
        });
        outcome.file = readFavourites();
        outcome.blocksLeft = emu::liveLocalBlocks();
        return outcome;
    }
};

void answerYes() { driver::answerBox(IDYES); }

TEST_F(FavouritesFaults, LoadingThePage)
{
    const Slots whole = {u"Аптеки", u"Вокзалы"};
    auto enter = [] { tapTile(favouritesTile); };
    const Outcome clean = runOnce([] {}, enter, FaultKind::none, 0);
    ASSERT_EQ(clean.slots, whole);
    ASSERT_GT(clean.action.counts.reads, 0u);
    int emptied = 0;
    forEachFault("load", clean.action.counts, [&](FaultKind kind, unsigned i) {
        const Outcome faulty = runOnce([] {}, enter, kind, i);
        EXPECT_EQ(faulty.blocksLeft, clean.blocksLeft) << "blocks leaked";
        EXPECT_TRUE(faulty.action.boxes.empty()) << "a list that cannot be read is no list, silently";
        EXPECT_TRUE(faulty.slots == whole || faulty.slots.empty());
        emptied += faulty.slots.empty() ? 1 : 0;
        EXPECT_EQ(faulty.file, clean.file);
    });
    std::printf("load: %lu allocations and %lu reads failed in turn; %d empty pages\n", clean.action.counts.allocations,
                clean.action.counts.reads, emptied);
    EXPECT_GT(emptied, 0) << "the failures reached the file's read";
}

TEST_F(FavouritesFaults, AppendingTheChosenRubric)
{
    const std::string before = cp1251(startingFile);
    const std::string after = cp1251(startingFile + u"\r\nБанки\r\n");
    const Outcome clean = runOnce(chooseBanks, answerYes, FaultKind::none, 0);
    ASSERT_EQ(clean.file, after);
    ASSERT_TRUE(clean.action.boxes.empty());
    ASSERT_GT(clean.action.counts.reads, 1u) << "the last byte and the reload";

    auto check = [&](const Outcome& faulty) {
        EXPECT_EQ(faulty.blocksLeft, clean.blocksLeft) << "blocks leaked";
        const bool appended = faulty.file == after;
        EXPECT_TRUE(appended || faulty.file == before) << "a piece of a line: " << faulty.file;
        EXPECT_LE(faulty.action.boxes.size(), 1u);
        for (const driver::BoxRecord& box : faulty.action.boxes)
            EXPECT_EQ(box.caption, u"ОШИБКА ЗАПИСИ");
        // An entry that did not go in is said so; one that did is never reported as failed.
        EXPECT_EQ(faulty.action.boxes.size(), appended ? 0u : 1u);
        return appended;
    };
    int refused = 0;
    forEachFault("append", clean.action.counts, [&](FaultKind kind, unsigned i) {
        refused += check(runOnce(chooseBanks, answerYes, kind, i)) ? 0 : 1;
    });
    // The append's two seeks: to the last byte and to the end.
    for (unsigned i = 0; i < 2; ++i) {
        SCOPED_TRACE("seek " + std::to_string(i));
        auto seekRefused = [i] {
            emu::failSetFilePointer(1, ERROR_SEEK, i);
            answerYes();
        };
        refused += check(runOnce(chooseBanks, seekRefused, FaultKind::none, 0)) ? 0 : 1;
    }
    std::printf("append: %lu allocations, %lu reads and 2 seeks failed in turn; %d appends refused\n",
                clean.action.counts.allocations, clean.action.counts.reads, refused);
    EXPECT_GE(refused, 3) << "the last byte's read and both seeks";
}

}  // namespace
