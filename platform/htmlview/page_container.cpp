#include "platform/htmlview/page_container.h"

#include "platform/htmlview/page_address.h"
#include "platform/htmlview/page_files.h"
#include "platform/htmlview/page_rects.h"
#include "platform/htmlview/page_text.h"
#include "platform/kernel/text.h"

#include <algorithm>
#include <climits>

namespace htmlview {

namespace {

// Pictures larger than this many bytes are not read.
constexpr size_t maxImageFileBytes = 8u << 20;

int clampCoordinate(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, INT_MIN / 4, INT_MAX / 4));
}

RECT rectOf(const litehtml::position& p)
{
    long long left = p.x;
    long long top = p.y;
    return RECT{clampCoordinate(left), clampCoordinate(top), clampCoordinate(left + std::max(0, p.width)),
                clampCoordinate(top + std::max(0, p.height))};
}

COLORREF colourOf(litehtml::web_color c)
{
    return RGB(c.red, c.green, c.blue);
}

// Upper case is the kernel's case folding; lower case is its inverse over the same letters
// (ASCII, Latin-1 and Cyrillic), so that the two transforms undo each other.
char16_t lowerCase(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x0410 && c <= 0x042F)
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x0400 && c <= 0x040F)
        return static_cast<char16_t>(c + 0x50);
    if (c == 0x0490)
        return 0x0491;
    return c;
}

} // namespace

PageContainer::PageContainer() : measure_(CreateCompatibleDC(nullptr)) {}

PageContainer::~PageContainer()
{
    if (measure_ != nullptr)
        DeleteDC(measure_);
}

void PageContainer::beginDraw(const RECT& clip)
{
    clips_.assign(1, clip);
}

void PageContainer::endDraw()
{
    clips_.clear();
}

void PageContainer::clearImages()
{
    images_.clear();
}

bool PageContainer::clipped(const RECT& rect, RECT& out) const
{
    if (clips_.empty())
        return false;
    return meet(rect, clips_.back(), out);
}

void PageContainer::fill(HDC dc, const RECT& rect, litehtml::web_color color) const
{
    RECT visible{};
    if (color.alpha == 0 || !clipped(rect, visible))
        return;
    HBRUSH brush = CreateSolidBrush(colourOf(color));
    FillRect(dc, &visible, brush);
    DeleteObject(brush);
}

litehtml::uint_ptr PageContainer::create_font(const litehtml::tchar_t*, int size, int weight,
                                              litehtml::font_style italic, unsigned int decoration,
                                              litehtml::font_metrics* fm)
{
    auto font = std::make_unique<PageFont>();
    int pixels = std::clamp(size, minFontPixels, maxFontPixels);
    font->handle = CreateFontW(-pixels, 0, 0, 0, std::clamp(weight, 100, 900),
                               italic == litehtml::fontStyleItalic ? TRUE : FALSE,
                               (decoration & litehtml::font_decoration_underline) != 0 ? TRUE : FALSE,
                               (decoration & litehtml::font_decoration_linethrough) != 0 ? TRUE : FALSE,
                               RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                               DEFAULT_PITCH, u"Tahoma");
    if (font->handle == nullptr)
        return 0;
    HGDIOBJ old = SelectObject(measure_, font->handle);
    GetTextMetricsW(measure_, &font->metrics);
    SelectObject(measure_, old);
    if (fm != nullptr) {
        fm->ascent = font->metrics.tmAscent;
        fm->descent = font->metrics.tmDescent;
        fm->height = font->metrics.tmHeight;
        fm->x_height = std::max<int>(1, font->metrics.tmAscent / 2);
        fm->draw_spaces = (decoration & (litehtml::font_decoration_underline |
                                         litehtml::font_decoration_linethrough)) != 0;
    }
    return reinterpret_cast<litehtml::uint_ptr>(font.release());
}

void PageContainer::delete_font(litehtml::uint_ptr hFont)
{
    auto* font = reinterpret_cast<PageFont*>(hFont);
    if (font == nullptr)
        return;
    DeleteObject(font->handle);
    delete font;
}

