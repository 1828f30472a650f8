// Every allocation and every file read of opening a business card failed in turn: the program
// neither crashes nor leaks, the card either opens whole or does not open, only the reader's own
// messages are shown, and a second opening afterwards shows the firm as it is.
#include "tests/scenarios/card_scenario.h"
#include "tests/scenarios/fault_sweep.h"

#include "emulator.h"
#include "platform/testing/windows.h"
#include "resources/dernolo/dernolo_ids.h"

#include <cstdio>

namespace {

using namespace dernolo_test;

struct OpenOutcome {
    FaultedAction opening;
    bool opened = false;
    std::u16string name;           // shown by the card opened under the fault, if any
    std::u16string nameAfterwards; // shown by a card opened once the faults are over
    size_t linesAfterwards = 0;    // its list's lines
    size_t blocksLeft = 0;
};

class CardFaults : public CardScenario {
protected:
    OpenOutcome openOnce(FaultKind kind, unsigned index)
    {
        OpenOutcome outcome;
        restartDevice();
        run([&] {
            installOpener({firmHorns});
            outcome.opening = runFaulted(kind, index, [&] { openCard(0); });
            outcome.opened = cardWindow() != nullptr;
            if (outcome.opened) {
                outcome.name = cardControl(IDC_CARD_NAME).text;
                tapBar(cardWindow(), IDI_BAR_BACK);
            }
            openCard(0);
            if (cardWindow() != nullptr) {
                outcome.nameAfterwards = cardControl(IDC_CARD_NAME).text;
                const driver::WindowDump list = cardControl(IDC_CARD_LIST);
                outcome.linesAfterwards = list.lines ? list.lines->size() : 0;
                tapBar(cardWindow(), IDI_BAR_BACK);
            }
            driver::quitProgram();
        });
        outcome.blocksLeft = emu::liveLocalBlocks();
        return outcome;
    }
};

TEST_F(CardFaults, EveryAllocationAndReadOfOpeningACard)
{
    const OpenOutcome clean = openOnce(FaultKind::none, 0);
    ASSERT_TRUE(clean.opened);
    ASSERT_TRUE(clean.opening.boxes.empty());
    ASSERT_GT(clean.opening.counts.reads, 0u);
    const std::u16string name = u"ООО Рога && Копыта";
    int notOpened = 0;
    int reported = 0;
    forEachFault("card", clean.opening.counts, [&](FaultKind kind, unsigned i) {
        const OpenOutcome faulty = openOnce(kind, i);
        EXPECT_EQ(faulty.blocksLeft, clean.blocksLeft) << "blocks leaked";
        // A details record that cannot be fetched leaves the firm's own record: the name
        // without its prefix.
        if (faulty.opened) {
            EXPECT_EQ(faulty.name.substr(faulty.name.size() - 14), name.substr(name.size() - 14));
        } else {
            ++notOpened;
        }
        EXPECT_EQ(faulty.nameAfterwards, name) << "the program goes on reading";
        if (faulty.linesAfterwards != clean.linesAfterwards)
            std::printf("  %s %u: afterwards %zu list lines instead of %zu\n",
                        kind == FaultKind::allocation ? "allocation" : "read", i, faulty.linesAfterwards,
                        clean.linesAfterwards);
        EXPECT_LE(faulty.opening.boxes.size(), 1u);
        for (const driver::BoxRecord& box : faulty.opening.boxes) {
            ++reported;
            // The reader's messages, and the rubric table's when table 0 cannot be read.
            EXPECT_TRUE(box.caption == u"ИЗВИНИТЕ" || box.caption == u"ОШИБКА" || box.caption == u"РУБРИКИ")
                << emu::toUtf8(box.caption);
        }
    });
    std::printf("opening a card: %lu allocations, %lu reads failed in turn; %d left the card closed, %d shown\n",
                clean.opening.counts.allocations, clean.opening.counts.reads, notOpened, reported);
}

}  // namespace
