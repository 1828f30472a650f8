// The page pane, the about screen and the metro scheme driven as a user drives them: help from the
// bar on each home page, links followed and walked back and forth, information pages from the tiles,
// a mailto: link, the maker's pictures in both orientations and the product page, the scheme panned
// by keys, drags and taps; then every allocation and file read of a help load, an information page
// and each picture load failed in turn.
#include "tests/scenarios/dernolo_fixture.h"

#include "card/html_pane.h"
#include "db/database_program.h"
#include "emulator.h"
#include "platform/gdi/screen.h"
#include "platform/shell/shell.h"
#include "platform/testing/windows.h"
#include "resources/dernolo/dernolo_ids.h"
#include "shell/button_bar.h"
#include "shell/shell_state.h"
#include "shell/tile_table.h"

#include <algorithm>
#include <functional>

namespace {

using namespace dernolo_test;

constexpr int barHeight = 26;
constexpr int schemeWidth = 800;
constexpr int schemeHeight = 900;

void put16(std::string& s, size_t at, uint32_t v)
{
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, size_t at, uint32_t v)
{
    put16(s, at, v & 0xFFFF);
    put16(s, at + 2, v >> 16);
}

// A 24-bit bitmap file whose pixel (x, y), counted from the top, has the colour colourAt(x, y).
std::string bitmapFile(int width, int height, const std::function<uint32_t(int, int)>& colourAt)
{
    const size_t row = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    std::string file(54 + row * static_cast<size_t>(height), '\0');
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 2, static_cast<uint32_t>(file.size()));
    put32(file, 10, 54);
    put32(file, 14, 40);
    put32(file, 18, static_cast<uint32_t>(width));
    put32(file, 22, static_cast<uint32_t>(height));
    put16(file, 26, 1);
    put16(file, 28, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t c = colourAt(x, y);
            const size_t at = 54 + row * static_cast<size_t>(height - 1 - y) + static_cast<size_t>(x) * 3;
            file[at] = static_cast<char>(c & 0xFF);
            file[at + 1] = static_cast<char>((c >> 8) & 0xFF);
            file[at + 2] = static_cast<char>((c >> 16) & 0xFF);
        }
    return file;
}

// The scheme's pixels say where they are: red and green the low bits of x and y, blue the high ones.
uint32_t schemeColour(int x, int y)
{
    return static_cast<uint32_t>(((x & 0xFF) << 16) | ((y & 0xFF) << 8) | ((x >> 8) << 4) | (y >> 8));
}
POINT schemePointAt(uint32_t colour)
{
    return POINT{static_cast<LONG>(((colour >> 16) & 0xFF) | (((colour >> 4) & 0xF) << 8)),
                 static_cast<LONG>(((colour >> 8) & 0xFF) | ((colour & 0xF) << 8))};
}

constexpr uint32_t portraitUpper = 0xC02020;
constexpr uint32_t portraitLower = 0x20C020;
constexpr uint32_t landscapeUpper = 0x2020C0;
constexpr uint32_t landscapeLower = 0xC0C020;

// A block link filling the top of the view, so that a tap there follows it.
std::string blockLink(const std::string& target, const std::string& text)
{
    return "<a href=\"" + target + "\" style=\"display:block;height:60px\">" + text + "</a>";
}

// Help whose top links to #a1 and each #aK to #a(K+1), with the screens' anchors after them.
std::string helpText()
{
    std::string text = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"
                       "</head><body>" + blockLink("#a1", "first") + "<div style=\"height:300px\">top</div>";
    for (int k = 1; k <= 12; ++k)
        text += "<a name=\"a" + std::to_string(k) + "\"></a>" + blockLink("#a" + std::to_string(k + 1), "next") +
                "<div style=\"height:300px\">" + std::to_string(k) + "</div>";
    for (const char* anchor : {"t2", "t31", "t32", "t34", "t35", "t41", "t43"})
        text += std::string("<a name=\"") + anchor + "\"></a><p>" + anchor + "</p><div style=\"height:300px\"></div>";
    return text + "</body></html>";
}

std::string page(const std::string& body)
{
    return "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\"></head><body>" +
           body + "<div style=\"height:600px\"></div></body></html>";
}