int PageContainer::text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont)
{
    auto* font = reinterpret_cast<PageFont*>(hFont);
    if (font == nullptr || text == nullptr || *text == '\0')
        return 0;
    auto known = font->widths.find(text);
    if (known != font->widths.end())
        return known->second;
    std::u16string wide = utf8ToUtf16(text);
    SIZE extent{};
    HGDIOBJ old = SelectObject(measure_, font->handle);
    GetTextExtentPoint32W(measure_, wide.c_str(), static_cast<int>(wide.size()), &extent);
    SelectObject(measure_, old);
    // Words repeat a great deal; a hostile page of distinct words must not grow this for ever.
    if (font->widths.size() > 20000)
        font->widths.clear();
    font->widths.emplace(text, extent.cx);
    return extent.cx;
}

void PageContainer::draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr hFont,
                              litehtml::web_color color, const litehtml::position& pos)
{
    auto* font = reinterpret_cast<PageFont*>(hFont);
    HDC dc = reinterpret_cast<HDC>(hdc);
    if (font == nullptr || text == nullptr || clips_.empty())
        return;
    RECT box = rectOf(pos);
    RECT visible{};
    // Text may overhang its box a little (italics, descenders of the last line); the clip alone
    // decides what is cut.
    RECT reach{box.left - 2, box.top - 2, box.right + font->metrics.tmHeight, box.bottom + 2};
    if (!clipped(reach, visible))
        return;
    std::u16string wide = utf8ToUtf16(text);
    HGDIOBJ old = SelectObject(dc, font->handle);
    SetTextColor(dc, colourOf(color));
    SetBkMode(dc, TRANSPARENT);
    ExtTextOutW(dc, box.left, box.top, ETO_CLIPPED, &clips_.back(), wide.c_str(), static_cast<UINT>(wide.size()),
                nullptr);
    SelectObject(dc, old);
}

int PageContainer::pt_to_px(int pt) const
{
    return static_cast<int>(std::clamp<long long>(static_cast<long long>(pt) * GetDeviceCaps(measure_, LOGPIXELSY) / 72,
                                                  -1000000, 1000000));
}

int PageContainer::get_default_font_size() const
{
    return defaultFontPixels;
}

const litehtml::tchar_t* PageContainer::get_default_font_name() const
{
    return "Tahoma";
}

void PageContainer::draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker)
{
    HDC dc = reinterpret_cast<HDC>(hdc);
    RECT box = rectOf(marker.pos);
    if (!marker.image.empty()) {
        if (const PageImageEntry* entry = findImage(marker.image.c_str(), marker.baseurl);
            entry != nullptr && entry->loaded) {
            RECT visible{};
            if (clipped(box, visible))
                drawPageImage(dc, entry->image, box, visible);
            return;
        }
    }
    // A small square for every kind of bullet; a hollow one for circles.
    int side = std::max<int>(2, std::min(box.right - box.left, box.bottom - box.top) * 2 / 3);
    int x = box.left + (box.right - box.left - side) / 2;
    int y = box.top + (box.bottom - box.top - side) / 2;
    RECT dot{x, y, x + side, y + side};
    switch (marker.marker_type) {
    case litehtml::list_style_type_none:
        return;
    case litehtml::list_style_type_circle: {
        RECT visible{};
        if (!clipped(dot, visible))
            return;
        litehtml::web_color c = marker.color;
        fill(dc, RECT{dot.left, dot.top, dot.right, dot.top + 1}, c);
        fill(dc, RECT{dot.left, dot.bottom - 1, dot.right, dot.bottom}, c);
        fill(dc, RECT{dot.left, dot.top, dot.left + 1, dot.bottom}, c);
        fill(dc, RECT{dot.right - 1, dot.top, dot.right, dot.bottom}, c);
        return;
    }
    default:
        fill(dc, dot, marker.color);
        return;
    }
}

std::string PageContainer::imageAddress(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl) const
{
    std::string base = baseurl != nullptr && *baseurl != '\0' ? resolveLink(baseAddress, baseurl) : baseAddress;
    return resolveLink(base, src != nullptr ? src : "");
}

