// Every call the kernel can fail, of opening a rubric's firm list and of reading a firm for its
// card, failed in turn: the program neither crashes nor leaks, says only what the list says of a
// firm it cannot read, the next opening of the list shows every line again, and the bar leads
// back home.
#include "tests/scenarios/firm_lists_edition.h"
#include "tests/scenarios/fault_sweep.h"

#include "emulator.h"
#include "platform/testing/windows.h"
#include "resources/dernolo/dernolo_ids.h"

#include <cstdio>
#include <functional>

namespace {

using namespace dernolo_test;

struct SweepOutcome {
    FaultedAction action;
    std::vector<std::u16string> linesAfter;  // the list opened again once the faults are gone
    Leftovers left;
    bool tappedTwice = false;
};

// The messages the reader and the list may give for a failed call: the reader's lack of memory
// and damaged file, the list's unreadable firm.
bool describedMessage(const driver::BoxRecord& box)
{
    return (box.caption == u"БАЗА" && box.text == u"Ошибка чтения базы!") ||
           (box.caption == u"ОШИБКА" && box.text == u"Файл базы данных поврежден !?") ||
           box.caption == u"ИЗВИНИТЕ";
}

std::vector<std::u16string> listTexts()
{
    std::vector<std::u16string> texts;
    for (const driver::ListLineDump& line : shownLines(IDC_FIRM_LIST))
        texts.push_back(line.text);
    return texts;
}

// Out of whatever the action left open, back to the telephones page.
void backToTelephones(HWND home)
{
    for (int i = 0; i < 3 && GetActiveWindow() != home; ++i)
        driver::pressKey(VK_ESCAPE);
}

class FirmListFaults : public DernoloScenario {
protected:
    void SetUp() override
    {
        DernoloScenario::SetUp();
        address = addressEdition();
        installEdition(address.edition, "spb.ydb");
    }

    SweepOutcome runOnce(const std::function<void()>& prepare, const std::function<void()>& action, FaultKind kind,
                         unsigned index)
    {
        SweepOutcome outcome;
        restartDevice();
        run([&] {
            tapTile(telephonesTile);
            prepare();
            outcome.action = runFaulted(kind, index, action);
            backToTelephones(mainWindow());
            // The caption tile works at once after a failed read (its scan starts by reading the
            // first record, which a refused rewind would not); a second tap is counted, not needed.
            tapTile(policeTile);
            if (GetActiveWindow() == mainWindow()) {
                outcome.tappedTwice = true;
                tapTile(policeTile);
            }
            outcome.linesAfter = listTexts();
            backHomeByBar();
            driver::quitProgram();
        });
        outcome.left = leftovers(outcome.action);
        return outcome;
    }

    void sweep(const char* name, const std::function<void()>& prepare, const std::function<void()>& action,
               bool readErrorAllowed)
    {
        const SweepOutcome clean = runOnce(prepare, action, noFault, 0);
        ASSERT_TRUE(clean.action.boxes.empty()) << name << ": a clean run shows no message";
        ASSERT_EQ(clean.linesAfter, address.lines) << name;
        ASSERT_GT(clean.action.counts[emu::FailingCall::read], 0u) << name;
        int reported = 0;
        int streetless = 0;
        int retried = 0;
        forEachFault(name, clean.action.counts, [&](FaultKind kind, unsigned i) {
            const SweepOutcome faulty = runOnce(prepare, action, kind, i);
            expectNothingLeaked(faulty.left, clean.left);
            // Every firm is listed again once the fault is gone, with its address: a street
            // list whose load failed is loaded again at its next use.
            EXPECT_EQ(faulty.linesAfter, address.lines);
            EXPECT_FALSE(faulty.tappedTwice) << "the tile needed a second tap";
            streetless += faulty.linesAfter != address.lines ? 1 : 0;
            retried += faulty.tappedTwice ? 1 : 0;
            EXPECT_LE(faulty.action.boxes.size(), 2u);
            for (const driver::BoxRecord& box : faulty.action.boxes) {
                EXPECT_TRUE(describedMessage(box)) << emu::toUtf8(box.caption) << ": " << emu::toUtf8(box.text);
                EXPECT_EQ(box.style & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
                if (!readErrorAllowed) {
                    EXPECT_NE(box.caption, u"БАЗА");
                }
            }
            reported += faulty.action.boxes.empty() ? 0 : 1;
        });
        std::printf("%s: %s failed in turn; %d runs showed a message, %d needed a second tap on the tile, %d lost "
                    "the streets\n",
                    name, countsText(clean.action.counts).c_str(), reported, retried, streetless);
    }

    AddressEdition address;
};

TEST_F(FirmListFaults, OpeningARubricsFirmList)
{
    sweep("firm list", [] {}, [] { tapTile(policeTile); }, true);
}

TEST_F(FirmListFaults, ReadingAFirmForItsCard)
{
    sweep("firm for its card", [] { tapTile(policeTile); },
          [] {
              tapLine(IDC_FIRM_LIST, 1);
              // The card, when it opened, is left as a user leaves it.
              if (frontList(IDC_FIRM_LIST) == nullptr)
                  driver::pressKey(VK_ESCAPE);
          },
          false);
}

}  // namespace
