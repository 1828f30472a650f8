// Rewrites a page's markup into balanced, well-formed markup of bounded depth before the layout
// engine parses it. The parser and the layout engine walk the element tree recursively, so a
// page of a hundred thousand unclosed tags would exhaust the stack; a cell spanning a billion
// columns would exhaust memory. A hostile or broken page must neither crash nor hang the view.
#pragma once

#include <string>
#include <string_view>

namespace htmlview {

// Deepest nesting of elements let through; deeper start tags are dropped (their text stays).
constexpr size_t maxNesting = 40;
// Elements let through in one page; later tags are dropped (their text stays).
constexpr size_t maxElements = 6000;
// Largest colspan and rowspan let through.
constexpr int maxSpan = 64;
// Deepest nesting of tables: the layout engine measures every cell several times over, once
// per enclosing table, so its work grows by a power of the depth.
constexpr size_t maxTableNesting = 5;

// UTF-8 markup in, UTF-8 markup out. Every element emitted is closed explicitly and in order,
// text is escaped so that it cannot open tags, comments and scripts are left out, and SVG and
// MathML islands (which the view cannot draw) are skipped.
// Without `keepStyles`, style sheets and style attributes are left out as well: the view falls
// back to that for a page whose styles nest tables deeper than maxTableNesting.
std::string guardMarkup(std::string_view html, bool keepStyles = true);

} // namespace htmlview
