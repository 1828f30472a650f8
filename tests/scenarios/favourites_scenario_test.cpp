// The favourites page as its user drives it: the file read on entering the page whatever its line
// breaks, comments, length and number of entries; adding through the "Добавить" tile's choice and by
// holding the stylus on the rubrics list; clearing; editing in the notes editor with the wait for
// it; each database's own list; a slot opening its rubric's firms; an append the file refuses.
#include "tests/scenarios/favourites_scenario.h"

#include "db/database_program.h"
#include "emulator.h"
#include "platform/host/host_services.h"
#include "platform/testing/windows.h"
#include "resources/dernolo/dernolo_ids.h"
#include "search/search_state.h"
#include "shell/button_bar.h"
#include "shell/favourites_commands.h"
#include "shell/shell_state.h"
#include "shell/tile_table.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace {

using namespace dernolo_test;

using Slots = std::vector<std::u16string>;

const std::u16string reminderText =
    u"С помощью редактора заметок вы сможете удалить выборочно рубрики или изменить их порядок. Для этого "
    u"удалите или переставьте строки местами. Редактируйте только в режиме печатного текста!";

std::string commentLines()
{
    return cp1251(u"*Вы можете только:\r\n*удалить строки или\r\n*переставить строки местами\r\n");
}

// The stylus on a rubric of the list, the confirmation answered; the list stays open.
void holdOn(std::u16string_view rubric, int answer) { holdAt(itemPoint(rubric), answer); }

using Favourites = FavouritesScenario;

TEST_F(Favourites, ThePageShowsTheEntriesOfTheFileAsItIsOnEachEntry)
{
    writeFavourites(cp1251(u"*Банки\r\n\r\nАптеки\n\nВокзалы\r\r*\rГостиницы"));
    run([this] {
        EXPECT_EQ(slots(), (Slots{u"Аптеки", u"Вокзалы", u"Гостиницы"})) << "read at start-up";
        tapTile(favouritesTile);
        EXPECT_EQ(shellState.homePageIndex, favouritesPage);
        EXPECT_EQ(homePages[favouritesPage].last, firstFavouriteSlot + 2);
        screenshot("favourites-page");

        // Thirteen entries: the twelfth is the last slot, the thirteenth stays in the file unseen.
        std::string many;
        for (int i = 1; i <= 13; ++i)
            many += "r" + std::to_string(i) + "\r\n";
        writeFavourites(many);
        enterFavouritesPage();
        ASSERT_EQ(shownSlots().size(), 12u);
        EXPECT_EQ(shownSlots().back(), u"r12");
        EXPECT_EQ(homePages[favouritesPage].last, 24);
        driver::pressKey(VK_RIGHT);
        driver::pressKey(VK_DOWN);
        for (int i = 0; i < 8; ++i)
            driver::pressKey(VK_DOWN);
        EXPECT_EQ(shellState.selectedTile, 24) << "the keys reach the last loaded slot";

        // An entry running past 2048 bytes ends there; the one after it is never read.
        writeFavourites("first\r\n" + std::string(2100, 'y') + "\r\nlast\r\n");
        enterFavouritesPage();
        ASSERT_EQ(shownSlots().size(), 2u);
        EXPECT_EQ(slots()[1].size(), 2048u - 7u);

        std::filesystem::remove(favouritesFile());
        enterFavouritesPage();
        EXPECT_TRUE(shownSlots().empty());
        driver::pressKey(VK_DOWN);
        driver::pressKey(VK_DOWN);
        EXPECT_EQ(shellState.selectedTile, 12) << "without favourites only the three tiles take keys";
    });
}

