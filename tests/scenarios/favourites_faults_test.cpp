// Every call the kernel can fail, of loading the favourites, appending one, clearing them and
// editing them, failed in turn: no crash, no leak, no box for a load (the page shows the whole list
// or none, never a part or garbage), the write error's box for an append or a clearing that did not
// go through, a file that holds either its old bytes or the old bytes and the whole new line, never
// a piece of it, and the bar leads back home.
#include "tests/scenarios/favourites_scenario.h"
#include "tests/scenarios/fault_sweep.h"

#include "emulator.h"
#include "platform/gdi/screen.h"
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
    Leftovers left;
};

class FavouritesFaults : public FavouritesScenario {
protected:
    static void enterPage() { tapTile(favouritesTile); }

    // A tile whose box may not come when its calls fail.
    static void tapAndAnswer(int tile, int answer)
    {
        tapTile(tile);
        if (driver::openBox())
            driver::answerBox(answer);
    }

    static void chooseBanks()
    {
        tapTile(favouritesTile);
        tapTile(addTile);
        tapItem(u"Банки");
    }

    // One program run: `prepare` clean, then `act` with the planned failure, then a clean check
    // that the page reads the file again whole (when the action leaves it a list).
    Outcome runOnce(const std::function<void()>& prepare, const std::function<void()>& act, FaultKind kind,
                    unsigned index, bool listKept = true)
    {
        Outcome outcome;
        restartDevice();
        writeFavourites(cp1251(startingFile));
        run([&] {
            prepare();
            outcome.action = runFaulted(kind, index, act);
            outcome.slots = slots();
            enterFavouritesPage();
            if (listKept && slots().empty())
                driver::fail("the list is not read again after the fault");
            backHomeByBar();
            driver::quitProgram();
        });
        outcome.file = readFavourites();
        outcome.left = leftovers(outcome.action);
        return outcome;
    }
};

void answerYes() { driver::answerBox(IDYES); }

TEST_F(FavouritesFaults, LoadingThePage)
{
    const Slots whole = {u"Аптеки", u"Вокзалы"};
    auto enter = [] { tapTile(favouritesTile); };
    const Outcome clean = runOnce([] {}, enter, noFault, 0);
    ASSERT_EQ(clean.slots, whole);
    ASSERT_GT(clean.action.counts[emu::FailingCall::read], 0u);
    int emptied = 0;
    forEachFault("load", clean.action.counts, [&](FaultKind kind, unsigned i) {
        const Outcome faulty = runOnce([] {}, enter, kind, i);
        expectNothingLeaked(faulty.left, clean.left);
        EXPECT_TRUE(faulty.action.boxes.empty()) << "a list that cannot be read is no list, silently";
        EXPECT_TRUE(faulty.slots == whole || faulty.slots.empty());
        emptied += faulty.slots.empty() ? 1 : 0;
        EXPECT_EQ(faulty.file, clean.file);
    });
    std::printf("load: %s failed in turn; %d empty pages\n", countsText(clean.action.counts).c_str(), emptied);
    EXPECT_GT(emptied, 0) << "the failures reached the file's read";
}

// The page's repaint stretches the slot picture once a slot size into a memory copy; a copy that
// cannot be made leaves the slots stretched one by one, to the same pixels.
TEST_F(FavouritesFaults, RepaintingThePage)
{
    std::u16string twelve;
    for (int i = 0; i < 12; ++i)
        twelve += u"Рубрика " + std::u16string(1, static_cast<char16_t>(u'А' + i)) + u"\r\n";
    struct Painted {
        FaultedAction action;
        std::vector<uint32_t> pixels;
        Leftovers left;
    };
    auto paintOnce = [&](FaultKind kind, unsigned index) {
        Painted painted;
        restartDevice();
        writeFavourites(cp1251(twelve));
        run([&] {
            tapTile(favouritesTile);
            painted.action = runFaulted(kind, index, [] {
                InvalidateRect(mainWindow(), nullptr, TRUE);
                driver::waitIdle();
            });
            painted.pixels = gdi::screen().pixels;
            backHomeByBar();
            driver::quitProgram();
        });
        painted.left = leftovers(painted.action);
        return painted;
    };
    const Painted clean = paintOnce(noFault, 0);
    ASSERT_GE(clean.action.counts[emu::FailingCall::gdiObject], 2u) << "the slots' copies";
    int same = 0;
    forEachFault("repaint", clean.action.counts, [&](FaultKind kind, unsigned i) {
        const Painted faulty = paintOnce(kind, i);
        expectNothingLeaked(faulty.left, clean.left);
        same += faulty.pixels == clean.pixels ? 1 : 0;
    });
    std::printf("repaint: %s failed in turn; %d painted the same\n", countsText(clean.action.counts).c_str(), same);
    // Among them the copies of the two slot sizes: with a fallback that drew otherwise, three of
    // the six did.
    EXPECT_GE(same, 5);
}

