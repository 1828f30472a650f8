// Every call the kernel can fail, of opening a business card and of starting the browser and the
// mail program from it, failed in turn: the program neither crashes nor leaks, the card either
// opens whole or does not open, only the reader's own messages and a refused start's are shown, a
// second opening afterwards shows the firm as it is, and the bar leads back home.
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
    Leftovers left;
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
            backHomeByBar();
            driver::quitProgram();
        });
        outcome.left = leftovers(outcome.opening);
        return outcome;
    }
};

TEST_F(CardFaults, EveryCallOfOpeningACard)
{
    const OpenOutcome clean = openOnce(noFault, 0);
    ASSERT_TRUE(clean.opened);
    ASSERT_TRUE(clean.opening.boxes.empty());
    ASSERT_GT(clean.opening.counts[emu::FailingCall::read], 0u);
    const std::u16string name = u"ООО Рога && Копыта";
    int notOpened = 0;
    int reported = 0;
    forEachFault("card", clean.opening.counts, [&](FaultKind kind, unsigned i) {
        const OpenOutcome faulty = openOnce(kind, i);
        expectNothingLeaked(faulty.left, clean.left);
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
                        faultName(*kind), i, faulty.linesAfterwards,
                        clean.linesAfterwards);
        EXPECT_LE(faulty.opening.boxes.size(), 1u);
        for (const driver::BoxRecord& box : faulty.opening.boxes) {
            ++reported;
            // The reader's messages, and the rubric table's when table 0 cannot be read.
            EXPECT_TRUE(box.caption == u"ИЗВИНИТЕ" || box.caption == u"ОШИБКА" || box.caption == u"РУБРИКИ")
                << emu::toUtf8(box.caption);
        }
    });
    std::printf("opening a card: %s failed in turn; %d left the card closed, %d shown\n",
                countsText(clean.opening.counts).c_str(), notOpened, reported);
}

struct StartOutcome {
    FaultedAction starting;
    size_t started = 0;  // programs the host was asked to start
    bool cardStayed = false;
    Leftovers left;
};

size_t programsStarted()
{
    size_t count = 0;
    for (const std::string& line : emu::journal())
        count += line.rfind("browser ", 0) == 0 || line.rfind("mail ", 0) == 0 ? 1 : 0;
    return count;
}

// The site and the mail program started from the card's buttons, every call failing in turn: a
// program that did not start is said so once, the card stays for another try, and the user
// leaves it by the bar.
TEST_F(CardFaults, EveryCallOfStartingTheBrowserAndTheMailProgram)
{
    auto startOnce = [this](FaultKind kind, unsigned index) {
        StartOutcome outcome;
        restartDevice();
        run([&] {
            installOpener({firmHorns});
            openCard(0);
            if (cardWindow() == nullptr) {
                driver::fail("the card did not open");
                return;
            }
            const size_t before = programsStarted();
            outcome.starting = runFaulted(kind, index, [] {
                for (int button : {IDC_CARD_WEB_BUTTON, IDC_CARD_EMAIL_BUTTON}) {
                    tapControl(button);
                    if (driver::openBox())
                        driver::answerBox(IDOK);
                }
            });
            outcome.started = programsStarted() - before;
            outcome.cardStayed = cardWindow() != nullptr;
            backHomeByBar();
            driver::quitProgram();
        });
        outcome.left = leftovers(outcome.starting);
        return outcome;
    };
    const StartOutcome clean = startOnce(noFault, 0);
    ASSERT_EQ(clean.started, 2u);
    ASSERT_TRUE(clean.starting.boxes.empty());
    ASSERT_EQ(clean.starting.counts[emu::FailingCall::processStart], 2u);
    int refused = 0;
    forEachFault("starting", clean.starting.counts, [&](FaultKind kind, unsigned i) {
        const StartOutcome faulty = startOnce(kind, i);
        expectNothingLeaked(faulty.left, clean.left);
        EXPECT_TRUE(faulty.cardStayed);
        EXPECT_EQ(faulty.starting.boxes.size(), 2 - faulty.started) << "each program that did not start is said";
        for (const driver::BoxRecord& box : faulty.starting.boxes)
            EXPECT_EQ(box.caption, u"PROC:") << emu::toUtf8(box.text);
        refused += static_cast<int>(2 - faulty.started);
    });
    std::printf("starting: %s failed in turn; %d programs refused\n", countsText(clean.starting.counts).c_str(),
                refused);
    EXPECT_GE(refused, 2) << "the failures reached both starts";
}

}  // namespace