TEST_F(Favourites, TheAddTileAppendsTheChosenRubricOnlyOnYes)
{
    // The user's own last line, left without a break, stays an entry of its own.
    writeFavourites(cp1251(u"Вокзалы"));
    run([this] {
        tapTile(favouritesTile);
        tapTile(addTile);
        ASSERT_NE(treeScreen(), nullptr);
        EXPECT_EQ(searchState.flatMode, 1);
        tapItem(u"Банки");
        ASSERT_TRUE(driver::openBox());
        EXPECT_EQ(driver::openBox()->caption, u"ПОДТВЕРДИТЕ");
        EXPECT_EQ(driver::openBox()->text, u"Добавить в избранное рубрику 'Банки'?");
        EXPECT_EQ(driver::openBox()->style & (MB_YESNO | MB_ICONQUESTION), UINT{MB_YESNO | MB_ICONQUESTION});
        driver::answerBox(IDNO);
        EXPECT_EQ(readFavourites(), cp1251(u"Вокзалы"));
        EXPECT_EQ(shownSlots(), Slots{u"Вокзалы"});

        tapTile(addTile);
        tapItem(u"Аптеки");
        driver::answerBox(IDYES);
        EXPECT_EQ(readFavourites(), cp1251(u"Вокзалы\r\nАптеки\r\n"));
        EXPECT_EQ(shownSlots(), (Slots{u"Вокзалы", u"Аптеки"})) << "the new rubric is the last slot";
        EXPECT_EQ(shellState.homePageIndex, favouritesPage);

        // Closed without a choice: nothing is asked.
        const size_t asked = driver::boxes().size();
        tapTile(addTile);
        tapBar(GetActiveWindow(), IDI_BAR_BACK);
        EXPECT_EQ(driver::boxes().size(), asked);
        EXPECT_EQ(shellState.homePageIndex, favouritesPage);
        // Closed by home: the favourites page goes home too.
        tapTile(addTile);
        tapBar(GetActiveWindow(), IDI_BAR_HOME);
        EXPECT_EQ(treeScreen(), nullptr);
        EXPECT_EQ(shellState.homePageIndex, mainPage);
        EXPECT_EQ(driver::boxes().size(), asked);
    });
}

TEST_F(Favourites, HoldingTheStylusAddsSeveralRubricsInBothLists)
{
    run([this] {
        tapTile(rubricsTile);
        holdOn(u"Банки", IDYES);
        holdOn(u"Аптеки", IDNO);
        holdOn(u"Гостиницы", IDYES);
        tapBar(GetActiveWindow(), IDI_BAR_BACK);
        tapTile(favouritesTile);
        EXPECT_EQ(shownSlots(), (Slots{u"Банки", u"Гостиницы"}));

        tapTile(addTile);
        holdOn(u"Шиномонтаж", IDYES);
        holdOn(u"Банкоматы", IDYES);
        ASSERT_NE(treeScreen(), nullptr) << "holds keep the choice open";
        EXPECT_EQ(slots(), (Slots{u"Банки", u"Гостиницы", u"Шиномонтаж", u"Банкоматы"})) << "the slots follow at once";
        tapItem(u"Автосервисы");
        driver::answerBox(IDYES);
        EXPECT_EQ(readFavourites(),
                  cp1251(u"Банки\r\nГостиницы\r\nШиномонтаж\r\nБанкоматы\r\nАвтосервисы\r\n"));
        EXPECT_EQ(shownSlots().size(), 5u);
    });
}

TEST_F(Favourites, ClearingAsksWithNoAsTheDefaultAndDeletesOnYes)
{
    writeFavourites(cp1251(u"Банки\r\nАптеки\r\n"));
    run([this] {
        tapTile(favouritesTile);
        tapTile(clearTile);
        ASSERT_TRUE(driver::openBox());
        EXPECT_EQ(driver::openBox()->caption, u"ПОДТВЕРДИТЕ");
        EXPECT_EQ(driver::openBox()->text, u"Вы действительно хотите удалить ВСЕ пункты избранного?");
        EXPECT_EQ(emu::defaultMessageBoxAnswer(driver::openBox()->style), IDNO) << "No is the default";
        driver::answerBox(IDNO);
        EXPECT_EQ(readFavourites(), cp1251(u"Банки\r\nАптеки\r\n"));
        EXPECT_EQ(shownSlots().size(), 2u);

        tapTile(clearTile);
        driver::answerBox(IDYES);
        EXPECT_FALSE(std::filesystem::exists(favouritesFile()));
        EXPECT_TRUE(shownSlots().empty());
        EXPECT_EQ(homePages[favouritesPage].last, 12);
        screenshot("favourites-cleared");

        tapTile(clearTile);
        driver::answerBox(IDYES);
        EXPECT_EQ(driver::boxes().size(), 3u) << "clearing nothing is no error";
    });
}