TEST_F(FavouritesFaults, AppendingTheChosenRubric)
{
    const std::string before = cp1251(startingFile);
    const std::string after = cp1251(startingFile + u"\r\nБанки\r\n");
    const Outcome clean = runOnce(chooseBanks, answerYes, noFault, 0);
    ASSERT_EQ(clean.file, after);
    ASSERT_TRUE(clean.action.boxes.empty());
    ASSERT_GT(clean.action.counts[emu::FailingCall::read], 1u) << "the last byte and the reload";

    auto check = [&](const Outcome& faulty) {
        expectNothingLeaked(faulty.left, clean.left);
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
    std::printf("append: %s failed in turn; %d appends refused\n", countsText(clean.action.counts).c_str(), refused);
    EXPECT_GE(refused, 3) << "the last byte's read and both seeks";
}

// The list either goes whole, silently, or stays whole with the write error's box.
TEST_F(FavouritesFaults, ClearingTheList)
{
    auto clear = [] { tapAndAnswer(clearTile, IDYES); };
    const Outcome clean = runOnce(enterPage, clear, noFault, 0, false);
    ASSERT_EQ(clean.file, "");
    ASSERT_TRUE(clean.slots.empty());
    ASSERT_EQ(clean.action.counts[emu::FailingCall::fileDelete], 1u);
    int kept = 0;
    forEachFault("clear", clean.action.counts, [&](FaultKind kind, unsigned i) {
        const Outcome faulty = runOnce(enterPage, clear, kind, i, false);
        expectNothingLeaked(faulty.left, clean.left);
        const bool cleared = faulty.file.empty();
        EXPECT_TRUE(cleared || faulty.file == cp1251(startingFile)) << faulty.file;
        int writeErrors = 0;
        for (const driver::BoxRecord& box : faulty.action.boxes)
            writeErrors += box.caption == u"ОШИБКА ЗАПИСИ" ? 1 : 0;
        // The confirmation is all a cleared list shows; a kept one says why it stayed.
        EXPECT_EQ(writeErrors, cleared ? 0 : 1);
        if (cleared) {
            EXPECT_TRUE(faulty.slots.empty()) << "the page shows no entry of a deleted file";
        }
        kept += cleared ? 0 : 1;
    });
    std::printf("clear: %s failed in turn; %d lists kept\n", countsText(clean.action.counts).c_str(), kept);
    EXPECT_GT(kept, 0) << "the failures reached the delete";
}

// The notes editor: the reminder, then the editor started on the file, which it leaves as it is;
// an editor that cannot start is said so, and the page shows the list again either way.
TEST_F(FavouritesFaults, EditingInTheNotesEditor)
{
    auto edit = [] { tapAndAnswer(editTile, IDOK); };
    const Outcome clean = runOnce(enterPage, edit, noFault, 0);
    ASSERT_EQ(clean.file, cp1251(startingFile));
    ASSERT_EQ(clean.action.boxes.size(), 1u) << "the reminder";
    ASSERT_EQ(clean.action.counts[emu::FailingCall::processStart], 1u);
    int notStarted = 0;
    forEachFault("edit", clean.action.counts, [&](FaultKind kind, unsigned i) {
        const Outcome faulty = runOnce(enterPage, edit, kind, i);
        expectNothingLeaked(faulty.left, clean.left);
        EXPECT_EQ(faulty.file, clean.file);
        EXPECT_LE(faulty.action.boxes.size(), 2u);
        for (const driver::BoxRecord& box : faulty.action.boxes) {
            EXPECT_TRUE(box.caption == u"НАПОМИНАНИЕ" || box.caption == u"РЕДАКТОР ЗАМЕТОК")
                << emu::toUtf8(box.caption);
            notStarted += box.caption == u"РЕДАКТОР ЗАМЕТОК" ? 1 : 0;
        }
    });
    std::printf("edit: %s failed in turn; %d editors refused\n", countsText(clean.action.counts).c_str(), notStarted);
    EXPECT_GT(notStarted, 0) << "a refused start is said";
}

}  // namespace
