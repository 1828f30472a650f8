// Pages laid out and drawn apart from any window: the editions' pages, anchors, links activated
// by the stylus, files read from the device and pictures.
#include "page_fixture.h"

#include "platform/htmlview/page_container.h"
#include "platform/kernel/text.h"

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

namespace htmlview_test {
namespace {

using htmlview::HtmlPage;

// A page whose sections lie well below one another, each with a link near its top.
const std::string sections =
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\"></head><body>"
    "<p><a href=\"#t2\">К визитке</a></p>"
    "<div style=\"height:400px\">Вступление</div>"
    "<h4><a name=\"t2\">Визитка</a></h4><div style=\"height:400px\">Текст</div>"
    "<h4 id=\"t31\">Белые страницы</h4><div style=\"height:400px\">Текст</div>"
    "</body></html>";

TEST_F(PageTest, AnchorsAreFoundByNameOrIdInTheirOrder)
{
    HtmlPage page;
    show(page, sections);
    std::optional<int> t2 = htmlview::anchorTop(page, "t2");
    std::optional<int> t31 = htmlview::anchorTop(page, "t31");
    ASSERT_TRUE(t2 && t31);
    EXPECT_GT(*t2, 400);
    EXPECT_GT(*t31, *t2 + 400);
    EXPECT_FALSE(htmlview::anchorTop(page, "t3"));
    EXPECT_FALSE(htmlview::anchorTop(page, ""));
    // Names are 8-bit text of code page 1251, as the screens pass them.
    show(page, "<p>x</p><div style=\"height:300px\"></div><a name=\"мосты\">Мосты</a>");
    EXPECT_TRUE(htmlview::anchorTop(page, htmlview::utf8To1251("мосты")));
}

TEST_F(PageTest, ATapOnALinkActivatesItsTargetAsWritten)
{
    HtmlPage page;
    show(page, sections);
    // The first link lies in the first paragraph, a few pixels below the top.
    htmlview::pressPage(page, 20, 14, 20, 14);
    std::optional<std::string> href = htmlview::releasePage(page, 20, 14, 20, 14);
    ASSERT_TRUE(href);
    EXPECT_EQ(*href, "#t2");
    // Off the link nothing is activated, nor when the stylus left the link before it was lifted.
    htmlview::pressPage(page, 200, 200, 200, 200);
    EXPECT_FALSE(htmlview::releasePage(page, 200, 200, 200, 200));
    htmlview::pressPage(page, 20, 14, 20, 14);
    htmlview::cancelPress(page);
    EXPECT_FALSE(htmlview::releasePage(page, 200, 200, 200, 200));
    // A page without a document (cleared) has nothing to tap.
    htmlview::clearPage(page);
    htmlview::pressPage(page, 20, 14, 20, 14);
    EXPECT_FALSE(htmlview::releasePage(page, 20, 14, 20, 14));
}

TEST_F(PageTest, PagesAreReadFromTheDeviceAndRelativeLinksFromTheirFolder)
{
    std::string first = writePage("quandrix.html", "<p><a href=\"lumetra.html\">Lumetra</a></p>");
    HtmlPage page;
    ASSERT_TRUE(htmlview::loadPageFile(page, first + "#top", 240));
    EXPECT_EQ(page.address, first);
    htmlview::pressPage(page, 10, 14, 10, 14);
    std::optional<std::string> href = htmlview::releasePage(page, 10, 14, 10, 14);
    ASSERT_TRUE(href);
    EXPECT_EQ(htmlview::resolveLink(page.address, *href), std::string("file://\\") + pagesFolder + "lumetra.html");
}

TEST_F(PageTest, AMissingFileLeavesThePageAsItWas)
{
    HtmlPage page;
    show(page, "<p>Загружается: ...</p>");
    int height = page.height;
    EXPECT_FALSE(htmlview::loadPageFile(page, "file://\\Storage Card\\nowhere.html", 240));
    EXPECT_FALSE(htmlview::loadPageFile(page, "http://example.invalid/", 240));
    EXPECT_TRUE(page.complete);
    EXPECT_EQ(page.height, height);
    ASSERT_TRUE(page.document);
}

TEST_F(PageTest, TheCodePageComesFromTheMetaTag)
{
    // The same words in UTF-8 with a declaration, and in 1251 without one, lay out alike.
    HtmlPage utf8;
    htmlview::addPageText(utf8, "<meta charset=\"utf-8\"><p>Мосты Невы</p>", false);
    htmlview::finishPage(utf8, 240);
    HtmlPage ansi;
    htmlview::addPageText(ansi, htmlview::utf8To1251("<p>Мосты Невы</p>"), false);
    htmlview::finishPage(ansi, 240);
    ASSERT_TRUE(utf8.document && ansi.document);
    EXPECT_EQ(utf8.document->width(), ansi.document->width());
    EXPECT_EQ(htmlview::pageToUtf8(htmlview::utf8To1251("<p>Мосты</p>")), "<p>Мосты</p>");
    EXPECT_EQ(htmlview::declaredCodePage("<meta content=\"text/html; charset=windows-1251\">"), 1251u);
    EXPECT_EQ(htmlview::declaredCodePage("<meta content=\"text/html; CHARSET = UTF-8\">"), static_cast<UINT>(CP_UTF8));
    EXPECT_EQ(htmlview::declaredCodePage("<meta charset=koi8-r>"), 1251u);
}

TEST_F(PageTest, PlainTextIsShownAsWritten)
{
    HtmlPage page;
    htmlview::addPageText(page, "<b>&amp;</b>", true);
    EXPECT_EQ(page.source, "&lt;b&gt;&amp;amp;&lt;/b&gt;");
}

// text-transform: upper case is the kernel's folding, lower case undoes it letter for letter, and
// capitalize raises only the first letter of each word.
TEST_F(PageTest, TextTransformsChangeTheSameLettersBothWays)
{
    htmlview::PageContainer container;
    auto transformed = [&container](std::u16string text, litehtml::text_transform how) {
        litehtml::tstring utf8 = htmlview::utf16ToUtf8(text);
        container.transform_text(utf8, how);
        return htmlview::utf8ToUtf16(utf8);
    };
    EXPECT_EQ(transformed(u"мосты ёж é ґ abc", litehtml::text_transform_uppercase), u"МОСТЫ ЁЖ É Ґ ABC");
    EXPECT_EQ(transformed(u"МОСТЫ ЁЖ É Ґ ABC ×", litehtml::text_transform_lowercase), u"мосты ёж é ґ abc ×");
    EXPECT_EQ(transformed(u"ёж и\u00A0улицы", litehtml::text_transform_capitalize), u"Ёж И\u00A0Улицы");
    EXPECT_EQ(transformed(u"Ёж", litehtml::text_transform_none), u"Ёж");
    for (char32_t c = 1; c < 0xD800; ++c) {
        const char16_t lower = static_cast<char16_t>(c);
        const char16_t upper = kernel::foldCase(lower);
        if (upper == lower)
            continue;
        SCOPED_TRACE(static_cast<unsigned>(c));
        EXPECT_EQ(transformed(std::u16string(1, upper), litehtml::text_transform_lowercase), std::u16string(1, lower));
    }
}

// A 2 x 2 bitmap file of 24 bits: red, green / blue, white (rows stored bottom-up).
std::string tinyBitmap()
{
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    const uint8_t rows[16] = {0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + sizeof(rows);
    info.biSize = sizeof(info);
    info.biWidth = 2;
    info.biHeight = 2;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    bytes.append(reinterpret_cast<const char*>(rows), sizeof(rows));
    return bytes;
}

TEST_F(PageTest, BitmapPicturesAreDrawnAndMissingOnesKeepAnEmptyBox)
{
    writeFile(std::string(pagesFolder) + "pictures\\logo.bmp", tinyBitmap());
    std::string address = writePage("logo.html",
                                    "<body style=\"margin:0\"><img src=\"pictures/logo.bmp\" width=\"20\" height=\"20\">"
                                    "<br><img src=\"missing.gif\" width=\"30\" height=\"10\"></body>");
    HtmlPage page;
    ASSERT_TRUE(htmlview::loadPageFile(page, address, 240));
    drawOnScreen(page);
    const gdi::Framebuffer& fb = gdi::screen();
    EXPECT_EQ(fb.pixels[2 * 240 + 2], 0xFF0000u) << "top left is red";
    EXPECT_EQ(fb.pixels[17 * 240 + 2], 0x0000FFu) << "bottom left is blue";
    EXPECT_EQ(fb.pixels[17 * 240 + 17], 0xFFFFFFu) << "bottom right is white";
    EXPECT_GT(inkIn(RECT{0, 20, 40, 40}), 20) << "the frame of the missing picture";
    htmlview::PageImage image;
    EXPECT_FALSE(htmlview::decodeBitmapFile(tinyBitmap().substr(0, 60), image)) << "rows cut short";
    EXPECT_FALSE(htmlview::decodePicture(std::string("\x89PNG\r\n\x1A\n", 8) + "broken", image));
    EXPECT_FALSE(htmlview::decodeBitmapFile("GIF89a", image));
}

TEST_F(PageTest, PngPicturesAreDrawn)
{
    gdi::Framebuffer picture;
    picture.width = 4;
    picture.height = 2;
    picture.pixels = {0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00, 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF};
    std::string pngPath = (root / "pic.png").string();
    ASSERT_TRUE(gdi::savePng(picture, pngPath));
    std::ifstream in(pngPath, std::ios::binary);
    writeFile(std::string(pagesFolder) + "pic.png", {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    HtmlPage page;
    ASSERT_TRUE(htmlview::loadPageFile(page, writePage("png.html", "<body style=\"margin:0\"><img src=\"pic.png\" style=\"display:block\"></body>"), 240));
    drawOnScreen(page);
    EXPECT_EQ(gdi::screen().pixels[0], 0x00FF00u);
    EXPECT_EQ(gdi::screen().pixels[240 + 3], 0x0000FFu);
}

} // namespace
} // namespace htmlview_test
