// The markup guard: whatever comes in, what goes to the parser is balanced, shallow and small
// enough, and well-formed pages keep their structure.
#include "platform/htmlview/markup_guard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using htmlview::guardMarkup;

std::string repeat(const std::string& piece, size_t times)
{
    std::string out;
    for (size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

// Depth of the output as written (every element is closed explicitly); -1 when an end tag does
// not close the element open last or something stays open.
long checkedDepth(const std::string& html)
{
    static const std::vector<std::string> voids = {"br", "img", "hr", "meta", "link", "input", "col", "area",
                                                   "base", "wbr", "embed", "source", "param", "track"};
    std::vector<std::string> open;
    size_t deepest = 0;
    for (size_t at = html.find('<'); at != std::string::npos; at = html.find('<', at + 1)) {
        bool end = html[at + 1] == '/';
        size_t nameStart = at + (end ? 2 : 1);
        size_t nameEnd = html.find_first_of(" >", nameStart);
        std::string name = html.substr(nameStart, nameEnd - nameStart);
        if (end) {
            if (open.empty() || open.back() != name)
                return -1;
            open.pop_back();
        } else if (std::find(voids.begin(), voids.end(), name) == voids.end()) {
            open.push_back(name);
            deepest = std::max(deepest, open.size());
        }
    }
    return open.empty() ? static_cast<long>(deepest) : -1;
}

TEST(MarkupGuard, WellFormedPagesKeepTheirStructure)
{
    const std::string page = "<html><head><title>Мосты</title></head><body><h3>Разводка</h3>"
                             "<p>Текст <b>жирный</b> &amp; <a href=\"#t2\" name=x>ссылка</a><br></p>"
                             "<table border=\"1\"><tr><td>1</td><td colspan=\"2\">2</td></tr></table></body></html>";
    EXPECT_EQ(guardMarkup(page),
              "<html><head><title>Мосты</title></head><body><h3>Разводка</h3>"
              "<p>Текст <b>жирный</b> &amp; <a href=\"#t2\" name=\"x\">ссылка</a><br></p>"
              "<table border=\"1\"><tr><td>1</td><td colspan=\"2\">2</td></tr></table></body></html>");
}

TEST(MarkupGuard, UnclosedElementsAreClosedWhereTheParserWouldCloseThem)
{
    EXPECT_EQ(guardMarkup("<p>one<p>two"), "<p>one</p><p>two</p>");
    EXPECT_EQ(guardMarkup("<ul><li>a<li>b</ul>"), "<ul><li>a</li><li>b</li></ul>");
    EXPECT_EQ(guardMarkup("<table><tr><td>a<td>b<tr><td>c</table>"),
              "<table><tr><td>a</td><td>b</td></tr><tr><td>c</td></tr></table>");
    EXPECT_EQ(guardMarkup("<p>text<div>block</div>"), "<p>text</p><div>block</div>");
    EXPECT_EQ(guardMarkup("<div><span>a</div>b"), "<div><span>a</span></div>b");
    // An end tag cannot reach past a block it does not belong to.
    EXPECT_EQ(guardMarkup("<span><div></span>x</div>"), "<span><div>x</div></span>");
    EXPECT_EQ(guardMarkup("a</p>b"), "a<p></p>b");
    EXPECT_EQ(guardMarkup("</b>x</nothing>"), "x");
}

TEST(MarkupGuard, TextCannotOpenTagsAndCommentsAndScriptsGo)
{
    EXPECT_EQ(guardMarkup("a < b <3 <!-- <div> --> c"), "a &lt; b &lt;3  c");
    EXPECT_EQ(guardMarkup("<!--><div>x</div>"), "<div>x</div>");
    EXPECT_EQ(guardMarkup("<script>document.write('<div>')</script>ok"), "ok");
    EXPECT_EQ(guardMarkup("<svg><g><g></g></g></svg>ok"), "ok");
    EXPECT_EQ(guardMarkup("<title>a<b>c</title>"), "<title>a&lt;b>c</title>");
    EXPECT_EQ(guardMarkup("<style>p { color: red }</style>"), "<style>p { color: red }</style>");
    EXPECT_EQ(guardMarkup("<?xml x?><!DOCTYPE html>x"), "x");
    // A tag cut off by the end of the page is dropped, quotes and all.
    EXPECT_EQ(guardMarkup("x<div class=\"a"), "x");
    EXPECT_EQ(guardMarkup("x<div"), "x");
    EXPECT_EQ(guardMarkup("<p title='a\"b>c'>t</p>"), "<p title=\"a&quot;b>c\">t</p>");
}

TEST(MarkupGuard, DeepNestingIsCutAtTheLimit)
{
    for (const std::string& opener : {std::string("<div>"), std::string("<b>"), std::string("<span><div>"),
                                      std::string("<p><b id=1></p>"), std::string("<table><tr><td>"),
                                      std::string("<div/>"), std::string("<ul><li>")}) {
        std::string page = repeat(opener, 30000) + "deep";
        std::string out = guardMarkup(page);
        long depth = checkedDepth(out);
        EXPECT_GE(depth, 1) << opener;
        EXPECT_LE(depth, static_cast<long>(htmlview::maxNesting)) << opener;
        EXPECT_NE(out.find("deep"), std::string::npos) << opener;
    }
}

TEST(MarkupGuard, StylesCanBeLeftOut)
{
    EXPECT_EQ(guardMarkup("<style>td{display:table}</style><link rel=stylesheet href=a.css><p style=\"x\" id=a>t</p>", false),
              "<p id=\"a\">t</p>");
}

TEST(MarkupGuard, ElementCountAndSpansAreBounded)
{
    std::string out = guardMarkup(repeat("<br>", 50000));
    EXPECT_EQ(out.size(), htmlview::maxElements * 4);
    EXPECT_EQ(guardMarkup("<td colspan=1000000000 rowspan=-3>"), "<td colspan=\"64\" rowspan=\"1\"></td>");
    EXPECT_EQ(guardMarkup("<td colspan=\"99999999999999999999999\">"), "<td colspan=\"64\"></td>");
    // Bare or empty, a span is one: left bare, the layout engine read before the table's first column.
    EXPECT_EQ(guardMarkup("<td colspan rowspan=\"\">"), "<td colspan=\"1\" rowspan=\"1\"></td>");
    // Tables nest no deeper than the limit; the cells of the tables left out go with them.
    std::string nested = guardMarkup(repeat("<table><tr><td>", 20) + "x" + repeat("</td></tr></table>", 20) + "<p>after");
    long tables = 0;
    for (size_t at = nested.find("<table>"); at != std::string::npos; at = nested.find("<table>", at + 1))
        ++tables;
    EXPECT_EQ(tables, static_cast<long>(htmlview::maxTableNesting));
    EXPECT_GE(checkedDepth(nested), 1);
    EXPECT_NE(nested.find("x"), std::string::npos);
    EXPECT_NE(nested.find("<p>after</p>"), std::string::npos);
}

} // namespace
