// Every allocation and every file read of opening a rubric's firm list, and of reading a firm for
// its card, failed in turn: the program neither crashes nor leaks, says only what the list says
// of a firm it cannot read, and the next opening of the list shows every line again.
#include "tests/scenarios/firm_lists_edition.h"

#include "emulator.h"
#include "platform/testing/windows.h"
#include "resources/dernolo/dernolo_ids.h"

#include <cstdio>
#include <functional>

namespace {

using namespace dernolo_test;

enum class FaultKind { none, allocation, read };

struct SweepOutcome {
    emu::CallCounts counts;
    std::vector<driver::BoxRecord> boxes;  // shown during the action
    std::vector<std::u16string> linesAfter;  // the list opened again once the faults are gone
    size_t blocksLeft = 0;
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
            const size_t boxesBefore = driver::boxes().size();
            emu::clearFaults();
            if (kind == FaultKind::allocation)
                emu::failLocalAlloc(ERROR_NOT_ENOUGH_MEMORY, index);
            else if (kind == FaultKind::read)
                emu::failReadFile(ERROR_READ_FAULT, index);
            action();
            outcome.counts = emu::callCounts();
            for (int guard = 0; guard < 8 && driver::openBox(); ++guard)
                driver::answerBox(IDOK);
            emu::clearFaults();
            const std::vector<driver::BoxRecord> all = driver::boxes();
            outcome.boxes.assign(all.begin() + static_cast<std::ptrdiff_t>(boxesBefore), all.end());
            backToTelephones(mainWindow());
            // The caption tile works at once after a failed read (its scan starts by reading the
            // first record, which a refused rewind would not); a second tap is counted, not needed.
            tapTile(policeTile);
            if (GetActiveWindow() == mainWindow()) {
                outcome.tappedTwice = true;
                tapTile(policeTile);
            }
            outcome.linesAfter = listTexts();
            driver::quitProgram();
        });
        outcome.blocksLeft = emu::liveLocalBlocks();
        return outcome;
    }

    void sweep(const char* name, const std::function<void()>& prepare, const std::function<void()>& action,
               bool readErrorAllowed)
    {
        const SweepOutcome clean = runOnce(prepare, action, FaultKind::none, 0);
        ASSERT_TRUE(clean.boxes.empty()) << name << ": a clean run shows no message";
        ASSERT_EQ(clean.linesAfter, address.lines) << name;
        ASSERT_GT(clean.counts.reads, 0u) << name;
        int reported = 0;
        int streetless = 0;
        int retried = 0;
        for (FaultKind kind : {FaultKind::allocation, FaultKind::read}) {
            const unsigned long total = kind == FaultKind::allocation ? clean.counts.allocations : clean.counts.reads;
            for (unsigned i = 0; i < total; ++i) {
                SCOPED_TRACE(std::string(name) + (kind == FaultKind::allocation ? ": allocation " : ": read ") +
                             std::to_string(i));
                const SweepOutcome faulty = runOnce(prepare, action, kind, i);
                EXPECT_EQ(faulty.blocksLeft, clean.blocksLeft) << "blocks leaked";
                // Every firm is listed again once the fault is gone, with its address: a street
                // list whose load failed is loaded again at its next use.
                EXPECT_EQ(faulty.linesAfter, address.lines);
                EXPECT_FALSE(faulty.tappedTwice) << "the tile needed a second tap";
                streetless += faulty.linesAfter != address.lines ? 1 : 0;
                retried += faulty.tappedTwice ? 1 : 0;
                EXPECT_LE(faulty.boxes.size(), 2u);
                for (const driver::BoxRecord& box : faulty.boxes) {
                    EXPECT_TRUE(describedMessage(box)) << emu::toUtf8(box.caption) << ": " << emu::toUtf8(box.text);
                    EXPECT_EQ(box.style & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
                    if (!readErrorAllowed) {
                        EXPECT_NE(box.caption, u"БАЗА");
                    }
                }
                reported += faulty.boxes.empty() ? 0 : 1;
            }
        }
        std::printf("%s: %lu allocations, %lu reads failed in turn; %d runs showed a message, %d needed a second "
                    "tap on the tile, %d lost the streets\n",
                    name, clean.counts.allocations, clean.counts.reads, reported, retried, streetless);
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
