// The page pane, the about screen and the metro scheme driven as a user drives them: help from the
// bar on each home page, links followed and walked back and forth, information pages from the tiles,
// a mailto: link, the maker's pictures in both orientations and the product page, the scheme panned
// by keys, drags and taps; then every allocation and file read of a help load, an information page
// and each picture load failed in turn.
#include "tests/scenarios/pages_edition.h"

#include "emulator.h"
#include "platform/gdi/screen.h"
#include "platform/shell/shell.h"
#include "platform/testing/windows.h"
#include "resources/dernolo/dernolo_ids.h"
#include "shell/button_bar.h"
#include "shell/shell_state.h"
#include "shell/tile_table.h"

#include <algorithm>

namespace {

using namespace dernolo_test;

bool endsWith(std::u16string_view text, std::u16string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

HWND screenWindow(std::u16string_view caption)
{
    HWND found = driver::findWindow(u"", caption);
    return found;
}


TEST_F(PagesScenario, HelpOnEachHomePageOpensAtItsAnchorAndBackRestoresThePage)
{
    run([] {
        tapBar(mainWindow(), IDI_BAR_HELP);
        ASSERT_NE(pane(), nullptr);
        EXPECT_EQ(shellState.homePageIndex, -3);
        EXPECT_EQ(pane()->historyIndex, 0);
        EXPECT_STREQ(pane()->history[0], "") << "page 0's help from its top, recorded";
        EXPECT_EQ(buttonBar.mode, 1);
        screenshot("help-main");
        tapBar(mainWindow(), IDI_BAR_BACK);
        EXPECT_EQ(pane(), nullptr);
        EXPECT_EQ(shellState.homePageIndex, 0);
        EXPECT_EQ(buttonBar.mode, 0);

        const struct {
            int tile;
            int page;
            const char* anchor;
        } pages[] = {{4, 1, "#t34"}, {9, 2, "#t43"}};
        for (const auto& p : pages) {
            tapTile(p.tile);
            ASSERT_EQ(shellState.homePageIndex, p.page);
            tapBar(mainWindow(), IDI_BAR_HELP);
            ASSERT_NE(pane(), nullptr);
            EXPECT_EQ(shellState.homePageIndex, -p.page);
            EXPECT_EQ(pane()->historyIndex, 0);
            EXPECT_STREQ(pane()->history[0], p.anchor);
            EXPECT_EQ(shownPage().anchor, emu::fromUtf8(p.anchor + 1)) << "the view stands at the anchor";
            EXPECT_EQ(shownPage().address, u"") << "help is text of the database, not a file";
            tapBar(mainWindow(), IDI_BAR_HELP);  // help is not offered again while a page is open
            EXPECT_EQ(pane()->historyIndex, 0);
            tapBar(mainWindow(), IDI_BAR_HOME);
            EXPECT_EQ(pane(), nullptr);
            EXPECT_EQ(shellState.homePageIndex, p.page) << "closing the page gives back the page of tiles";
            tapBar(mainWindow(), IDI_BAR_BACK);
            EXPECT_EQ(shellState.homePageIndex, 0);
        }
    });
}

TEST_F(PagesScenario, ElevenLinksKeepTheLastTenAndBackAndForthReturnToTheSameEntries)
{
    run([] {
        tapBar(mainWindow(), IDI_BAR_HELP);
        ASSERT_NE(pane(), nullptr);
        for (int k = 1; k <= 11; ++k)
            tapTopLink();
        EXPECT_EQ(pane()->historyIndex, 9);
        EXPECT_STREQ(pane()->history[0], "#a2");
        EXPECT_STREQ(pane()->history[9], "#a11");
        tapBar(mainWindow(), IDI_BAR_BACK);
        EXPECT_EQ(pane()->historyIndex, 8);
        EXPECT_STREQ(pane()->history[8], "#a10");
        EXPECT_EQ(shownPage().anchor, u"a10");
        tapBar(mainWindow(), IDI_BAR_FORWARD);
        EXPECT_EQ(pane()->historyIndex, 9);
        EXPECT_EQ(shownPage().anchor, u"a11");
        tapBar(mainWindow(), IDI_BAR_FORWARD);
        EXPECT_EQ(pane()->historyIndex, 9) << "forward at the newest entry does nothing";
        tapBar(mainWindow(), IDI_BAR_HOME);
        EXPECT_EQ(pane()->historyIndex, 0);
        tapBar(mainWindow(), IDI_BAR_HOME);
        EXPECT_EQ(pane(), nullptr);
        EXPECT_EQ(shellState.homePageIndex, 0);
    });
}

TEST_F(PagesScenario, AnInformationPageFromATileIsNotInTheHistory)
{
    run([] {
        tapTile(8);  // "Разводка мостов"
        ASSERT_NE(pane(), nullptr);
        EXPECT_EQ(shellState.homePageIndex, -3);
        EXPECT_EQ(pane()->historyIndex, -1);
        EXPECT_EQ(shownPage().address,
                  u"file://\\Storage Card\\Program Files\\MORVANE\\QUILLDEN\\HTML\\bridges.html");
        screenshot("page-bridges");
        tapTopLink();  // to medics.html
        EXPECT_EQ(pane()->historyIndex, 0);
        EXPECT_STREQ(pane()->history[0], "medics.html");
        EXPECT_TRUE(endsWith(shownPage().address, u"\\HTML\\medics.html"));
        tapTopLink();  // to emergency.html
        EXPECT_EQ(pane()->historyIndex, 1);
        EXPECT_TRUE(endsWith(shownPage().address, u"\\HTML\\emergency.html"));
        tapBar(mainWindow(), IDI_BAR_BACK);
        EXPECT_EQ(pane()->historyIndex, 0);
        EXPECT_TRUE(endsWith(shownPage().address, u"\\HTML\\medics.html"))
            << "a link's page, stored as written, is found again beside the page it was on";
        tapBar(mainWindow(), IDI_BAR_FORWARD);
        EXPECT_TRUE(endsWith(shownPage().address, u"\\HTML\\emergency.html"));
        tapBar(mainWindow(), IDI_BAR_HOME);
        EXPECT_EQ(pane()->historyIndex, 0);
        tapBar(mainWindow(), IDI_BAR_BACK);
        EXPECT_EQ(pane(), nullptr) << "back at the first place closes the page";
        EXPECT_EQ(shellState.homePageIndex, 0);

        tapTile(9);
        tapTile(29);  // "• Службы спасения, аварийные службы"
        ASSERT_NE(pane(), nullptr);
        EXPECT_EQ(shellState.homePageIndex, -2);
        tapBar(mainWindow(), IDI_BAR_BACK);
        EXPECT_EQ(shellState.homePageIndex, 2);
    });
}

TEST_F(PagesScenario, TheLoadingPageNamesTheAddressAndStaysWhenTheFileIsMissing)
{
    fs::remove(device / installFolderPath / "HTML" / "bridges.html");
    run([] {
        tapTile(6);  // the partner's page, there
        ASSERT_NE(pane(), nullptr);
        EXPECT_NE(shownPageText().find(u"product"), std::u16string::npos) << emu::toUtf8(shownPageText());
        EXPECT_EQ(shownPageText().find(u"Загружается"), std::u16string::npos) << "the page took its place";
        tapBar(mainWindow(), IDI_BAR_BACK);
        ASSERT_EQ(pane(), nullptr);

        tapTile(8);  // "Разводка мостов", missing
        ASSERT_NE(pane(), nullptr);
        const std::u16string text = shownPageText();
        EXPECT_EQ(text.rfind(u"Загружается:", 0), 0u) << emu::toUtf8(text);
        EXPECT_NE(text.find(u"HTML\\bridges.html"), std::u16string::npos) << "the address is named: " << emu::toUtf8(text);
        screenshot("page-loading");
        tapBar(mainWindow(), IDI_BAR_BACK);
        EXPECT_EQ(pane(), nullptr);
    });
}

TEST_F(PagesScenario, BackOrHomeToAnEmptyEntryShowsTheHelpTextFromItsTop)
{
    run([] {
        tapBar(mainWindow(), IDI_BAR_HELP);
        ASSERT_NE(pane(), nullptr);
        ASSERT_STREQ(pane()->history[0], "");
        tapTopLink();  // to #a1
        EXPECT_GT(shownPage().top, 0);
        tapBar(mainWindow(), IDI_BAR_BACK);
        EXPECT_EQ(pane()->historyIndex, 0);
        EXPECT_EQ(shownPage().top, 0) << "from its top";
        EXPECT_EQ(shownPage().anchor, u"");
        EXPECT_NE(shownPageText().find(u"first"), std::u16string::npos) << "the help text again";

        tapTopLink();  // to #a1
        tapTopLink();  // to #a2
        ASSERT_EQ(pane()->historyIndex, 2);
        tapBar(mainWindow(), IDI_BAR_HOME);
        EXPECT_EQ(pane()->historyIndex, 0);
        EXPECT_EQ(shownPage().top, 0);
        EXPECT_NE(shownPageText().find(u"first"), std::u16string::npos);
        tapBar(mainWindow(), IDI_BAR_HOME);
        EXPECT_EQ(pane(), nullptr);
    });
}

TEST_F(PagesScenario, AMailtoLinkStartsTheMailProgramAndLeavesTheHistory)
{
    run([] {
        tapTile(8);
        tapTopLink();  // bridges -> medics
        tapTopLink();  // medics -> emergency
        ASSERT_NE(pane(), nullptr);
        const int index = pane()->historyIndex;
        tapTopLink();  // emergency: mailto:
        EXPECT_EQ(pane()->historyIndex, index);
        const std::vector<std::string> journal = emu::journal();
        EXPECT_NE(std::find(journal.begin(), journal.end(), "mail mailto:doctor@clinic.ru"), journal.end());
        EXPECT_TRUE(endsWith(shownPage().address, u"\\HTML\\emergency.html")) << "the page stays";
    });
}

TEST_F(PagesScenario, TheAboutScreenFollowsTheTurnAndItsLowerRightOpensTheProductPage)
{
    run([] {
        tapBar(mainWindow(), IDI_BAR_MAKER);
        ASSERT_NE(screenWindow(u"О разработчике"), nullptr) << "the maker's logo on the bar opens it";
        tapBar(screenWindow(u"О разработчике"), IDI_BAR_BACK);
        ASSERT_EQ(screenWindow(u"О разработчике"), nullptr);
        EXPECT_EQ(buttonBar.mode, 0) << "the bar's layout is put back";
        driver::pressKey('A', {VK_CONTROL});
        HWND about = screenWindow(u"О разработчике");
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(screenPixel(120, barHeight + 5), portraitUpper);
        EXPECT_EQ(screenPixel(120, 320 - barHeight - 5), portraitLower);
        screenshot("about-portrait");

        driver::tap(30, barHeight + 120);  // the middle: nothing
        EXPECT_EQ(pane(), nullptr);
        // Only the lower right quarter of the content above the bar opens the product page.
        RECT client = {};
        GetClientRect(about, &client);
        POINT origin = {0, 0};
        ClientToScreen(about, &origin);
        const int quarterX = client.right / 4 * 3;
        const int quarterY = (client.bottom - buttonBar.height) / 4 * 3;
        driver::tap(origin.x + client.right - 5, origin.y + quarterY);  // right, just above the lower quarter
        driver::tap(origin.x + quarterX, origin.y + quarterY + 5);     // low, just left of the right quarter
        driver::tap(origin.x + client.right / 2 + 5, origin.y + quarterY + 5);  // the right half's lower part
        EXPECT_EQ(pane(), nullptr);
        driver::tap(220, 320 - barHeight - 10);  // the lower right
        ASSERT_NE(pane(), nullptr);
        EXPECT_TRUE(endsWith(shownPage().address, u"\\HTML\\lumetra.html"));
        EXPECT_EQ(shellState.homePageIndex, -3);
        tapBar(about, IDI_BAR_BACK);
        EXPECT_EQ(pane(), nullptr);
        EXPECT_NE(screenWindow(u"О разработчике"), nullptr) << "back closed the page, not the screen";
        EXPECT_EQ(screenPixel(120, barHeight + 5), portraitUpper) << "the screen shows again";

        gdi::resizeScreen(320, 240);
        shell::screenTurned(320, 240);
        driver::waitIdle();
        EXPECT_EQ(screenPixel(160, barHeight + 5), landscapeUpper);
        EXPECT_EQ(screenPixel(160, 240 - barHeight - 5), landscapeLower);
        screenshot("about-landscape");
        tapBar(about, IDI_BAR_HOME);
        EXPECT_EQ(screenWindow(u"О разработчике"), nullptr);
        EXPECT_EQ(shellState.returnHomeMarker, 189);
    });
}

// A page view that cannot be made leaves no pane behind: the screen keeps its own bar, paints
// itself, and its back button closes it.
TEST_F(PagesScenario, APageViewThatCannotBeMadeLeavesTheScreenAsItWas)
{
    run([] {
        emu::failCall(emu::FailingCall::windowCreation);
        tapBar(mainWindow(), IDI_BAR_HELP);
        emu::clearFaults();
        EXPECT_EQ(pane(), nullptr);
        EXPECT_EQ(shellState.homePageIndex, 0);
        EXPECT_EQ(buttonBar.mode, 0) << "the home screen's own bar";

        driver::pressKey('A', {VK_CONTROL});
        HWND about = screenWindow(u"О разработчике");
        ASSERT_NE(about, nullptr);
        emu::failCall(emu::FailingCall::windowCreation);
        tapBar(about, IDI_BAR_HELP);
        emu::clearFaults();
        EXPECT_EQ(pane(), nullptr);
        InvalidateRect(about, nullptr, TRUE);
        driver::waitIdle();
        EXPECT_EQ(screenPixel(120, barHeight + 5), portraitUpper) << "the screen paints its picture";
        tapBar(about, IDI_BAR_BACK);
        EXPECT_EQ(screenWindow(u"О разработчике"), nullptr) << "back closes the screen, not a pane";
        EXPECT_EQ(GetActiveWindow(), mainWindow());
    });
}

TEST_F(PagesScenario, TheMetroSchemeOpensCentredAndPansByKeysDragsAndTaps)
{
    run([] {
        tapTile(7);
        auto shown = [] { return schemePointAt(screenPixel(0, barHeight)); };
        POINT at = shown();
        EXPECT_EQ(at.x, (schemeWidth - 240) / 2);
        EXPECT_EQ(at.y, (schemeHeight - 268) / 2);
        screenshot("metro");

        for (int i = 0; i < 40; ++i)
            driver::pressKey(VK_RIGHT);
        EXPECT_EQ(shown().x, schemeWidth - 240) << "the right arrow stops at the right edge";
        driver::pressKey(VK_DOWN);
        EXPECT_EQ(shown().y, (schemeHeight - 268) / 2 + 10);

        at = shown();
        driver::drag(60, 150, 140, 150);
        const POINT dragged = shown();
        EXPECT_LT(dragged.x, at.x - 60) << "a drag to the right moves the view left";
        EXPECT_GE(dragged.x, at.x - 80);
        EXPECT_EQ(dragged.y, at.y);

        driver::tap(100, barHeight + 34);
        const POINT tapped = shown();
        EXPECT_EQ(tapped.x, dragged.x + 100 - 120) << "the tapped point comes to the centre";
        EXPECT_EQ(tapped.y, dragged.y + 34 - 134);

        tapBar(GetActiveWindow(), IDI_BAR_HELP);
        ASSERT_NE(pane(), nullptr);
        EXPECT_STREQ(pane()->history[0], "#t41");
        EXPECT_EQ(shownPage().anchor, u"t41");
        tapBar(mainWindow(), IDI_BAR_BACK);
        EXPECT_EQ(pane(), nullptr);
        EXPECT_EQ(shown().x, tapped.x) << "the scheme kept its place under the page";
        driver::pressKey(VK_LEFT);
        EXPECT_EQ(shown().x, tapped.x - 10) << "the keys come back to the scheme";
    });
}

}  // namespace
