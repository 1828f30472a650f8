#include "platform/htmlview/page_styles.h"

namespace htmlview {

namespace {

// The handheld's look: narrow margins (the screen is 240 pixels wide), small headings, links
// blue and underlined, tables with thin cell spacing.
constexpr const char* defaultStyles = R"css(
html { display: block; }
head, script, style, title, meta, link, base, template, noembed, noframes { display: none; }
body { display: block; margin: 4px; }
div, p, address, blockquote, center, dl, dd, dt, fieldset, form, section, article, aside, header, footer, nav,
main, figure, figcaption, hgroup, details, summary, menu, dir, listing, xmp, plaintext, pre, hr, ul, ol, h1, h2,
h3, h4, h5, h6 { display: block; }
p { margin-top: 0.5em; margin-bottom: 0.5em; }
blockquote { margin: 0.5em 12px; }
center { text-align: center; }
h1 { font-size: 1.5em; font-weight: bold; margin: 0.4em 0; }
h2 { font-size: 1.3em; font-weight: bold; margin: 0.4em 0; }
h3 { font-size: 1.15em; font-weight: bold; margin: 0.4em 0; }
h4 { font-size: 1em; font-weight: bold; margin: 0.5em 0; }
h5 { font-size: 0.9em; font-weight: bold; margin: 0.5em 0; }
h6 { font-size: 0.8em; font-weight: bold; margin: 0.5em 0; }
pre, xmp, listing, plaintext { white-space: pre; margin: 0.5em 0; }
hr { border: 1px inset #808080; margin: 4px 0; }
ul, ol, menu, dir { margin: 0.4em 0; padding-left: 18px; }
ul { list-style-type: disc; }
ol { list-style-type: decimal; }
ul ul, ol ul { list-style-type: circle; }
ul ul ul { list-style-type: square; }
li { display: list-item; }
dd { margin-left: 18px; }
b, strong, th { font-weight: bold; }
i, em, cite, var, dfn, address { font-style: italic; }
u, ins { text-decoration: underline; }
s, strike, del { text-decoration: line-through; }
small { font-size: 0.85em; }
big { font-size: 1.2em; }
sub { vertical-align: sub; font-size: 0.8em; }
sup { vertical-align: super; font-size: 0.8em; }
a:link, a[href] { color: #0000CC; text-decoration: underline; cursor: pointer; }
br { display: block; }
img { display: inline-block; }
table { display: table; border-collapse: separate; border-spacing: 1px; text-indent: 0; }
thead { display: table-header-group; vertical-align: middle; }
tbody { display: table-row-group; vertical-align: middle; }
tfoot { display: table-footer-group; vertical-align: middle; }
tr { display: table-row; vertical-align: inherit; }
td, th { display: table-cell; vertical-align: inherit; padding: 1px; }
th { text-align: center; }
caption { display: table-caption; text-align: center; }
col { display: table-column; }
colgroup { display: table-column-group; }
table[border] td, table[border] th { border: 1px solid #808080; }
table[border] { border: 1px solid #808080; }
select, input, button, textarea { display: inline-block; }
)css";

} // namespace

litehtml::context& pageContext()
{
    static litehtml::context* context = [] {
        auto* made = new litehtml::context();
        made->load_master_stylesheet(defaultStyles);
        return made;
    }();
    return *context;
}

} // namespace htmlview
