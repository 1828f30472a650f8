#include "fuzz/htmlview/page_exercise.h"

#include "platform/htmlview/html_page.h"
#include "win32.h"

#include <string_view>

namespace {

constexpr int screenWidth = 240;
constexpr int screenHeight = 320;
constexpr int pageWidth = 227;  // the screen less the scroll bar
// Each draw fills a band of a few lines, not the screen: the same drawing code runs (text, boxes
// and pictures cut at the band's edges), at a tenth of the pixels that made most of a run's time.
constexpr int bandHeight = 32;
constexpr RECT band{0, 0, screenWidth, bandHeight};

HDC target = nullptr;

} // namespace

void preparePageExercise()
{
    if (target != nullptr)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = screenWidth;
    info.bmiHeader.biHeight = -screenHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    target = CreateCompatibleDC(nullptr);
    SelectObject(target, CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const char face[] = "<p>a<b>b</b><i>c</i><b><i>d</i></b><h1>e</h1></p>";
    exercisePage(reinterpret_cast<const uint8_t*>(face), sizeof face - 1);
}

int exercisePage(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    htmlview::HtmlPage page;
    // The source arrives in pieces, as the screens add it.
    htmlview::addPageText(page, bytes.substr(0, size / 2), false);
    htmlview::addPageText(page, bytes.substr(size / 2), false);
    htmlview::finishPage(page, pageWidth);
    const int height = page.height;
    htmlview::drawPage(page, target, band, 0, 0);
    htmlview::drawPage(page, target, band, 0, -(page.height / 2));
    htmlview::anchorTop(page, "t2");
    htmlview::pressPage(page, 20, 10, 20, 10);
    htmlview::releasePage(page, 20, 10, 20, 10);
    htmlview::layoutPage(page, 60);
    htmlview::drawPage(page, target, RECT{0, 0, 60, bandHeight}, 0, 0);
    return height;
}
