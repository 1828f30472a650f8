// Dernolo driven as a user drives it, headless on a 240 x 320 device with the shell's 26-pixel
// task bar: the home screen's geometry, its keys and taps, the database change between editions,
// the rubric opened by a tile's caption, Ctrl+Q, and a device without any database.
#include "tests/scenarios/dernolo_fixture.h"

#include "db/database_program.h"
#include "db/format.h"
#include "platform/gdi/screen.h"
#include "platform/testing/windows.h"
#include "search/search_state.h"
#include "shell/button_bar.h"
#include "shell/shell_state.h"
#include "shell/tile_table.h"

namespace {

using namespace dernolo_test;

// An edition of one city with the rubrics the tests look for.
Edition cityEdition(const std::u16string& title, uint8_t letter)
{
    Edition e;
    e.title = cp1251(title);
    e.cityLetter = letter;
    EditionFirm firm;
    firm.name = cp1251(u"Первая фирма");
    e.firms.push_back(firm);
    firm.name = cp1251(u"Вторая фирма");
    e.firms.push_back(firm);
    auto rubric = [&](const char* code, std::u16string_view rubricTitle, bool firms) {
        EditionRubric r;
        r.code = code;
        r.title = cp1251(rubricTitle);
        r.hasFirmList = firms;
        if (firms)
            r.firms = {static_cast<uint32_t>(e.rubrics.size() % 2)};
        e.rubrics.push_back(r);
    };
    rubric("01", u"Службы города", false);
    rubric("0101", u"Милиция района", true);      // no leading space: not the police tile's
    rubric("0102", u"СЛУЖБА СПАСЕНИЯ", false);     // matches the rescue tile, but has no firms
    rubric("0103", u" Милиция  отделения", true);  // " Милиция " with its spaces
    rubric("0104", u"служба спасения МЧС", true);
    return e;
}

std::u16string bannerTitle() { return shellState.databaseTitle; }

class HomeScenario : public DernoloScenario {
protected:
    void installTwoCities()
    {
        installEdition(cityEdition(u"Справочник\r\nСанкт-Петербург", 'P'), "a_spb.ydb");
        installEdition(cityEdition(u"Справочник\r\nМосква", ydb::cityLetterMoscow), "b_msk.ydb");
    }
};

TEST_F(HomeScenario, WindowAndTilesOnA240By320Screen)
{
    installTwoCities();
    run([] {
        HWND window = mainWindow();
        ASSERT_NE(window, nullptr);
        RECT frame{};
        GetWindowRect(window, &frame);
        EXPECT_EQ(frame.top, 26);
        EXPECT_EQ(frame.right - frame.left, 240);
        EXPECT_EQ(frame.bottom - frame.top, 294);
        EXPECT_EQ(buttonBar.height, 26);
        const RECT& catalogue = tileTable[1].rect;
        EXPECT_EQ(catalogue.left, 0);
        EXPECT_EQ(catalogue.top, 49);
        EXPECT_EQ(catalogue.right, 80);
        EXPECT_EQ(catalogue.bottom, 122);
        EXPECT_EQ(tileTable[0].rect.top, 6);
        EXPECT_EQ(bannerTitle(), u"Справочник\r\nСанкт-Петербург") << "the whole title on the banner";
        screenshot("home-main");
        tapTile(9);
        EXPECT_EQ(shellState.homePageIndex, 2);
        screenshot("home-telephones");
        tapClient(buttonBar.slots[2].x + 5, buttonBar.slots[2].y + 5);  // back
        EXPECT_EQ(shellState.homePageIndex, 0);
        tapTile(4);
        EXPECT_EQ(shellState.homePageIndex, 1);
        screenshot("home-favourites");
    });
}

TEST_F(HomeScenario, TheStripAboveTheProgramLooksTheSameHoweverOftenTheScreenTurns)
{
    installTwoCities();
    run([] {
        // The program is full screen below the bar's height: the strip above it is the device's own.
        const auto strip = [] {
            const gdi::Framebuffer& fb = gdi::screen();
            std::vector<uint32_t> pixels;
            for (int y = 0; y < buttonBar.height; y += 5)
                for (int x = 0; x < fb.width; x += 7)
                    pixels.push_back(fb.pixels[static_cast<size_t>(y) * static_cast<size_t>(fb.width) +
                                               static_cast<size_t>(x)]);
            return pixels;
        };
        RECT frame{};
        GetWindowRect(mainWindow(), &frame);
        ASSERT_EQ(frame.top, buttonBar.height);
        const std::vector<uint32_t> portrait = strip();
        ASSERT_FALSE(portrait.empty());
        EXPECT_NE(portrait.front(), 0xFFFFFFu) << "not the bare screen";
        turnScreen(320, 240);
        screenshot("home-landscape");
        // The banner keeps its three grid rows of 22, from half a row down: on the turned screen
        // that is room for the first line of a two-line title only.
        const int content = 240 - 2 * buttonBar.height;
        EXPECT_EQ(tileTable[0].rect.top, (content + 22) / 44);
        EXPECT_EQ(tileTable[0].rect.bottom, (content * 4 + 11) / 22);
        const std::vector<uint32_t> landscape = strip();
        EXPECT_EQ(landscape.front(), portrait.front()) << "the same in both orientations";
        for (int turn = 0; turn < 2; ++turn) {
            turnScreen(240, 320);
            EXPECT_EQ(strip(), portrait) << "turn " << turn;
            turnScreen(320, 240);
            EXPECT_EQ(strip(), landscape) << "turn " << turn;
        }
        turnScreen(240, 320);
    });
}

TEST_F(HomeScenario, KeysSelectAndClampAndTheActionKeyChangesTheDatabase)
{
    installTwoCities();
    run([] {
        driver::pressKey(VK_RETURN);
        EXPECT_EQ(shellState.selectedTile, -1) << "the action key with nothing selected does nothing";
        EXPECT_EQ(databaseProgram.choices.current, 0);
        driver::pressKey(VK_DOWN);
        EXPECT_EQ(shellState.selectedTile, 0) << "any key selects the first tile";
        driver::pressKey(VK_RETURN);
        EXPECT_EQ(databaseProgram.choices.current, 1) << "the banner changes the database";
        EXPECT_EQ(bannerTitle(), u"Справочник\r\nМосква");
        EXPECT_EQ(std::u16string(tileTable[8].caption), u"Таблица штрафов");
        // After the repaint nothing is selected; Right walks to the last tile and stays there.
        driver::waitIdle();
        for (int i = 0; i < 12; ++i)
            driver::pressKey(VK_RIGHT);
        EXPECT_EQ(shellState.selectedTile, 9);
    });
}

TEST_F(HomeScenario, TheBannerChangesOnStylusDownAndComesBackAfterAFullRound)
{
    installTwoCities();
    installEdition(cityEdition(u"Третья", 'P'), "c_third.ydb");
    run([] {
        for (int change = 1; change <= 3; ++change) {
            const RECT& banner = tileTable[0].rect;
            tapClient((banner.left + banner.right) / 2, banner.top + 2);
            EXPECT_EQ(databaseProgram.choices.current, change % 3);
        }
        EXPECT_EQ(bannerTitle(), u"Справочник\r\nСанкт-Петербург");
        EXPECT_EQ(std::u16string(tileTable[8].caption), u"Разводка мостов");
        EXPECT_EQ(std::u16string(tileTable[8].page), u"HTML\\bridges.html");
    });
}

TEST_F(HomeScenario, WithOneEditionTheBannerDoesNothing)
{
    installEdition(cityEdition(u"Справочник\r\nМосква", ydb::cityLetterMoscow), "msk.ydb");
    run([] {
        const RECT& banner = tileTable[0].rect;
        tapClient((banner.left + banner.right) / 2, banner.top + 2);
        EXPECT_EQ(databaseProgram.choices.count, 1);
        EXPECT_EQ(bannerTitle(), u"Справочник\r\nМосква");
        EXPECT_FALSE(buttonBar.slots[7].visible) << "no change button with one edition";
    });
}

TEST_F(HomeScenario, CaptionTilesOpenTheFirstRubricWithFirms)
{
    installTwoCities();
    run([] {
        tapTile(9);  // the telephones page
        searchState.firmListRequest = {};
        tapTile(26);  // " Милиция "
        driver::waitIdle();
        ASSERT_NE(searchState.firmListRequest.firmListRef, noFirmList);
        const uint32_t police = searchState.firmListRequest.firmListRef;
        driver::pressKey(VK_ESCAPE);  // the rubric's firm list opened over the page
        searchState.firmListRequest = {};
        tapTile(25);  // "Служба спасения": the first match has no firms, the next one does
        driver::waitIdle();
        ASSERT_NE(searchState.firmListRequest.firmListRef, noFirmList);
        EXPECT_NE(searchState.firmListRequest.firmListRef, police);
        driver::pressKey(VK_ESCAPE);
        searchState.firmListRequest = {};
        tapTile(27);  // "Скорая помощь": no such rubric
        driver::waitIdle();
        EXPECT_EQ(searchState.firmListRequest.firmListRef, noFirmList);
    });
}

TEST_F(HomeScenario, CtrlQEndsTheProgram)
{
    installTwoCities();
    const driver::ScenarioResult result = run([] {
        driver::pressKey('Q', {VK_CONTROL});
        EXPECT_TRUE(driver::programEnded());
    });
    EXPECT_EQ(result.exitCode, 0);
}

TEST_F(HomeScenario, NoDatabaseShowsTheErrorAndEnds)
{
    const driver::ScenarioResult result = run([] {
        const std::optional<driver::BoxRecord> box = driver::openBox();
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->caption, u"ОШИБКА");
        EXPECT_EQ(box->text, u"НЕТ ДОСТУПНЫХ БАЗ ДАННЫХ!");
        EXPECT_EQ(box->style & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
        EXPECT_NE(mainWindow(), nullptr) << "the box stands over the empty main window";
        driver::answerBox(IDOK);
        EXPECT_TRUE(driver::programEnded());
    });
    EXPECT_EQ(result.exitCode, 0);
}

} // namespace
