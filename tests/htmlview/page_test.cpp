// Pages laid out and drawn apart from any window: the editions' pages, anchors, links activated
// by the stylus, files read from the device and pictures.
#include "page_fixture.h"

#include <fstream>
#include <iterator>

namespace htmlview_test {
namespace {

using htmlview::HtmlPage;

std::string sourcePage(const std::string& relative)
{
    std::ifstream in(std::string(DIR_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(PageTest, TheBridgeTimetableIsLegibleOnTheHandheldScreen)
{
    std::string text = sourcePage("data/spb/html/bridges.html");
    ASSERT_FALSE(text.empty());
    HtmlPage page;
    ASSERT_TRUE(htmlview::loadPageFile(page, writePage("bridges.html", text), 240));
    EXPECT_EQ(page.container.caption, "Разводка мостов");
    // The table of thirteen bridges is far longer than one screen, and no wider than it.
    EXPECT_GT(page.height, 320);
    EXPECT_LE(page.document->width(), 240);
    drawOnScreen(page);
    EXPECT_GT(inkIn(RECT{0, 0, 240, 40}), 100) << "the heading";
    EXPECT_GT(inkIn(RECT{0, 200, 240, 320}), 300) << "table rows";
    ASSERT_TRUE(gdi::savePng(gdi::screen(), "htmlview_bridges.png"));
}

} // namespace
} // namespace htmlview_test
