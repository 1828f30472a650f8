// The browse journey in one run, as a user makes it: "Темы", a rubric, its firm list, a firm's card,
// the site and a letter from the card, the next firm, and home closing every screen in turn.
#include "tests/scenarios/card_scenario.h"
#include "tests/scenarios/firm_lists_edition.h"

#include "emulator.h"
#include "platform/testing/windows.h"
#include "resources/dernolo/dernolo_ids.h"
#include "shell/shell_state.h"

#include <algorithm>

namespace {

using namespace dernolo_test;

constexpr int themesTile = 2;

bool journalled(const std::string& prefix)
{
    const std::vector<std::string> lines = emu::journal();
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}

using BrowseJourney = CardScenario;

TEST_F(BrowseJourney, FromTheThemesTileToACardAndHomeAgain)
{
    run([] {
        tapTile(themesTile);
        ASSERT_NE(frontList(IDC_RUBRIC_TREE), nullptr) << "the rubric tree";
        const driver::ScreenDump tree = driver::dumpWindows();
        const driver::WindowDump* items = driver::findDumpedControl(tree, IDC_RUBRIC_TREE);
        ASSERT_NE(items, nullptr);
        ASSERT_TRUE(items->items.has_value());
        ASSERT_FALSE(items->items->empty());
        EXPECT_EQ(items->items->front().text, u"Аптеки");

        // The keys select without opening; Enter opens the rubric's firm list.
        driver::pressKey(VK_DOWN);
        EXPECT_EQ(frontList(IDC_FIRM_LIST), nullptr) << "a keyboard selection opens nothing";
        driver::pressKey(VK_RETURN);
        ASSERT_NE(frontList(IDC_FIRM_LIST), nullptr) << "Enter opens the firm list";
        const std::vector<driver::ListLineDump> lines = shownLines(IDC_FIRM_LIST);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].text.rfind(u"Рога & Копыта", 0), 0u) << emu::toUtf8(lines[0].text);

        tapLine(IDC_FIRM_LIST, 0);
        ASSERT_NE(cardWindow(), nullptr) << "the firm's card";
        EXPECT_EQ(cardControl(IDC_CARD_NAME).text, u"ООО Рога && Копыта");
        tapControl(IDC_CARD_WEB_BUTTON);
        EXPECT_TRUE(journalled("browser http://www.roga.ru/price"));
        tapControl(IDC_CARD_EMAIL_BUTTON);
        EXPECT_TRUE(journalled("mail mailto:info@roga.ru"));

        // The list's only line is also its last: the next firm is the first again.
        tapBar(cardWindow(), IDI_BAR_FORWARD);
        ASSERT_NE(cardWindow(), nullptr);
        EXPECT_EQ(cardControl(IDC_CARD_NAME).text, u"ООО Рога && Копыта");

        tapBar(cardWindow(), IDI_BAR_HOME);
        EXPECT_EQ(cardWindow(), nullptr);
        EXPECT_EQ(frontList(IDC_FIRM_LIST), nullptr) << "the firm list closed in turn";
        EXPECT_EQ(frontList(IDC_RUBRIC_TREE), nullptr) << "the rubric tree closed in turn";
        EXPECT_EQ(GetActiveWindow(), mainWindow());
        EXPECT_EQ(shellState.homePageIndex, 0);
    });
}

}  // namespace
