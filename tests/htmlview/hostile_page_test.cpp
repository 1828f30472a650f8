// Broken and hostile pages go through the whole page: parsed, laid out, drawn, searched for an
// anchor and tapped, without crashing, overrunning or hanging.
#include "page_fixture.h"

#include "platform/htmlview/markup_guard.h"

namespace htmlview_test {
namespace {

std::string repeat(const std::string& piece, size_t times)
{
    std::string out;
    for (size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

class HostilePage : public PageTest {
protected:
    // Shows the bytes as they are, and does everything a user can do with the page.
    void exercise(const std::string& bytes)
    {
        htmlview::HtmlPage page;
        htmlview::addPageText(page, bytes, false);
        htmlview::finishPage(page, 227);
        drawOnScreen(page);
        drawOnScreen(page, std::max(0, page.height - 100));
        htmlview::anchorTop(page, "t2");
        htmlview::pressPage(page, 30, 10, 30, 10);
        htmlview::releasePage(page, 30, 10, 30, 10);
        htmlview::layoutPage(page, 1);
        htmlview::layoutPage(page, 240);
        EXPECT_GE(page.height, 0);
    }
};

TEST_F(HostilePage, HugeNestingOfEveryKind)
{
    for (const char* opener : {"<div>", "<b>", "<font color=red>", "<table><tr><td>", "<ul><li>",
                                      "<blockquote>", "<span><div>", "<p><i id=1></p>", "<a href=#t2>"})
        exercise(repeat(opener, 20000) + "<a name=t2>x</a>");
}

TEST_F(HostilePage, UnclosedAndMisnestedTags)
{
    exercise("<html><body><table><tr><td><p>a<b>b<i>c</b>d</i></td><td><ul><li>1<li>2</table><div");
    exercise("<table><div>foster</div><tr><td rowspan=0 colspan=0>x</table></table></table>");
    exercise("</html></body><body><html><head><title>t</title><body>text<frameset><frame>");
    exercise("<select><option>a<option>b<div>c</select><textarea>never closed");
    exercise("<a href='#t2'><a href='#t3'>nested</a></a><plaintext><b>all text");
}

TEST_F(HostilePage, BadEncodingsAndControlBytes)
{
    std::string bytes = "<meta charset=utf-8><p>";
    for (int i = 0x80; i < 0x100; ++i)
        bytes += static_cast<char>(i);
    bytes += std::string("\0\0<b>\0</b>\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80", 20);
    exercise(bytes);
    std::string ansi = "<p>";
    for (int i = 1; i < 0x100; ++i)
        ansi += static_cast<char>(i);
    exercise(ansi);
    exercise(std::string("\xEF\xBB\xBF<p>bom</p>"));
}

TEST_F(HostilePage, MonstrousSizesInStylesAndAttributes)
{
    exercise("<p style=\"font-size:99999999px\">big</p><p style=\"font-size:-5px\">small</p>");
    exercise("<div style=\"width:2147483647px;height:2147483647px;margin:-2147483647px\">x</div>"
             "<div style=\"padding:99999999em;border:99999999px solid red\">y</div>");
    exercise("<img src=missing.bmp width=100000000 height=100000000><img src='' width=-1>");
    exercise("<table><tr><td colspan=2147483647 rowspan=2147483647>a</td></tr></table>");
    exercise("<ol start=-2147483648><li>a<li>b</ol><ul style=\"list-style-image:url(x.bmp)\"><li>c</ul>");
    exercise("<div style=\"background:url(nowhere.bmp) repeat; height:500px\">tiles</div>");
    exercise("<p style=\"text-transform:uppercase\">мосты и улицы</p><p style=\"text-transform:capitalize\">ёж</p>");
}

TEST_F(HostilePage, EmptyAndGarbagePages)
{
    exercise("");
    exercise("<");
    exercise("<<<<>>>>&&&&;;;;");
    exercise(repeat("&#x10FFFF;&#0;&#99999999999;&amp", 1000));
    exercise(repeat("<style>p{color:red}", 300) + "<p>x");
    exercise("<style>" + repeat("{[(", 20000) + "</style><p>x");
    exercise(repeat("слово ", 200000));
}

TEST_F(HostilePage, SourcesLargerThanAnyPageAreCut)
{
    htmlview::HtmlPage page;
    std::string piece(1 << 16, 'a');
    for (int i = 0; i < 40; ++i)
        htmlview::addPageText(page, piece, false);
    EXPECT_EQ(page.source.size(), htmlview::maxPageBytes);
}

} // namespace
} // namespace htmlview_test