TEST_F(Favourites, EditingAnAbsentFileGivesItTheCommentLinesWhichAreNeverSlots)
{
    run([this] {
        tapTile(favouritesTile);
        tapTile(editTile);
        ASSERT_TRUE(driver::openBox());
        EXPECT_EQ(driver::openBox()->caption, u"НАПОМИНАНИЕ");
        EXPECT_EQ(driver::openBox()->text, reminderText);
        EXPECT_EQ(driver::openBox()->style & (MB_TYPEMASK | MB_ICONMASK), UINT{MB_OK});
        EXPECT_EQ(readFavourites(), commentLines()) << "written before the reminder";
        emu::clearJournal();
        driver::answerBox(IDOK);
        ASSERT_EQ(emu::journal().size(), 1u);
        const std::string started = emu::journal()[0];
        EXPECT_EQ(started.rfind("edit ", 0), 0u) << started;
        EXPECT_NE(started.find("QUILLDEN\\SPb\\Favorites.txt"), std::string::npos) << "the file beside the database";
        EXPECT_TRUE(shownSlots().empty());
        EXPECT_TRUE(IsWindowEnabled(mainWindow()));

        // A second edit finds the file no longer empty and leaves it as it is.
        tapTile(editTile);
        driver::answerBox(IDOK);
        EXPECT_EQ(readFavourites(), commentLines());
    });
}

TEST_F(Favourites, TheEditWaitsUntilTheEditorLetsTheFileGoAndShowsWhatItLeft)
{
    writeFavourites(cp1251(u"Аптеки\r\n"));
    run([this] {
        tapTile(favouritesTile);
        tapTile(editTile);
        ASSERT_TRUE(driver::openBox());
        // The editor opens the file, the user reorders it, and the editor ends a moment later.
        const std::string host = favouritesFile().string();
        ASSERT_TRUE(emu::holdFileForHostProgram(host));
        writeFavourites(cp1251(u"Банки\r\nАптеки\r\n"));
        std::thread editor([host] {
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            emu::releaseFileOfHostProgram(host);
        });
        const auto start = std::chrono::steady_clock::now();
        driver::answerBox(IDOK);
        const auto waited = std::chrono::steady_clock::now() - start;
        editor.join();
        EXPECT_GE(waited, std::chrono::milliseconds(400)) << "the program waited for the editor";
        EXPECT_EQ(driver::boxes().size(), 1u) << "an editor that ends in time asks nothing";
        EXPECT_EQ(shownSlots(), (Slots{u"Банки", u"Аптеки"}));
        EXPECT_TRUE(IsWindowEnabled(mainWindow()));
        tapTile(firstFavouriteSlot);
        EXPECT_NE(firmListScreen(), nullptr) << "the home screen takes taps again";
    });
}

TEST_F(Favourites, AnEditorThatKeepsTheFileIsAskedAboutAndCanBeLeft)
{
    writeFavourites(cp1251(u"Аптеки\r\n"));
    run([this] {
        editorWait.patience = 300;
        tapTile(favouritesTile);
        tapTile(editTile);
        const std::string host = favouritesFile().string();
        ASSERT_TRUE(emu::holdFileForHostProgram(host));
        driver::answerBox(IDOK);
        ASSERT_TRUE(driver::openBox()) << "the user is asked once the patience is spent";
        EXPECT_EQ(driver::openBox()->caption, u"НАПОМИНАНИЕ");
        EXPECT_EQ(driver::openBox()->style & MB_TYPEMASK, UINT{MB_RETRYCANCEL});
        driver::answerBox(IDRETRY);
        ASSERT_TRUE(driver::openBox()) << "Retry waits once more";
        EXPECT_EQ(driver::boxes().size(), 3u);

        writeFavourites(cp1251(u"Вокзалы\r\n"));
        emu::releaseFileOfHostProgram(host);
        driver::answerBox(IDRETRY);
        EXPECT_FALSE(driver::openBox());
        EXPECT_EQ(shownSlots(), Slots{u"Вокзалы"});

        // Cancel leaves an editor that never lets go and shows the file as it is.
        tapTile(editTile);
        ASSERT_TRUE(emu::holdFileForHostProgram(host));
        driver::answerBox(IDOK);
        ASSERT_TRUE(driver::openBox());
        writeFavourites(cp1251(u"Гостиницы\r\n"));
        driver::answerBox(IDCANCEL);
        EXPECT_FALSE(driver::openBox());
        EXPECT_EQ(shownSlots(), Slots{u"Гостиницы"});
        EXPECT_TRUE(IsWindowEnabled(mainWindow()));
        emu::releaseFileOfHostProgram(host);
    });
}