Edition pagesEdition(uint8_t letter = 'P')
{
    Edition e;
    e.title = cp1251(u"Справочник\r\nСтраницы");
    e.cityLetter = letter;
    EditionFirm firm;
    firm.name = cp1251(u"Фирма");
    e.firms.push_back(firm);
    EditionRubric rubric;
    rubric.code = "01";
    rubric.title = cp1251(u"Службы");
    e.rubrics.push_back(rubric);
    auto picture = [&](int width, int height, uint32_t colour) {
        e.chunks.push_back({ChunkKind::picture, bitmapFile(width, height, [colour](int, int) { return colour; })});
    };
    // The help text comes first: pictures are counted among the pictures only.
    e.chunks.push_back({ChunkKind::help, helpText()});
    picture(240, 60, portraitUpper);
    picture(240, 50, portraitLower);
    picture(320, 40, landscapeUpper);
    picture(320, 30, landscapeLower);
    e.chunks.push_back({ChunkKind::picture, bitmapFile(schemeWidth, schemeHeight, schemeColour)});
    return e;
}

class PagesScenario : public DernoloScenario {
protected:
    void SetUp() override
    {
        DernoloScenario::SetUp();
        installEdition(pagesEdition(), "pages.ydb");
        installFile("HTML/bridges.html", page(blockLink("medics.html", "medics") + "<p>bridges</p>"));
        installFile("HTML/medics.html", page(blockLink("mailto:doctor@clinic.ru", "write") + "<p>medics</p>"));
        installFile("HTML/emergency.html", page("<p>emergency</p>"));
        installFile("HTML/lumetra.html", page("<p>product</p>"));
    }
};

HtmlPane* pane() { return pageViewer.currentPane; }

// A tap on the block link at the top of the page pane.
void tapTopLink()
{
    driver::tap(120, barHeight + 30);
}

HWND screenWindow(std::u16string_view caption)
{
    HWND found = driver::findWindow(u"", caption);
    return found;
}

uint32_t screenPixel(int x, int y)
{
    const gdi::Framebuffer& fb = gdi::screen();
    return fb.pixels[static_cast<size_t>(y) * static_cast<size_t>(fb.width) + static_cast<size_t>(x)];
}

TEST_F(PagesScenario, HelpOnEachHomePageOpensAtItsAnchorAndBackRestoresThePage)
{
    run([this] {
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
    run([this] {
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
        tapBar(mainWindow(), IDI_BAR_FORWARD);
        EXPECT_EQ(pane()->historyIndex, 9);
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
    run([this] {
        tapTile(8);  // "Разводка мостов"
        ASSERT_NE(pane(), nullptr);
        EXPECT_EQ(shellState.homePageIndex, -3);
        EXPECT_EQ(pane()->historyIndex, -1);
        screenshot("page-bridges");
        tapTopLink();  // to medics.html
        EXPECT_EQ(pane()->historyIndex, 0);
        EXPECT_STREQ(pane()->history[0], "medics.html");
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

TEST_F(PagesScenario, AMailtoLinkStartsTheMailProgramAndLeavesTheHistory)
{
    run([this] {
        tapTile(8);
        tapTopLink();  // bridges -> medics
        ASSERT_NE(pane(), nullptr);
        const int index = pane()->historyIndex;
        tapTopLink();  // medics: mailto:
        EXPECT_EQ(pane()->historyIndex, index);
        const std::vector<std::string> journal = emu::journal();
        EXPECT_NE(std::find(journal.begin(), journal.end(), "mail mailto:doctor@clinic.ru"), journal.end());
    });
}

TEST_F(PagesScenario, TheAboutScreenFollowsTheTurnAndItsLowerRightOpensTheProductPage)
{
    run([this] {
        driver::pressKey('A', {VK_CONTROL});
        HWND about = screenWindow(u"О разработчике");
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(screenPixel(120, barHeight + 5), portraitUpper);
        EXPECT_EQ(screenPixel(120, 320 - barHeight - 5), portraitLower);
        screenshot("about-portrait");

        driver::tap(30, barHeight + 120);  // the middle: nothing
        EXPECT_EQ(pane(), nullptr);
        driver::tap(220, 320 - barHeight - 10);  // the lower right
        ASSERT_NE(pane(), nullptr);
        EXPECT_EQ(shellState.homePageIndex, -3);
        tapBar(about, IDI_BAR_BACK);
        EXPECT_EQ(pane(), nullptr);
        EXPECT_NE(screenWindow(u"О разработчике"), nullptr) << "back closed the page, not the screen";

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

TEST_F(PagesScenario, TheMetroSchemeOpensCentredAndPansByKeysDragsAndTaps)
{
    run([this] {
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
        tapBar(mainWindow(), IDI_BAR_BACK);
        EXPECT_EQ(pane(), nullptr);
        EXPECT_EQ(shown().x, tapped.x) << "the scheme kept its place under the page";
    });
}

}  // namespace
