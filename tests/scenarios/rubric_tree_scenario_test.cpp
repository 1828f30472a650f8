// The rubric tree driven by stylus and keys in its four purposes: what opens a rubric and what does
// not (a stylus or a keyboard selection, a re-tap, empty tree space, Right and Enter), the flat
// list's tap-and-hold adding favourites, the two choice modes with their hint band, the bar, help
// and the way home through a firm list.
#include "tests/scenarios/rubric_tree_edition.h"

#include "card/html_pane.h"
#include "ce.h"
#include "emulator.h"
#include "platform/gdi/screen.h"
#include "platform/shell/shell.h"
#include "platform/testing/windows.h"
#include "resources/dernolo/dernolo_ids.h"
#include "search/search_state.h"
#include "shell/button_bar.h"
#include "shell/shell_state.h"
#include "shell/tile_table.h"
#include "win32/commctrl.h"

#include <fstream>
#include <iterator>

namespace {

using namespace dernolo_test;

using Items = std::vector<std::u16string>;

Items itemTexts()
{
    Items texts;
    for (const driver::TreeItemDump& item : shownItems())
        texts.push_back(std::u16string(item.depth * 2, u' ') + item.text);
    return texts;
}

RECT screenRect(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

// The screen's client area on the screen: the tree and the band are laid out in it.
RECT clientOnScreen(HWND window)
{
    RECT r = {};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

constexpr int searchTile = 5;
constexpr int favouritesTile = 4;
constexpr int addFavouriteTile = 10;

// A tap in the middle of a control of the window in front.
void tapFrontControl(int controlId)
{
    RECT r = {};
    GetWindowRect(driver::findControl(GetActiveWindow(), controlId), &r);
    driver::tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// What the tree screen draws itself (its hint band), the wrapped lines joined by spaces.
std::u16string bandText()
{
    const driver::ScreenDump dump = driver::dumpWindows();
    const driver::WindowDump* tree = driver::findDumped(dump, u"", u"Желтые страницы");
    std::u16string text;
    if (tree != nullptr)
        for (const driver::DrawnTextDump& drawn : tree->drawn)
            text += (text.empty() ? u"" : u" ") + drawn.text;
    return text;
}

class RubricTree : public RubricTreeScenario {
protected:
    std::string favourites() const
    {
        std::ifstream in(device / installFolderPath / "SPb" / "Favorites.txt", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
};

TEST_F(RubricTree, TheHierarchyOpensOnAStylusSelectionAndNotOnAKeyboardOneOrARetap)
{
    run([] {
        tapTile(themesTile);
        ASSERT_NE(treeScreen(), nullptr);
        EXPECT_EQ(itemTexts(), (Items{u"Автомобили", u"Банки", u"Банкоматы", u"Вокзалы", u"Аптеки"}))
            << "rubrics without flag 2 are not shown; one code twice gives two siblings";
        EXPECT_EQ(selectedItem(), u"<none>");
        screenshot("rubric-tree-portrait");

        tapItem(u"Банки");
        ASSERT_NE(firmListScreen(), nullptr) << "a stylus selection opens the rubric";
        EXPECT_EQ(searchState.firmListRequest.rubricIndex, banksIndex);
        tapBar(GetActiveWindow(), IDI_BAR_BACK);
        ASSERT_EQ(firmListScreen(), nullptr);
        ASSERT_NE(treeScreen(), nullptr) << "the tree stays under the list";
        EXPECT_EQ(selectedItem(), u"Банки");

        tapItem(u"Банки");
        EXPECT_EQ(firmListScreen(), nullptr) << "the selected item tapped again opens nothing";

        driver::pressKey(VK_DOWN);
        EXPECT_EQ(selectedItem(), u"Банкоматы");
        EXPECT_EQ(firmListScreen(), nullptr) << "a keyboard selection opens nothing";

        tapItem(u"Автомобили");
        EXPECT_EQ(selectedItem(), u"Автомобили");
        EXPECT_EQ(firmListScreen(), nullptr) << "a heading has no firms";
        const POINT sign = expandSignPoint(u"Автомобили");
        driver::tap(sign.x, sign.y);
        EXPECT_EQ(itemTexts(), (Items{u"Автомобили", u"  Автосервисы", u"  Шиномонтаж", u"Банки", u"Банкоматы",
                                      u"Вокзалы", u"Аптеки"}));
        EXPECT_TRUE(shownItems()[0].expanded);
        EXPECT_EQ(selectedItem(), u"Автомобили") << "the sign opens the level without selecting";
        EXPECT_EQ(firmListScreen(), nullptr);

        tapItem(u"Шиномонтаж");
        ASSERT_NE(firmListScreen(), nullptr);
        EXPECT_EQ(searchState.firmListRequest.rubricIndex, serviceIndex + 1);
        tapBar(GetActiveWindow(), IDI_BAR_BACK);
    });
}

TEST_F(RubricTree, RightAndEnterOpenARubricWithFirmsAndLeaveAHeadingToTheTree)
{
    run([] {
        tapTile(themesTile);
        driver::pressKey(VK_DOWN);
        EXPECT_EQ(selectedItem(), u"Автомобили");
        driver::pressKey(VK_RETURN);
        EXPECT_EQ(firmListScreen(), nullptr);
        EXPECT_NE(treeScreen(), nullptr) << "Enter on a heading does not close the screen either";
        driver::pressKey(VK_RIGHT);
        EXPECT_TRUE(shownItems()[0].expanded) << "Right opens the heading's level";
        EXPECT_EQ(firmListScreen(), nullptr);
        driver::pressKey(VK_DOWN);
        EXPECT_EQ(selectedItem(), u"Автосервисы");
        driver::pressKey(VK_RETURN);
        ASSERT_NE(firmListScreen(), nullptr);
        EXPECT_EQ(searchState.firmListRequest.rubricIndex, serviceIndex);
        tapBar(GetActiveWindow(), IDI_BAR_BACK);
        driver::pressKey(VK_RIGHT);
        ASSERT_NE(firmListScreen(), nullptr);
        tapBar(GetActiveWindow(), IDI_BAR_HOME);
        EXPECT_EQ(firmListScreen(), nullptr);
        EXPECT_EQ(treeScreen(), nullptr) << "home closes the list and the tree in turn";
        EXPECT_EQ(shellState.returnHomeMarker, 189);
        EXPECT_EQ(GetActiveWindow(), mainWindow());
    });
}

TEST_F(RubricTree, TheFlatListOpensOnEveryTapAndNotOnEmptySpace)
{
    run([] {
        tapTile(rubricsTile);
        ASSERT_NE(treeScreen(), nullptr);
        EXPECT_EQ(itemTexts(), (Items{u"Автосервисы", u"Аптеки", u"Банки", u"Банкоматы", u"Гостиницы", u"Шиномонтаж"}))
            << "only rubrics with firms and flag 1, alphabetically, without headings";
        screenshot("rubric-flat-portrait");

        const POINT below = {itemPoint(u"Шиномонтаж").x, itemPoint(u"Шиномонтаж").y + 60};
        driver::tap(below.x, below.y);
        EXPECT_EQ(firmListScreen(), nullptr) << "empty tree space opens nothing";
        EXPECT_EQ(selectedItem(), u"<none>");

        for (int round = 0; round < 2; ++round) {
            tapItem(u"Гостиницы");
            ASSERT_NE(firmListScreen(), nullptr) << "round " << round << ": the selected item opens again";
            EXPECT_EQ(searchState.firmListRequest.rubricIndex, 7);
            tapBar(GetActiveWindow(), IDI_BAR_BACK);
            EXPECT_EQ(selectedItem(), u"Гостиницы");
        }
        driver::pressKey(VK_DOWN);
        EXPECT_EQ(selectedItem(), u"Шиномонтаж");
        EXPECT_EQ(firmListScreen(), nullptr) << "the keys only move";
        tapItem(u"Аптеки");
        EXPECT_NE(firmListScreen(), nullptr) << "the swallowed selection does not stop the next tap";
        tapBar(GetActiveWindow(), IDI_BAR_BACK);
    });
}

TEST_F(RubricTree, HoldingOnTheFlatListAsksAndAppendsTheRubricOrTheSelectedOne)
{
    run([this] {
        tapTile(rubricsTile);
        const POINT empty = {itemPoint(u"Шиномонтаж").x, itemPoint(u"Шиномонтаж").y + 60};
        holdAt(empty, IDYES);
        EXPECT_TRUE(driver::boxes().empty()) << "nothing under the stylus and nothing selected: no question";

        holdAt(itemPoint(u"Банкоматы"), IDYES);
        ASSERT_EQ(driver::boxes().size(), 1u);
        EXPECT_EQ(driver::boxes()[0].caption, u"ПОДТВЕРДИТЕ");
        EXPECT_EQ(driver::boxes()[0].text, u"Добавить в избранное\r\n'Банкоматы'?");
        EXPECT_EQ(driver::boxes()[0].style & (MB_YESNO | MB_ICONQUESTION), UINT{MB_YESNO | MB_ICONQUESTION});
        EXPECT_EQ(favourites(), cp1251(u"Банкоматы\r\n"));
        ASSERT_NE(tileTable[firstFavouriteSlot].caption, nullptr) << "the slots are read again";
        EXPECT_EQ(std::u16string(tileTable[firstFavouriteSlot].caption), u"Банкоматы");
        EXPECT_EQ(homePages[favouritesPage].last, firstFavouriteSlot);
        EXPECT_EQ(firmListScreen(), nullptr) << "a hold is not a tap";
        EXPECT_NE(treeScreen(), nullptr);

        tapItem(u"Аптеки");
        tapBar(GetActiveWindow(), IDI_BAR_BACK);
        holdAt(empty, IDNO);
        ASSERT_EQ(driver::boxes().size(), 2u);
        EXPECT_EQ(driver::boxes()[1].text, u"Добавить в избранное\r\n'Аптеки'?") << "outside any item: the selected";
        EXPECT_EQ(favourites(), cp1251(u"Банкоматы\r\n")) << "No writes nothing";
        holdAt(itemPoint(u"Гостиницы"), IDYES);
        EXPECT_EQ(favourites(), cp1251(u"Банкоматы\r\nГостиницы\r\n"));
        EXPECT_EQ(homePages[favouritesPage].last, firstFavouriteSlot + 1);
        EXPECT_NE(treeScreen(), nullptr);
        EXPECT_EQ(selectedItem(), u"Аптеки") << "a hold does not move the selection";
    });
}

TEST_F(RubricTree, HoldingOnTheHierarchyDoesNothing)
{
    run([this] {
        tapTile(themesTile);
        tapItem(u"Банки");
        tapBar(GetActiveWindow(), IDI_BAR_BACK);
        holdAt(itemPoint(u"Вокзалы"), IDYES);
        EXPECT_TRUE(driver::boxes().empty());
        EXPECT_EQ(favourites(), "");
        EXPECT_EQ(firmListScreen(), nullptr);
    });
}

TEST_F(RubricTree, TheThemeChoiceHandsBackAnyRubricAndEnterStillOpensFirms)
{
    run([] {
        tapTile(searchTile);
        tapFrontControl(IDC_SEARCH_CHOOSE_THEME);
        ASSERT_NE(treeScreen(), nullptr);
        EXPECT_EQ(searchState.flatMode, 0) << "the search asks in the mode its tile left";
        const RECT screen = clientOnScreen(treeScreen());
        const RECT tree = screenRect(treeControl());
        const int content = (screen.bottom - screen.top) - buttonBar.height;
        EXPECT_EQ(tree.top - screen.top, content / 6) << "the hint band's height";
        EXPECT_EQ(tree.bottom - screen.top, content);
        EXPECT_EQ(bandText(), u"Коснитесь названия темы, чтобы выбрать её, а знака [+], чтобы раскрыть уровень.");
        screenshot("rubric-theme-choice-portrait");

        driver::pressKey(VK_DOWN);
        driver::pressKey(VK_DOWN);
        EXPECT_EQ(selectedItem(), u"Банки");
        driver::pressKey(VK_RETURN);
        ASSERT_NE(firmListScreen(), nullptr) << "Enter on a rubric with firms opens them, choice or not";
        EXPECT_EQ(searchState.rubricChoice.marker, '?');
        tapBar(GetActiveWindow(), IDI_BAR_BACK);
        ASSERT_NE(treeScreen(), nullptr);

        tapItem(u"Автомобили");
        EXPECT_EQ(treeScreen(), nullptr) << "a heading may be chosen";
        EXPECT_EQ(firmListScreen(), nullptr);
        EXPECT_EQ(searchState.rubricChoice.marker, '|');
        EXPECT_STREQ(searchState.rubricChoice.code, "01");
        EXPECT_EQ(std::u16string(searchState.rubricChoice.title), u"Автомобили");
        EXPECT_EQ(searchState.rubricChoice.index, carsIndex);
        EXPECT_EQ(shellState.returnHomeMarker, 0);
        EXPECT_EQ(GetWindowTextLengthW(driver::findControl(GetActiveWindow(), IDC_SEARCH_THEME)), 10)
            << "the search shows the chosen theme";
    });
}

TEST_F(RubricTree, TheFavouriteChoiceTakesOneTapAndAddsOnEveryHold)
{
    run([this] {
        tapTile(favouritesTile);
        tapTile(addFavouriteTile);
        ASSERT_NE(treeScreen(), nullptr);
        EXPECT_EQ(bandText(), u"Коснитесь названия рубрики, чтобы выбрать её, удерживайте прижатым стилус, "
                              u"чтобы выбрать несколько рубрик.");
        screenshot("rubric-favourite-choice-portrait");
        holdAt(itemPoint(u"Банки"), IDYES);
        holdAt(itemPoint(u"Аптеки"), IDYES);
        EXPECT_EQ(favourites(), cp1251(u"Банки\r\nАптеки\r\n"));
        ASSERT_NE(treeScreen(), nullptr) << "holds keep the screen open";
        EXPECT_EQ(searchState.rubricChoice.marker, '?');
        tapItem(u"Банкоматы");
        EXPECT_EQ(treeScreen(), nullptr);
        EXPECT_EQ(firmListScreen(), nullptr);
        EXPECT_EQ(searchState.rubricChoice.marker, '|');
        EXPECT_EQ(std::u16string(searchState.rubricChoice.title), u"Банкоматы");
        EXPECT_EQ(searchState.rubricChoice.index, cashIndex);
        EXPECT_STREQ(searchState.rubricChoice.code, "02");
        ASSERT_TRUE(driver::openBox()) << "the choice is asked about";
        driver::answerBox(IDNO);
        EXPECT_EQ(favourites(), cp1251(u"Банки\r\nАптеки\r\n"));
    });
}

TEST_F(RubricTree, AChoiceLeftByBackOrHomeLeavesTheTilesBrowsing)
{
    // The tree opened by its tile after a chooser was left: no band, and a tap opens the rubric.
    const auto expectBrowsing = [](int tile) {
        tapTile(tile);
        ASSERT_NE(treeScreen(), nullptr);
        EXPECT_EQ(screenRect(treeControl()).top, clientOnScreen(treeScreen()).top) << "no hint band";
        EXPECT_EQ(bandText(), u"");
        tapItem(u"Банки");
        ASSERT_NE(firmListScreen(), nullptr) << "the rubric opens";
        tapBar(GetActiveWindow(), IDI_BAR_HOME);
        EXPECT_EQ(treeScreen(), nullptr);
    };
    run([&] {
        tapTile(favouritesTile);
        tapTile(addFavouriteTile);
        ASSERT_NE(treeScreen(), nullptr);
        tapBar(GetActiveWindow(), IDI_BAR_BACK);
        EXPECT_EQ(treeScreen(), nullptr);
        tapBar(mainWindow(), IDI_BAR_HOME);
        expectBrowsing(rubricsTile);

        tapTile(favouritesTile);
        tapTile(addFavouriteTile);
        tapBar(GetActiveWindow(), IDI_BAR_HOME);
        expectBrowsing(themesTile);

        tapTile(searchTile);
        tapFrontControl(IDC_SEARCH_CHOOSE_THEME);
        ASSERT_NE(treeScreen(), nullptr);
        tapBar(GetActiveWindow(), IDI_BAR_HOME);
        EXPECT_EQ(GetActiveWindow(), mainWindow());
        expectBrowsing(themesTile);
        expectBrowsing(rubricsTile);
        shellState.returnHomeMarker = 0;
    });
}

TEST_F(RubricTree, TheBarMovesHelpsRaisesThePanelAndGoesHome)
{
    run([] {
        tapTile(themesTile);
        tapBar(GetActiveWindow(), IDI_BAR_FORWARD);
        EXPECT_EQ(selectedItem(), u"<none>") << "forward needs a selection";
        driver::pressKey(VK_DOWN);
        tapBar(GetActiveWindow(), IDI_BAR_FORWARD);
        EXPECT_EQ(selectedItem(), u"Банки");
        EXPECT_EQ(firmListScreen(), nullptr) << "forward's selection opens nothing";

        tapBar(GetActiveWindow(), IDI_BAR_HELP);
        ASSERT_NE(pageViewer.currentPane, nullptr);
        EXPECT_STREQ(pageViewer.currentPane->history[0], "#t32");
        tapBar(GetActiveWindow(), IDI_BAR_BACK);
        EXPECT_EQ(pageViewer.currentPane, nullptr) << "back closes the page first";
        ASSERT_NE(treeScreen(), nullptr);

        tapBar(GetActiveWindow(), IDI_BAR_KEYBOARD);
        SIPINFO info = {};
        info.cbSize = sizeof info;
        ASSERT_TRUE(SipGetInfo(&info));
        ASSERT_TRUE(info.fdwFlags & SIPF_ON);
        const RECT screen = clientOnScreen(treeScreen());
        const int panel = info.rcSipRect.bottom - info.rcSipRect.top;
        EXPECT_EQ(screenRect(treeControl()).bottom - screen.top, screen.bottom - screen.top - buttonBar.height - panel)
            << "the tree ends the panel's height higher";
        screenshot("rubric-tree-panel");
        tapItem(u"Банкоматы");
        ASSERT_NE(firmListScreen(), nullptr);
        EXPECT_FALSE(shellState.inputPanelUp) << "a tapped rubric lowers the panel";
        tapBar(GetActiveWindow(), IDI_BAR_BACK);
        EXPECT_EQ(screenRect(treeControl()).bottom - screen.top, screen.bottom - screen.top - buttonBar.height);

        tapBar(GetActiveWindow(), IDI_BAR_HOME);
        EXPECT_EQ(treeScreen(), nullptr);
        EXPECT_EQ(shellState.returnHomeMarker, 189);
        EXPECT_EQ(buttonBar.mode, 0) << "the home screen's bar is back";
    });
}

TEST_F(RubricTree, ItemsAreDrawnInTheirOwnColoursInBothOrientations)
{
    run([] {
        tapTile(themesTile);
        const auto purpleUnder = [](std::u16string_view text) {
            const POINT p = itemPoint(text);
            const gdi::Framebuffer& fb = gdi::screen();
            int purple = 0;
            for (int x = p.x - 20; x < p.x + 20; ++x)
                for (int y = p.y - 5; y <= p.y + 5; ++y) {
                    const uint32_t c = fb.pixels[static_cast<size_t>(y) * static_cast<size_t>(fb.width) +
                                                 static_cast<size_t>(x)];
                    purple += ((c >> 16) & 0xFF) > ((c >> 8) & 0xFF) + 30 && (c & 0xFF) > ((c >> 8) & 0xFF) + 30;
                }
            return purple;
        };
        EXPECT_GT(purpleUnder(u"Вокзалы"), 10);
        gdi::resizeScreen(320, 240);
        shell::screenTurned(320, 240);
        driver::waitIdle();
        const RECT screen = clientOnScreen(treeScreen());
        EXPECT_EQ(screenRect(treeControl()).right - screenRect(treeControl()).left, screen.right - screen.left);
        EXPECT_GT(screen.right - screen.left, 300) << "the tree takes the turned screen's width";
        EXPECT_GT(purpleUnder(u"Аптеки"), 10);
        screenshot("rubric-tree-landscape");
    });
}

}  // namespace