// The host's own editor, started for real: one that cannot start, and one that edits and ends.
class FavouritesWithHostEditor : public FavouritesScenario {
protected:
    void SetUp() override
    {
        FavouritesScenario::SetUp();
        host::setLaunchMode(host::LaunchMode::Launch);
    }
    void TearDown() override
    {
        host::setLaunchMode(host::LaunchMode::Journal);
        unsetenv("VISUAL");
        FavouritesScenario::TearDown();
    }
};

TEST_F(FavouritesWithHostEditor, WithoutAnEditorTheUserIsToldAndTheListIsReadAgain)
{
    writeFavourites(cp1251(u"Аптеки\r\n"));
    setenv("VISUAL", (device / "no-such-editor").c_str(), 1);
    run([this] {
        tapTile(favouritesTile);
        tapTile(editTile);
        writeFavourites(cp1251(u"Банки\r\n"));
        driver::answerBox(IDOK);
        ASSERT_TRUE(driver::openBox());
        EXPECT_EQ(driver::openBox()->caption, u"РЕДАКТОР ЗАМЕТОК");
        EXPECT_FALSE(driver::openBox()->text.empty()) << "the platform's reason";
        driver::answerBox(IDOK);
        EXPECT_EQ(shownSlots(), Slots{u"Банки"});
    });
}

TEST_F(FavouritesWithHostEditor, AnEditorThatEditsAndEndsLeavesItsListOnThePage)
{
    writeFavourites(cp1251(u"Аптеки\r\nБанки\r\n"));
    const fs::path edited = device / "edited.txt";
    std::ofstream(edited, std::ios::binary) << cp1251(u"Банки\r\nАптеки\r\n");
    const fs::path editor = device / "editor.sh";
    std::ofstream(editor) << "#!/bin/sh\nsleep 0.3\ncp \"" << edited.string() << "\" \"$1\"\n";
    fs::permissions(editor, fs::perms::owner_all);
    setenv("VISUAL", editor.c_str(), 1);
    run([] {
        tapTile(favouritesTile);
        tapTile(editTile);
        driver::answerBox(IDOK);
        EXPECT_EQ(shownSlots(), (Slots{u"Банки", u"Аптеки"}));
    });
}

TEST_F(Favourites, EachDatabaseKeepsItsOwnListAcrossDatabaseChanges)
{
    Edition moscow = rubricTreeEdition();
    moscow.title = cp1251(u"Справочник\r\nМосква");
    installEdition(moscow, "msk.ydb", "Msk");
    writeFavourites(cp1251(u"Аптеки\r\n"), "SPb");
    writeFavourites(cp1251(u"Вокзалы\r\n"), "Msk");
    std::string first;
    run([&] {
        auto folderOfCurrent = [] {
            const DatabaseChoices& c = databaseProgram.choices;
            return std::u16string(c.entries[c.current].path).find(u"\\Msk\\") != std::u16string::npos ? "Msk"
                                                                                                      : "SPb";
        };
        first = folderOfCurrent();
        const std::string second = first == "SPb" ? "Msk" : "SPb";
        const Slots firstList = first == "SPb" ? Slots{u"Аптеки"} : Slots{u"Вокзалы"};
        const Slots secondList = first == "SPb" ? Slots{u"Вокзалы"} : Slots{u"Аптеки"};
        EXPECT_EQ(slots(), firstList);

        tapTile(bannerTile);
        EXPECT_EQ(folderOfCurrent(), second);
        EXPECT_EQ(slots(), secondList) << "the change reads the other folder's list";
        tapTile(favouritesTile);
        tapTile(addTile);
        tapItem(u"Банки");
        driver::answerBox(IDYES);
        EXPECT_EQ(shownSlots().back(), u"Банки");

        tapBar(mainWindow(), IDI_BAR_BACK);
        tapTile(bannerTile);
        EXPECT_EQ(slots(), firstList) << "the first list did not get the other's entry";
        tapTile(favouritesTile);
        EXPECT_EQ(shownSlots(), firstList);
    });
    EXPECT_EQ(readFavourites(first), cp1251(first == "SPb" ? u"Аптеки\r\n" : u"Вокзалы\r\n"));
}

