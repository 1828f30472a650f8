// An edition made as a publisher makes it, `ydb new` then `ydb build`, installed in a folder of its
// own with its pages, and opened by the handheld: the help opens at every screen's anchor, the metro
// scheme and the about pictures are the edition's own pictures, and every tile finds its page.
#include "tests/scenarios/firm_lists_edition.h"
#include "tests/scenarios/pages_edition.h"

#include "emulator.h"
#include "platform/gdi/screen.h"
#include "platform/shell/shell.h"
#include "resources/dernolo/dernolo_ids.h"
#include "shell/shell_state.h"

#include <cstdlib>
#include <fstream>

namespace {

using namespace dernolo_test;

std::string contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int ydb(const std::string& arguments)
{
    return std::system((std::string(YDB_PROGRAM) + " " + arguments + " >/dev/null").c_str());
}

std::string quoted(const fs::path& path)
{
    return "'" + path.string() + "'";
}

uint32_t le(const std::string& b, size_t at, int bytes)
{
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(b[at + static_cast<size_t>(i)]);
    return v;
}

// Pixel (x, y), counted from the top, of a bottom-up bitmap file of 8 or 24 bits, as 0x00RRGGBB.
uint32_t bitmapPixel(const std::string& file, int x, int y)
{
    const int width = static_cast<int>(le(file, 18, 4));
    const int height = static_cast<int>(le(file, 22, 4));
    const int bits = static_cast<int>(le(file, 28, 2));
    const size_t row = (static_cast<size_t>(width) * static_cast<size_t>(bits) / 8 + 3) & ~size_t{3};
    const size_t at = le(file, 10, 4) + row * static_cast<size_t>(height - 1 - y) + static_cast<size_t>(x) * static_cast<size_t>(bits / 8);
    const size_t colour = bits == 8 ? 14 + le(file, 14, 4) + 4 * static_cast<unsigned char>(file[at]) : at;
    return le(file, colour, 3);
}

class NewEditionScenario : public DernoloScenario {
protected:
    void SetUp() override
    {
        DernoloScenario::SetUp();
        work = fs::path(device.string() + "-source");
        fs::remove_all(work);
        ASSERT_EQ(ydb("new " + quoted(work / "town")), 0);
        if (!cityLetter.empty()) {
            std::string edition = contents(work / "town" / "edition.json");
            const std::string letter = "\"cityLetter\": \"Н\"";
            ASSERT_NE(edition.find(letter), std::string::npos);
            edition.replace(edition.find(letter), letter.size(), "\"cityLetter\": \"" + cityLetter + "\"");
            std::ofstream(work / "town" / "edition.json", std::ios::binary) << edition;
        }
        fs::create_directories(work / "out");
        ASSERT_EQ(ydb("build " + quoted(work / "town") + " -o " + quoted(work / "out" / "town.ydb") + " --quiet"), 0);
        installFile("Town/town.ydb", contents(work / "out" / "town.ydb"));
        for (const auto& page : fs::directory_iterator(work / "out" / "HTML"))
            installFile("Town/HTML/" + page.path().filename().string(), contents(page.path()));
    }
    void TearDown() override
    {
        DernoloScenario::TearDown();
        std::error_code ignored;
        fs::remove_all(work, ignored);
    }
    std::string picture(const std::string& name) const { return contents(work / "town" / "pictures" / name); }

    // Each tile's page opened, seen loaded from the edition's HTML folder, and closed again.
    static void expectTilePages(const std::u16string& tile6, const std::u16string& tile8, const char16_t* const (&lines)[5]);

