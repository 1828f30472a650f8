// libFuzzer target: arbitrary bytes shown as a page, then laid out at other widths, drawn
// scrolled, searched for anchors and tapped.
#include "platform/htmlview/html_page.h"
#include "win32.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

HDC target = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 240;
    info.bmiHeader.biHeight = -320;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    target = CreateCompatibleDC(nullptr);
    SelectObject(target, CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    // The font engine keeps what it finds for the whole process: let it find every face now, so
    // that its caches are not taken for leaks of the first input that needs them.
    htmlview::HtmlPage page;
    htmlview::addPageText(page, "<p>a<b>b</b><i>c</i><b><i>d</i></b><h1>e</h1></p>", false);
    htmlview::finishPage(page, 227);
    htmlview::drawPage(page, target, RECT{0, 0, 240, 320}, 0, 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    htmlview::HtmlPage page;
    // The source arrives in pieces, as the screens add it.
    htmlview::addPageText(page, bytes.substr(0, size / 2), false);
    htmlview::addPageText(page, bytes.substr(size / 2), false);
    htmlview::finishPage(page, 227);
    htmlview::drawPage(page, target, RECT{0, 0, 240, 320}, 0, 0);
    htmlview::drawPage(page, target, RECT{0, 0, 240, 320}, 0, -(page.height / 2));
    htmlview::anchorTop(page, "t2");
    htmlview::pressPage(page, 20, 10, 20, 10);
    htmlview::releasePage(page, 20, 10, 20, 10);
    htmlview::layoutPage(page, 60);
    htmlview::drawPage(page, target, RECT{0, 0, 60, 320}, 0, 0);
    return 0;
}