TEST_F(Favourites, ASlotOpensTheFirstRubricWithFirmsWhoseTitleBeginsWithIt)
{
    writeFavourites(cp1251(u"банк\r\nАвто\r\nНет такой\r\n"));
    run([] {
        tapTile(rubricsTile);
        tapItem(u"Банки");
        const uint32_t banks = searchState.firmListRequest.firmListRef;
        tapBar(GetActiveWindow(), IDI_BAR_BACK);
        tapItem(u"Автосервисы");
        const uint32_t service = searchState.firmListRequest.firmListRef;
        tapBar(GetActiveWindow(), IDI_BAR_BACK);
        tapBar(GetActiveWindow(), IDI_BAR_BACK);
        ASSERT_EQ(treeScreen(), nullptr);

        tapTile(favouritesTile);
        searchState.firmListRequest = {};
        tapTile(firstFavouriteSlot);
        ASSERT_NE(firmListScreen(), nullptr) << "any letter case, the first in table order";
        EXPECT_EQ(searchState.firmListRequest.firmListRef, banks);
        EXPECT_EQ(searchState.firmListRequest.rubricIndex, 0);
        tapBar(GetActiveWindow(), IDI_BAR_HOME);
        EXPECT_EQ(firmListScreen(), nullptr);
        EXPECT_EQ(shellState.homePageIndex, favouritesPage) << "home from the list is the favourites page";

        tapTile(firstFavouriteSlot + 1);
        EXPECT_EQ(searchState.firmListRequest.firmListRef, service) << "a heading without firms is passed over";
        tapBar(GetActiveWindow(), IDI_BAR_BACK);

        searchState.firmListRequest = {};
        tapTile(firstFavouriteSlot + 2);
        tapTile(firstFavouriteSlot + 3);
        EXPECT_EQ(firmListScreen(), nullptr) << "no such rubric, and an empty slot: nothing";
        EXPECT_EQ(searchState.firmListRequest.firmListRef, noFirmList);
    });
}

TEST_F(Favourites, AnAppendTheFileRefusesIsReportedOnTheHomeScreenAndSilentInTheTree)
{
    writeFavourites(cp1251(u"Аптеки\r\n"));
    fs::permissions(favouritesFile(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    run([this] {
        tapTile(favouritesTile);
        tapTile(addTile);
        holdOn(u"Банки", IDYES);
        EXPECT_EQ(driver::boxes().size(), 1u) << "the tree says nothing more";
        tapItem(u"Банкоматы");
        driver::answerBox(IDYES);
        ASSERT_TRUE(driver::openBox());
        EXPECT_EQ(driver::openBox()->caption, u"ОШИБКА ЗАПИСИ");
        EXPECT_EQ(driver::openBox()->style & MB_ICONMASK, UINT{MB_ICONSTOP});
        driver::answerBox(IDOK);
        EXPECT_EQ(readFavourites(), cp1251(u"Аптеки\r\n"));
        EXPECT_EQ(shownSlots(), Slots{u"Аптеки"});

        // Nor can a refused file be cleared: the user is told rather than shown a list that stays.
        tapTile(clearTile);
        driver::answerBox(IDYES);
        ASSERT_TRUE(driver::openBox());
        EXPECT_EQ(driver::openBox()->caption, u"ОШИБКА ЗАПИСИ");
        driver::answerBox(IDOK);
        EXPECT_EQ(shownSlots(), Slots{u"Аптеки"});
    });
}

}  // namespace
