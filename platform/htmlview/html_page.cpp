#include "platform/htmlview/html_page.h"

#include "platform/htmlview/markup_guard.h"
#include "platform/htmlview/page_address.h"
#include "platform/htmlview/page_files.h"
#include "platform/htmlview/page_styles.h"
#include "platform/htmlview/page_text.h"

#include <algorithm>
#include <vector>

namespace htmlview {

namespace {

// How deeply tables nest in the parsed page, counting the ones that styles make of other
// elements.
size_t tableDepth(const litehtml::element::ptr& root)
{
    size_t deepest = 0;
    std::vector<std::pair<litehtml::element::ptr, size_t>> pending{{root, 0}};
    while (!pending.empty()) {
        auto [element, depth] = pending.back();
        pending.pop_back();
        litehtml::style_display display = element->get_display();
        if (display == litehtml::display_table || display == litehtml::display_inline_table)
            deepest = std::max(deepest, ++depth);
        size_t count = element->get_children_count();
        for (size_t i = 0; i < count; ++i)
            if (litehtml::element::ptr child = element->get_child(static_cast<int>(i)))
                pending.emplace_back(child, depth);
    }
    return deepest;
}

litehtml::document::ptr parseMarkup(HtmlPage& page, const std::string& text, bool keepStyles)
{
    std::string markup = guardMarkup(text, keepStyles);
    return litehtml::document::createFromString(markup.c_str(), &page.container, &pageContext());
}

void parse(HtmlPage& page)
{
    page.document.reset();
    page.container.clearImages();
    page.container.baseAddress = page.address;
    page.container.caption.clear();
    std::string text = pageToUtf8(page.source);
    page.document = parseMarkup(page, text, true);
    // Styles can make tables of anything; a page whose styles nest them too deeply for the
    // layout to finish is shown without its styles.
    if (page.document && page.document->root() && tableDepth(page.document->root()) > maxTableNesting) {
        page.document.reset();
        page.container.clearImages();
        page.document = parseMarkup(page, text, false);
    }
}

bool namedSo(const litehtml::element::ptr& element, const std::string& name)
{
    const char* id = element->get_attr("id");
    if (id != nullptr && name == id)
        return true;
    const char* tag = element->get_tagName();
    const char* anchor = element->get_attr("name");
    return tag != nullptr && std::string_view(tag) == "a" && anchor != nullptr && name == anchor;
}

// Where an element stands. An empty anchor ("<a name=x></a>") gets no box of its own and reports
// its parent's place; it stands where the next element in the flow begins.
int placedTop(const litehtml::element::ptr& element)
{
    if (element->get_children_count() > 0 || element->get_placement().height > 0)
        return element->get_placement().y;
    for (litehtml::element::ptr at = element; at; at = at->parent()) {
        litehtml::element::ptr parent = at->parent();
        if (!parent)
            break;
        const size_t count = parent->get_children_count();
        bool after = false;
        for (size_t i = 0; i < count; ++i) {
            litehtml::element::ptr sibling = parent->get_child(static_cast<int>(i));
            if (after && sibling && sibling->get_placement().height > 0)
                return sibling->get_placement().y;
            if (sibling == at)
                after = true;
        }
    }
    return element->get_placement().y;
}

} // namespace

void clearPage(HtmlPage& page)
{
    page.document.reset();
    page.source.clear();
    page.complete = false;
    page.width = 0;
    page.height = 0;
    page.container.clearImages();
    page.container.linkActivated = false;
}

void addPageText(HtmlPage& page, std::string_view text, bool plain)
{
    if (page.source.size() >= maxPageBytes)
        return;
    std::string piece = plain ? escapePlainText(text) : std::string(text);
    page.source.append(piece, 0, maxPageBytes - page.source.size());
}

void finishPage(HtmlPage& page, int width)
{
    page.complete = true;
    parse(page);
    layoutPage(page, width);
}

int layoutPage(HtmlPage& page, int width)
{
    page.width = std::max(1, width);
    page.container.viewWidth = page.width;
    if (!page.document) {
        page.height = 0;
        return 0;
    }
    page.document->render(page.width);
    page.height = std::max(0, page.document->height());
    return page.height;
}

void drawPage(HtmlPage& page, HDC dc, const RECT& clip, int originX, int originY)
{
    if (!page.document)
        return;
    page.container.beginDraw(clip);
    // The layout engine compares the clip with boxes already moved to the target's coordinates.
    litehtml::position area(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
    // Keep the document alive even if a call made while drawing replaced it.
    litehtml::document::ptr document = page.document;
    document->draw(reinterpret_cast<litehtml::uint_ptr>(dc), originX, originY, &area);
    page.container.endDraw();
}

std::optional<int> anchorTop(const HtmlPage& page, std::string_view name)
{
    if (!page.document || !page.document->root() || name.empty())
        return std::nullopt;
    std::string wanted = cp1251ToUtf8(name);
    std::vector<litehtml::element::ptr> pending{page.document->root()};
    while (!pending.empty()) {
        litehtml::element::ptr element = pending.back();
        pending.pop_back();
        if (namedSo(element, wanted))
            return std::max(0, placedTop(element));
        size_t count = element->get_children_count();
        for (size_t i = count; i-- > 0;)
            if (litehtml::element::ptr child = element->get_child(static_cast<int>(i)))
                pending.push_back(child);
    }
    return std::nullopt;
}

bool loadPageFile(HtmlPage& page, std::string_view address, int width)
{
    std::string bytes;
    if (!readDeviceFile(devicePathOf(address), maxPageBytes, bytes))
        return false;
    clearPage(page);
    page.address = withoutFragment(address);
    page.source = std::move(bytes);
    finishPage(page, width);
    return true;
}

void pressPage(HtmlPage& page, int x, int y, int clientX, int clientY)
{
    page.container.linkActivated = false;
    if (!page.document)
        return;
    litehtml::document::ptr document = page.document;
    litehtml::position::vector redraw;
    document->on_mouse_over(x, y, clientX, clientY, redraw);
    document->on_lbutton_down(x, y, clientX, clientY, redraw);
}

std::optional<std::string> releasePage(HtmlPage& page, int x, int y, int clientX, int clientY)
{
    page.container.linkActivated = false;
    if (!page.document)
        return std::nullopt;
    litehtml::document::ptr document = page.document;
    litehtml::position::vector redraw;
    // The link under the stylus where it is lifted is the one activated.
    document->on_mouse_over(x, y, clientX, clientY, redraw);
    document->on_lbutton_up(x, y, clientX, clientY, redraw);
    document->on_mouse_leave(redraw);
    if (!page.container.linkActivated)
        return std::nullopt;
    page.container.linkActivated = false;
    return page.container.activatedLink;
}

void cancelPress(HtmlPage& page)
{
    if (!page.document)
        return;
    litehtml::document::ptr document = page.document;
    litehtml::position::vector redraw;
    document->on_mouse_leave(redraw);
}

} // namespace htmlview
