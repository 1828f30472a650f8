// A scratch device root holding pages written in code page 1251, and a 240 x 320 screen to draw
// them on.
#pragma once

#include "emulator.h"
#include "platform/gdi/png_writer.h"
#include "platform/gdi/screen.h"
#include "platform/htmlview/html_page.h"
#include "platform/htmlview/page_address.h"
#include "platform/htmlview/page_text.h"
#include "win32.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace htmlview_test {

// The device folder the editions' pages are installed in, as the viewer's addresses name it.
inline constexpr const char* pagesFolder = "Storage Card\\Program Files\\MORVANE\\QUILLDEN\\HTML\\";

class PageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "htmlview-device-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        ASSERT_EQ(emu::setDeviceRoot(root.string()), 0);
        gdi::resizeScreen(240, 320);
    }

    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    // Writes a device file; `relative` uses backslashes like the device, `bytes` go as they are.
    void writeFile(std::string relative, const std::string& bytes)
    {
        for (char& c : relative)
            if (c == '\\')
                c = '/';
        std::filesystem::path path = root / std::filesystem::u8path(relative);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // A page of the editions' folder, its UTF-8 text stored in code page 1251 as the editions are.
    std::string writePage(const std::string& name, const std::string& utf8)
    {
        writeFile(std::string(pagesFolder) + name, htmlview::utf8To1251(utf8));
        return std::string("file://\\") + pagesFolder + name;
    }

    void show(htmlview::HtmlPage& page, const std::string& utf8Markup, int width = 240)
    {
        htmlview::clearPage(page);
        htmlview::addPageText(page, htmlview::utf8To1251(utf8Markup), false);
        htmlview::finishPage(page, width);
    }

    // Draws the page scrolled to `top` over the whole (white) screen.
    void drawOnScreen(htmlview::HtmlPage& page, int top = 0)
    {
        gdi::Framebuffer& fb = gdi::screen();
        std::fill(fb.pixels.begin(), fb.pixels.end(), 0xFFFFFFu);
        HDC dc = gdi::createWindowDC(0, 0, {{0, 0, fb.width, fb.height}});
        htmlview::drawPage(page, dc, RECT{0, 0, fb.width, fb.height}, 0, -top);
        gdi::releaseWindowDC(dc);
    }

    // Pixels of the screen that are not white, within the rectangle.
    static int inkIn(const RECT& r)
    {
        const gdi::Framebuffer& fb = gdi::screen();
        int count = 0;
        for (int y = std::max<LONG>(0, r.top); y < std::min<LONG>(fb.height, r.bottom); ++y)
            for (int x = std::max<LONG>(0, r.left); x < std::min<LONG>(fb.width, r.right); ++x)
                if (fb.pixels[static_cast<size_t>(y * fb.width + x)] != 0xFFFFFFu)
                    ++count;
        return count;
    }

    std::filesystem::path root;
};

} // namespace htmlview_test
