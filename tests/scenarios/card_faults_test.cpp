// Every allocation and every file read of opening a business card failed in turn: the program
// neither crashes nor leaks, the card either opens whole or does not open, only the reader's own
// messages are shown, and a second opening afterwards shows the firm as it is.
#include "tests/scenarios/card_scenario.h"

#include "emulator.h"
#include "platform/testing/windows.h"
#include "resources/dernolo/dernolo_ids.h"

#include <cstdio>

namespace {

using namespace dernolo_test;

enum class FaultKind { none, allocation, read };

struct OpenOutcome {
    emu::CallCounts counts;
    std::vector<driver::BoxRecord> boxes;
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
            const size_t boxesBefore = driver::boxes().size();
            emu::clearFaults();
            if (kind == FaultKind::allocation)
                emu::failLocalAlloc(ERROR_NOT_ENOUGH_MEMORY, index);
            else if (kind == FaultKind::read)
                emu::failReadFile(ERROR_READ_FAULT, index);
            openCard(0);
            outcome.counts = emu::callCounts();
            for (int guard = 0; guard < 8 && driver::openBox(); ++guard)
                driver::answerBox(IDOK);
            emu::clearFaults();
            const std::vector<driver::BoxRecord> all = driver::boxes();
            outcome.boxes.assign(all.begin() + static_cast<std::ptrdiff_t>(boxesBefore), all.end());
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
    ASSERT_TRUE(clean.boxes.empty());
    ASSERT_GT(clean.counts.reads, 0u);
    const std::u16string name = u"ООО Рога && Копыта";
    int notOpened = 0;
    int reported = 0;
    for (FaultKind kind : {FaultKind::allocation, FaultKind::read}) {
        const unsigned long total = kind == FaultKind::allocation ? clean.counts.allocations : clean.counts.reads;
        for (unsigned i = 0; i < total; ++i) {
            SCOPED_TRACE((kind == FaultKind::allocation ? "allocation " : "read ") + std::to_string(i));
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
            EXPECT_LE(faulty.boxes.size(), 1u);
            for (const driver::BoxRecord& box : faulty.boxes) {
                ++reported;
                // The reader's messages, and the rubric table's when table 0 cannot be read.
                EXPECT_TRUE(box.caption == u"ИЗВИНИТЕ" || box.caption == u"ОШИБКА" || box.caption == u"РУБРИКИ")
                    << emu::toUtf8(box.caption);
            }
        }
    }
    std::printf("opening a card: %lu allocations, %lu reads failed in turn; %d left the card closed, %d shown\n",
                clean.counts.allocations, clean.counts.reads, notOpened, reported);
}

}  // namespace
