#include "tests/scenarios/pages_edition.h"

#include "platform/gdi/screen.h"

#include <functional>

namespace dernolo_test {

namespace {

void put16(std::string& s, size_t at, uint32_t v)
{
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, size_t at, uint32_t v)
{
    put16(s, at, v & 0xFFFF);
    put16(s, at + 2, v >> 16);
}

// A 24-bit bitmap file whose pixel (x, y), counted from the top, has the colour colourAt(x, y).
std::string bitmapFile(int width, int height, const std::function<uint32_t(int, int)>& colourAt)
{
    const size_t row = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    std::string file(54 + row * static_cast<size_t>(height), '\0');
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 2, static_cast<uint32_t>(file.size()));
    put32(file, 10, 54);
    put32(file, 14, 40);
    put32(file, 18, static_cast<uint32_t>(width));
    put32(file, 22, static_cast<uint32_t>(height));
    put16(file, 26, 1);
    put16(file, 28, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t c = colourAt(x, y);
            const size_t at = 54 + row * static_cast<size_t>(height - 1 - y) + static_cast<size_t>(x) * 3;
            file[at] = static_cast<char>(c & 0xFF);
            file[at + 1] = static_cast<char>((c >> 8) & 0xFF);
            file[at + 2] = static_cast<char>((c >> 16) & 0xFF);
        }
    return file;
}

// Red and green are the low bits of x and y, blue holds their high bits.
uint32_t schemeColour(int x, int y)
{
    return static_cast<uint32_t>(((x & 0xFF) << 16) | ((y & 0xFF) << 8) | ((x >> 8) << 4) | (y >> 8));
}

const char pageHead[] =
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\"></head><body>";

// A block link filling the top of the view, so that a tap there follows it.
std::string blockLink(const std::string& target, const std::string& text)
{
    return "<a href=\"" + target + "\" style=\"display:block;height:60px\">" + text + "</a>";
}

// The top links to #a1 and each #aK to #a(K+1); the screens' anchors follow.
std::string helpText()
{
    std::string text = std::string(pageHead) + blockLink("#a1", "first") + "<div style=\"height:300px\">top</div>";
    for (int k = 1; k <= 12; ++k)
        text += "<a name=\"a" + std::to_string(k) + "\"></a>" + blockLink("#a" + std::to_string(k + 1), "next") +
                "<div style=\"height:300px\">" + std::to_string(k) + "</div>";
    for (const char* anchor : {"t2", "t31", "t32", "t34", "t35", "t41", "t43"})
        text += std::string("<a name=\"") + anchor + "\"></a><p>" + anchor + "</p><div style=\"height:300px\"></div>";
    return text + "</body></html>";
}

std::string page(const std::string& body)
{
    return pageHead + body + "<div style=\"height:600px\"></div></body></html>";
}

} // namespace

POINT schemePointAt(uint32_t colour)
{
    return POINT{static_cast<LONG>(((colour >> 16) & 0xFF) | (((colour >> 4) & 0xF) << 8)),
                 static_cast<LONG>(((colour >> 8) & 0xFF) | ((colour & 0xF) << 8))};
}

Edition pagesEdition()
{
    Edition e;
    e.title = cp1251(u"Справочник\r\nСтраницы");
    e.cityLetter = 'P';
    EditionFirm firm;
    firm.name = cp1251(u"Фирма");
    e.firms.push_back(firm);
    EditionRubric rubric;
    rubric.code = "01";
    rubric.title = cp1251(u"Службы");
    e.rubrics.push_back(rubric);
    auto picture = [&](int width, int height, uint32_t colour) {
        e.chunks.push_back({ChunkKind::picture, bitmapFile(width, height, [colour](int, int) { return colour; })});
    };
    // The help text comes first: pictures are counted among the pictures only.
    e.chunks.push_back({ChunkKind::help, helpText()});
    picture(240, 60, portraitUpper);
    picture(240, 50, portraitLower);
    picture(320, 40, landscapeUpper);
    picture(320, 30, landscapeLower);
    e.chunks.push_back({ChunkKind::picture, bitmapFile(schemeWidth, schemeHeight, schemeColour)});
    return e;
}

void PagesScenario::SetUp()
{
    DernoloScenario::SetUp();
    installEdition(pagesEdition(), "pages.ydb");
    installFile("HTML/bridges.html", page(blockLink("medics.html", "medics") + "<p>bridges</p>"));
    installFile("HTML/medics.html", page(blockLink("emergency.html", "emergency") + "<p>medics</p>"));
    installFile("HTML/emergency.html", page(blockLink("mailto:doctor@clinic.ru", "write") + "<p>emergency</p>"));
    installFile("HTML/lumetra.html", page("<p>product</p>"));
}

void tapTopLink()
{
    driver::tap(120, barHeight + 30);
}

uint32_t screenPixel(int x, int y)
{
    const gdi::Framebuffer& fb = gdi::screen();
    return fb.pixels[static_cast<size_t>(y) * static_cast<size_t>(fb.width) + static_cast<size_t>(x)];
}

driver::PageDump shownPage()
{
    const driver::ScreenDump dump = driver::dumpWindows();
    const driver::WindowDump* view = driver::findDumped(dump, u"DISPLAYCLASS");
    return view != nullptr && view->page ? *view->page : driver::PageDump{};
}

std::u16string shownPageText()
{
    const driver::ScreenDump dump = driver::dumpWindows();
    const driver::WindowDump* view = driver::findDumped(dump, u"DISPLAYCLASS");
    std::u16string text;
    if (view != nullptr)
        for (const driver::DrawnTextDump& drawn : view->drawn)
            text += (text.empty() ? u"" : u" ") + drawn.text;
    return text;
}

}  // namespace dernolo_test