const PageImageEntry* PageContainer::findImage(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl) const
{
    auto found = images_.find(imageAddress(src, baseurl));
    return found == images_.end() ? nullptr : &found->second;
}

void PageContainer::load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, bool)
{
    std::string address = imageAddress(src, baseurl);
    if (images_.count(address) != 0)
        return;
    // Many distinct pictures on one page are a hostile page; the rest show as empty boxes.
    if (images_.size() >= 256)
        return;
    PageImageEntry& entry = images_[address];
    std::string bytes;
    if (readDeviceFile(devicePathOf(address), maxImageFileBytes, bytes))
        entry.loaded = decodePicture(bytes, entry.image);
}

void PageContainer::get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl,
                                   litehtml::size& sz)
{
    const PageImageEntry* entry = findImage(src, baseurl);
    if (entry != nullptr && entry->loaded) {
        sz.width = entry->image.width;
        sz.height = entry->image.height;
    } else {
        sz.width = 0;
        sz.height = 0;
    }
}

void PageContainer::draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg)
{
    HDC dc = reinterpret_cast<HDC>(hdc);
    RECT area = rectOf(bg.clip_box);
    fill(dc, area, bg.color);
    if (bg.image.empty())
        return;
    const PageImageEntry* entry = findImage(bg.image.c_str(), bg.baseurl.c_str());
    RECT visible{};
    if (!clipped(area, visible))
        return;
    int tileWidth = bg.image_size.width;
    int tileHeight = bg.image_size.height;
    if (entry == nullptr || !entry->loaded || tileWidth <= 0 || tileHeight <= 0) {
        // A picture that cannot be shown keeps its place as an empty frame.
        if (bg.repeat == litehtml::background_repeat_no_repeat && tileWidth > 0 && tileHeight > 0) {
            litehtml::web_color grey(0xA0, 0xA0, 0xA0);
            RECT box{area.left, area.top, area.left + tileWidth, area.top + tileHeight};
            fill(dc, RECT{box.left, box.top, box.right, box.top + 1}, grey);
            fill(dc, RECT{box.left, box.bottom - 1, box.right, box.bottom}, grey);
            fill(dc, RECT{box.left, box.top, box.left + 1, box.bottom}, grey);
            fill(dc, RECT{box.right - 1, box.top, box.right, box.bottom}, grey);
        }
        return;
    }
    bool repeatX = bg.repeat == litehtml::background_repeat_repeat || bg.repeat == litehtml::background_repeat_repeat_x;
    bool repeatY = bg.repeat == litehtml::background_repeat_repeat || bg.repeat == litehtml::background_repeat_repeat_y;
    long long startX = bg.position_x;
    long long startY = bg.position_y;
    // Tiles start left of and above the visible part, so only tiles that show are drawn.
    if (repeatX && startX > visible.left)
        startX -= ((startX - visible.left) / tileWidth + 1) * tileWidth;
    if (repeatX && startX + tileWidth <= visible.left)
        startX += ((visible.left - startX) / tileWidth) * tileWidth;
    if (repeatY && startY > visible.top)
        startY -= ((startY - visible.top) / tileHeight + 1) * tileHeight;
    if (repeatY && startY + tileHeight <= visible.top)
        startY += ((visible.top - startY) / tileHeight) * tileHeight;
    for (long long y = startY; y < visible.bottom; y += tileHeight) {
        for (long long x = startX; x < visible.right; x += tileWidth) {
            RECT tile{clampCoordinate(x), clampCoordinate(y), clampCoordinate(x + tileWidth),
                      clampCoordinate(y + tileHeight)};
            drawPageImage(dc, entry->image, tile, visible);
            if (!repeatX)
                break;
        }
        if (!repeatY)
            break;
    }
}

