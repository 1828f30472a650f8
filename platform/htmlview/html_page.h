// One page of the viewer apart from any window: its source as it arrives, the laid-out
// document, and what the stylus does on it. The view (html_view.cpp) owns one and translates
// its messages into these operations; tests drive them directly.
#pragma once

#include "platform/htmlview/page_container.h"

#include <litehtml/litehtml.h>

#include <optional>
#include <string>
#include <string_view>

namespace htmlview {

struct HtmlPage {
    // Declared first so that it outlives the document, which calls it while it goes.
    PageContainer container;
    std::string source; // the 8-bit text added since the last clear
    bool complete = false;
    // The file shown, without its anchor: where relative links start (UTF-8).
    std::string address;
    litehtml::document::ptr document;
    int width = 0;  // what the document was laid out for
    int height = 0; // the laid-out height
};

void clearPage(HtmlPage& page);
// Appends 8-bit text to the source; `plain` text is shown as it is, not read as markup.
void addPageText(HtmlPage& page, std::string_view text, bool plain);
// The source is complete: parses it and lays it out `width` pixels wide.
void finishPage(HtmlPage& page, int width);
// Lays the document out again (the view changed its width). Answers the height.
int layoutPage(HtmlPage& page, int width);
// Draws the part of the page inside `clip` (target coordinates) with the page's top left at
// (originX, originY) of the target.
void drawPage(HtmlPage& page, HDC dc, const RECT& clip, int originX, int originY);

// Top of the element named so (an anchor's name or any element's id; code page 1251, without
// '#'), in page coordinates; none when no element has that name.
std::optional<int> anchorTop(const HtmlPage& page, std::string_view name);

// Reads the file at a file:// address (UTF-8, its anchor ignored) and shows it in place of the
// source. False, and the page left as it was, when the file cannot be read.
bool loadPageFile(HtmlPage& page, std::string_view address, int width);

// The stylus on the page, in page coordinates; clientX/Y are the same point in the view.
void pressPage(HtmlPage& page, int x, int y, int clientX, int clientY);
// Lifting it over the link it went down on activates the link: its href, as written (UTF-8).
std::optional<std::string> releasePage(HtmlPage& page, int x, int y, int clientX, int clientY);
// The press became a drag: no link is activated.
void cancelPress(HtmlPage& page);

} // namespace htmlview
