// What the layout engine asks of the platform while it lays out and draws a page: fonts and
// text through the drawing layer, pictures from the device file system, boxes, borders and
// backgrounds as filled rectangles, all kept inside a stack of clip rectangles.
#pragma once

#include "platform/htmlview/page_images.h"
#include "win32.h"

#include <litehtml/litehtml.h>

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace htmlview {

// Font sizes outside this range are drawn at its ends: a page asking for a font of a million
// pixels must not make the font engine render one.
constexpr int minFontPixels = 4;
constexpr int maxFontPixels = 96;
// The text size of a page that sets none: legible Cyrillic on the 240-pixel screen.
constexpr int defaultFontPixels = 12;

struct PageFont {
    HFONT handle = nullptr;
    TEXTMETRICW metrics{};
    std::unordered_map<std::string, int> widths;
};

// A picture of the page: `loaded` false when it could not be read or decoded.
struct PageImageEntry {
    bool loaded = false;
    PageImage image;
};

class PageContainer final : public litehtml::document_container {
public:
    PageContainer();
    ~PageContainer();
    PageContainer(const PageContainer&) = delete;
    PageContainer& operator=(const PageContainer&) = delete;

    // Where pages are laid out (the view's client size) and what relative links start from.
    int viewWidth = 240;
    int viewHeight = 320;
    std::string baseAddress;
    std::string caption;
    // The link the last tap activated; set by the layout engine, taken by the view.
    std::string activatedLink;
    bool linkActivated = false;

    // The clip every drawing call stays inside, in target coordinates, until endDraw.
    void beginDraw(const RECT& clip);
    void endDraw();
    // Forgets the pictures (a new page is coming).
    void clearImages();

    litehtml::uint_ptr create_font(const litehtml::tchar_t* faceName, int size, int weight,
                                   litehtml::font_style italic, unsigned int decoration,
                                   litehtml::font_metrics* fm) override;
    void delete_font(litehtml::uint_ptr hFont) override;
    int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont) override;
    void draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr hFont,
                   litehtml::web_color color, const litehtml::position& pos) override;
    int pt_to_px(int pt) const override;
    int get_default_font_size() const override;
    const litehtml::tchar_t* get_default_font_name() const override;
    void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
    void load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl, bool redraw_on_ready) override;
    void get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl,
                        litehtml::size& sz) override;
    void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override;
    void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders, const litehtml::position& draw_pos,
                      bool root) override;
    void set_caption(const litehtml::tchar_t* caption) override;
    void set_base_url(const litehtml::tchar_t* base_url) override;
    void link(const std::shared_ptr<litehtml::document>& doc, const litehtml::element::ptr& el) override;
    void on_anchor_click(const litehtml::tchar_t* url, const litehtml::element::ptr& el) override;
    void set_cursor(const litehtml::tchar_t* cursor) override;
    void transform_text(litehtml::tstring& text, litehtml::text_transform tt) override;
    void import_css(litehtml::tstring& text, const litehtml::tstring& url, litehtml::tstring& baseurl) override;
    void set_clip(const litehtml::position& pos, const litehtml::border_radiuses& bdr_radius, bool valid_x,
                  bool valid_y) override;
    void del_clip() override;
    void get_client_rect(litehtml::position& client) const override;
    std::shared_ptr<litehtml::element> create_element(const litehtml::tchar_t* tag_name,
                                                      const litehtml::string_map& attributes,
                                                      const std::shared_ptr<litehtml::document>& doc) override;
    void get_media_features(litehtml::media_features& media) const override;
    void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override;

private:
    const PageImageEntry* findImage(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl) const;
    std::string imageAddress(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl) const;
    // The current clip met with the rectangle; false when nothing of it is left.
    bool clipped(const RECT& rect, RECT& out) const;
    void fill(HDC dc, const RECT& rect, litehtml::web_color color) const;

    HDC measure_ = nullptr;
    std::vector<RECT> clips_;
    std::map<std::string, PageImageEntry> images_;
};

} // namespace htmlview
