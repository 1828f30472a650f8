// Dernolo driven as a user drives it, headless on a 240 x 320 device with the shell's 26-pixel
// task bar: the home screen's geometry, its keys and taps, the database change between editions,
// the rubric opened by a tile's caption, Ctrl+Q, and a device without any database.
#include "db/database_program.h"
#include "db/format.h"
#include "emulator.h"
#include "platform/gdi/png_writer.h"
#include "platform/gdi/screen.h"
#include "platform/shell/shell.h"
#include "platform/testing/scenario.h"
#include "platform/testing/windows.h"
#include "platform/ui/window_manager.h"
#include "search/search_state.h"
#include "shell/button_bar.h"
#include "shell/shell_state.h"
#include "shell/tile_table.h"
#include "tools/writer/edition_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);
void registerStandardControls();

namespace {

namespace fs = std::filesystem;

const char installFolderPath[] = "Storage Card/Program Files/MORVANE/QUILLDEN";

std::string cp1251(std::u16string_view text)
{
    std::string bytes(text.size() * 2 + 1, '\0');
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                                           static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return bytes;
}

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

class DernoloScenario : public ::testing::Test {
protected:
    void SetUp() override
    {
        device = fs::temp_directory_path() / ("dernolo-" + std::to_string(::getpid()) + "-" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(device);
        fs::create_directories(device / installFolderPath);
        fs::create_directories(device / "Windows");
        ASSERT_EQ(emu::setDeviceRoot(device.string()), 0);
        emu::setModuleFileName(u"\\Windows\\dernolo.exe");
        emu::clearJournal();
        gdi::resizeScreen(240, 320);
        ui::resetWindowManager();
        registerStandardControls();
        shell::startShell();
        databaseProgram = DatabaseProgram{};
        shellState = ShellState{};
    }
    void TearDown() override
    {
        shell::stopShell();
        ui::resetWindowManager();
        std::error_code ignored;
        fs::remove_all(device, ignored);
    }

    void installEdition(const Edition& edition, const std::string& name)
    {
        DatabaseImage image;
        std::string error;
        ASSERT_EQ(writeEdition(edition, image, error), 0) << error;
        ASSERT_EQ(saveImage(image, (device / installFolderPath / name).string(), error), 0) << error;
    }
    void installTwoCities()
    {
        installEdition(cityEdition(u"Справочник\r\nСанкт-Петербург", 'P'), "a_spb.ydb");
        installEdition(cityEdition(u"Справочник\r\nМосква", ydb::cityLetterMoscow), "b_msk.ydb");
    }

    driver::ScenarioResult run(const driver::ScenarioBody& body)
    {
        driver::ScenarioResult result = driver::runScenario(
            [] { return WinMain(emu::programInstance(), nullptr, nullptr, SW_SHOW); }, body);
        for (const std::string& failure : result.failures)
            ADD_FAILURE() << failure;
        return result;
    }

    static HWND mainWindow() { return driver::findWindow(u"DERNOLO", u"Morvane Quillden"); }

    // A tap in the main window's client coordinates.
    static void tapClient(int x, int y)
    {
        POINT p = {x, y};
        ClientToScreen(mainWindow(), &p);
        driver::tap(p.x, p.y);
    }
    static void tapTile(int tile)
    {
        const RECT& r = tileTable[tile].rect;
        tapClient((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    static std::u16string bannerTitle() { return shellState.databaseTitle; }

    void screenshot(const std::string& name)
    {
        const char* folder = std::getenv("DERNOLO_SCREENSHOTS");
        if (folder != nullptr && *folder)
            gdi::savePng(gdi::screen(), std::string(folder) + "/" + name + ".png");
    }

    fs::path device;
};

TEST_F(DernoloScenario, WindowAndTilesOnA240By320Screen)
{
    installTwoCities();
    run([this] {
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

TEST_F(DernoloScenario, KeysSelectAndClampAndTheActionKeyChangesTheDatabase)
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

TEST_F(DernoloScenario, TheBannerChangesOnStylusDownAndComesBackAfterAFullRound)
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

TEST_F(DernoloScenario, WithOneEditionTheBannerDoesNothing)
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

TEST_F(DernoloScenario, CaptionTilesOpenTheFirstRubricWithFirms)
{
    installTwoCities();
    run([] {
        tapTile(9);  // the telephones page
        searchState.firmListRequest = {};
        tapTile(26);  // " Милиция "
        driver::waitIdle();
        ASSERT_NE(searchState.firmListRequest.firmListRef, noFirmList);
        const uint32_t police = searchState.firmListRequest.firmListRef;
        searchState.firmListRequest = {};
        tapTile(25);  // "Служба спасения": the first match has no firms, the next one does
        driver::waitIdle();
        ASSERT_NE(searchState.firmListRequest.firmListRef, noFirmList);
        EXPECT_NE(searchState.firmListRequest.firmListRef, police);
        searchState.firmListRequest = {};
        tapTile(27);  // "Скорая помощь": no such rubric
        driver::waitIdle();
        EXPECT_EQ(searchState.firmListRequest.firmListRef, noFirmList);
    });
}

TEST_F(DernoloScenario, CtrlQEndsTheProgram)
{
    installTwoCities();
    const driver::ScenarioResult result = run([] {
        driver::pressKey('Q', {VK_CONTROL});
        EXPECT_TRUE(driver::programEnded());
    });
    EXPECT_EQ(result.exitCode, 0);
}

TEST_F(DernoloScenario, NoDatabaseShowsTheErrorAndEnds)
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