    fs::path work;
    std::string cityLetter;  // the starter's own when empty
};

// The same edition with the city letter that selects the second set of tile pages.
class NewEditionOfLetterMScenario : public NewEditionScenario {
protected:
    void SetUp() override
    {
        cityLetter = "М";
        NewEditionScenario::SetUp();
    }
};

bool endsWith(std::u16string_view text, std::u16string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

TEST_F(NewEditionScenario, HelpOpensAtTheAnchorOfEveryScreen)
{
    run([] {
        tapBar(mainWindow(), IDI_BAR_HELP);
        ASSERT_NE(pane(), nullptr);
        ASSERT_NE(pane()->text, nullptr) << "the edition's help text is loaded";
        EXPECT_NE(std::string(pane()->text).find("<a name=\"t2\">"), std::string::npos);
        tapBar(mainWindow(), IDI_BAR_BACK);
        ASSERT_EQ(pane(), nullptr);

        const struct {
            int tile;
            const char16_t* anchor;
        } homePages[] = {{4, u"t34"}, {9, u"t43"}};
        for (const auto& p : homePages) {
            tapTile(p.tile);
            tapBar(mainWindow(), IDI_BAR_HELP);
            ASSERT_NE(pane(), nullptr);
            EXPECT_EQ(shownPage().anchor, p.anchor) << "the view stands at the anchor: the help holds it";
            tapBar(mainWindow(), IDI_BAR_HOME);
            tapBar(mainWindow(), IDI_BAR_BACK);
            ASSERT_EQ(shellState.homePageIndex, 0);
        }

        // Each screen's help, then back to the home screen by its bar.
        const struct {
            int tile;
            const char16_t* anchor;
        } screens[] = {{catalogueTile, u"t31"}, {2, u"t32"}, {5, u"t35"}, {7, u"t41"}};
        for (const auto& s : screens) {
            tapTile(s.tile);
            ASSERT_NE(GetActiveWindow(), mainWindow()) << s.tile;
            tapFrontBar(IDI_BAR_HELP);
            ASSERT_NE(pane(), nullptr) << s.tile;
            EXPECT_EQ(shownPage().anchor, s.anchor);
            screenshot(std::string("new-help-") + std::to_string(s.tile));
            tapFrontBar(IDI_BAR_BACK);
            EXPECT_EQ(pane(), nullptr);
            tapFrontBar(IDI_BAR_HOME);
            ASSERT_EQ(GetActiveWindow(), mainWindow()) << s.tile;
        }

        // The business card, from the first firm of the white pages.
        tapTile(catalogueTile);
        tapLine(IDC_LETTER_FIRMS, 0);
        ASSERT_EQ(driver::findWindow(u"", u"Визитка"), GetActiveWindow());
        tapFrontBar(IDI_BAR_HELP);
        ASSERT_NE(pane(), nullptr);
        EXPECT_EQ(shownPage().anchor, u"t2");
        tapFrontBar(IDI_BAR_BACK);
        tapFrontBar(IDI_BAR_HOME);
        EXPECT_EQ(GetActiveWindow(), mainWindow());
    });
}

TEST_F(NewEditionScenario, TheMetroSchemeAndTheAboutPicturesAreTheEditionsOwn)
{
    const std::string scheme = picture("metro.bmp");
    const std::string about[4] = {picture("about0.bmp"), picture("about1.bmp"), picture("about2.bmp"),
                                  picture("about3.bmp")};
    run([&] {
        tapTile(7);
        // It opens centred: the screen shows the middle of the scheme.
        const int schemeSize = static_cast<int>(le(scheme, 18, 4));
        const int contentHeight = 320 - 2 * barHeight;
        const int left = (schemeSize - 240) / 2, top = (schemeSize - contentHeight) / 2;
        for (int y = 0; y < contentHeight; y += 13)
            for (int x = 0; x < 240; x += 11)
                ASSERT_EQ(screenPixel(x, barHeight + y), bitmapPixel(scheme, left + x, top + y)) << x << "," << y;
        screenshot("new-metro");
        tapFrontBar(IDI_BAR_HOME);

        tapBar(mainWindow(), IDI_BAR_MAKER);
        const HWND screen = driver::findWindow(u"", u"О разработчике");
        ASSERT_NE(screen, nullptr);
        // Each picture whole at the screen's width, the upper one at the top of the screen (below the
        // task bar while it shows), the lower one above the bar; a pixel may come from its neighbour,
        // where the screen's frame takes a column off the width the picture is stretched to.
        auto rowsMatch = [](const std::string& bitmap, int width, int screenY, int pictureY) {
            for (int x = 2; x < width - 2; x += 5) {
                const uint32_t shown = screenPixel(x, screenY);
                if (shown != bitmapPixel(bitmap, x - 1, pictureY) && shown != bitmapPixel(bitmap, x, pictureY) &&
                    shown != bitmapPixel(bitmap, x + 1, pictureY))
                    return false;
            }
            return true;
        };
        // The first `rows` rows of the picture: the paragraph may reach into the upper picture's lower
        // half, the product name into the lower picture's foot.
        auto shownAt = [&](const std::string& bitmap, int width, int rows, int from, int to) {
            for (int at = from; at <= to; ++at) {
                bool whole = true;
                for (int y = 0; y < rows && whole; y += 3)
                    whole = rowsMatch(bitmap, width, at + y, y);
                if (whole)
                    return at;
            }
            return -1;
        };
        auto expectPictures = [&](int upper, int width, int bottom) {
            const int upperHeight = static_cast<int>(le(about[upper], 22, 4));
            const int lowerHeight = static_cast<int>(le(about[upper + 1], 22, 4));
            EXPECT_GE(shownAt(about[upper], width, upperHeight / 2, 0, barHeight + 1), 0) << "picture " << upper;
            EXPECT_GE(shownAt(about[upper + 1], width, lowerHeight - 20, bottom - lowerHeight - 30, bottom - lowerHeight + 2), 0)
                << "picture " << upper + 1;
        };
        expectPictures(0, 240, 320 - barHeight);
        screenshot("new-about-portrait");
        gdi::resizeScreen(320, 240);
        shell::screenTurned(320, 240);
        driver::waitIdle();
        expectPictures(2, 320, 240 - barHeight);
        screenshot("new-about-landscape");
    });
}

void NewEditionScenario::expectTilePages(const std::u16string& tile6, const std::u16string& tile8,
                                         const char16_t* const (&lines)[5])
{
    const std::u16string folder = u"\\Town\\HTML\\";
    for (const auto& [tile, page] : {std::pair{6, tile6}, std::pair{8, tile8}}) {
        tapTile(tile);
        ASSERT_NE(pane(), nullptr);
        EXPECT_TRUE(endsWith(shownPage().address, folder + page)) << "loaded, not left on its loading text";
        tapBar(mainWindow(), IDI_BAR_BACK);
        ASSERT_EQ(pane(), nullptr);
    }
    tapTile(telephonesTile);
    for (int i = 0; i < 5; ++i) {
        tapTile(29 + i);
        ASSERT_NE(pane(), nullptr);
        EXPECT_TRUE(endsWith(shownPage().address, folder + lines[i])) << i;
        tapBar(mainWindow(), IDI_BAR_BACK);
        ASSERT_EQ(shellState.homePageIndex, 2);
    }
    tapBar(mainWindow(), IDI_BAR_BACK);

    // The product name at the about screen's lower right opens the same page in both sets.
    tapBar(mainWindow(), IDI_BAR_MAKER);
    driver::tap(220, 320 - barHeight - 10);
    ASSERT_NE(pane(), nullptr);
    EXPECT_TRUE(endsWith(shownPage().address, folder + u"lumetra.html"));
}

TEST_F(NewEditionScenario, EveryTileFindsItsPage)
{
    run([] {
        expectTilePages(u"lumetra.html", u"bridges.html",
                        {u"emergency.html", u"security_service.html", u"medics.html", u"transport.html", u"info_service.html"});
    });
}

TEST_F(NewEditionOfLetterMScenario, EveryTileOfTheSecondSetFindsItsPage)
{
    run([] {
        expectTilePages(u"quandrix.html", u"pdd.htm", {u"resc.htm", u"ohr.htm", u"zdrav.htm", u"transp.htm", u"sprav.htm"});
    });
}

}  // namespace