void PageContainer::draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                                 const litehtml::position& draw_pos, bool)
{
    HDC dc = reinterpret_cast<HDC>(hdc);
    RECT box = rectOf(draw_pos);
    auto shown = [](const litehtml::border& b) {
        return b.width > 0 && b.style != litehtml::border_style_none && b.style != litehtml::border_style_hidden;
    };
    auto width = [&](const litehtml::border& b) {
        return std::min(b.width, std::max<int>(1, static_cast<int>(std::min<long long>(
                                                      INT_MAX, static_cast<long long>(box.right) - box.left))));
    };
    if (shown(borders.top))
        fill(dc, RECT{box.left, box.top, box.right, box.top + width(borders.top)}, borders.top.color);
    if (shown(borders.bottom))
        fill(dc, RECT{box.left, box.bottom - width(borders.bottom), box.right, box.bottom}, borders.bottom.color);
    if (shown(borders.left))
        fill(dc, RECT{box.left, box.top, box.left + width(borders.left), box.bottom}, borders.left.color);
    if (shown(borders.right))
        fill(dc, RECT{box.right - width(borders.right), box.top, box.right, box.bottom}, borders.right.color);
}

void PageContainer::set_caption(const litehtml::tchar_t* text)
{
    caption = text != nullptr ? text : "";
}

void PageContainer::set_base_url(const litehtml::tchar_t* base_url)
{
    if (base_url != nullptr && *base_url != '\0')
        baseAddress = resolveLink(baseAddress, base_url);
}

void PageContainer::link(const std::shared_ptr<litehtml::document>&, const litehtml::element::ptr&) {}

void PageContainer::on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr&)
{
    activatedLink = url != nullptr ? url : "";
    linkActivated = true;
}

void PageContainer::set_cursor(const litehtml::tchar_t*) {}

void PageContainer::transform_text(litehtml::tstring& text, litehtml::text_transform tt)
{
    if (tt == litehtml::text_transform_none || text.empty())
        return;
    std::u16string wide = utf8ToUtf16(text);
    bool wordStart = true;
    for (char16_t& c : wide) {
        if (tt == litehtml::text_transform_uppercase || (tt == litehtml::text_transform_capitalize && wordStart))
            c = kernel::foldCase(c);
        else if (tt == litehtml::text_transform_lowercase)
            c = lowerCase(c);
        wordStart = c == u' ' || c == u'\t' || c == u'\n' || c == 0x00A0;
    }
    text = utf16ToUtf8(wide);
}

// Style sheets of other files are not read: the editions' pages carry their styles inline.
void PageContainer::import_css(litehtml::tstring& text, const litehtml::tstring&, litehtml::tstring&)
{
    text.clear();
}

void PageContainer::set_clip(const litehtml::position& pos, const litehtml::border_radiuses&, bool valid_x,
                             bool valid_y)
{
    if (clips_.empty())
        return;
    RECT rect = rectOf(pos);
    const RECT& outer = clips_.front();
    if (!valid_x) {
        rect.left = outer.left;
        rect.right = outer.right;
    }
    if (!valid_y) {
        rect.top = outer.top;
        rect.bottom = outer.bottom;
    }
    RECT inner{};
    if (!meet(rect, clips_.back(), inner))
        inner = RECT{0, 0, 0, 0};
    clips_.push_back(inner);
}

void PageContainer::del_clip()
{
    if (clips_.size() > 1)
        clips_.pop_back();
}

void PageContainer::get_client_rect(litehtml::position& client) const
{
    client = litehtml::position(0, 0, viewWidth, viewHeight);
}

std::shared_ptr<litehtml::element> PageContainer::create_element(const litehtml::tchar_t*,
                                                                 const litehtml::string_map&,
                                                                 const std::shared_ptr<litehtml::document>&)
{
    return nullptr;
}

void PageContainer::get_media_features(litehtml::media_features& media) const
{
    media.type = litehtml::media_type_screen;
    media.width = viewWidth;
    media.height = viewHeight;
    media.device_width = GetDeviceCaps(measure_, HORZRES);
    media.device_height = GetDeviceCaps(measure_, VERTRES);
    media.color = 8;
    media.color_index = 0;
    media.monochrome = 0;
    media.resolution = GetDeviceCaps(measure_, LOGPIXELSY);
}

void PageContainer::get_language(litehtml::tstring& language, litehtml::tstring& culture) const
{
    language = "ru";
    culture = "RU";
}

} // namespace htmlview
