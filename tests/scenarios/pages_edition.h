// An edition for the page pane and the picture screens: a help text whose links chain from anchor to
// anchor, the maker's pictures in plain colours, a metro scheme whose every pixel tells where it
// is, and information pages beside it that link to each other and to a mail address.
#pragma once

#include "tests/scenarios/dernolo_fixture.h"

#include "card/html_pane.h"
#include "platform/testing/windows.h"

#include <cstdint>
#include <string>

namespace dernolo_test {

constexpr int barHeight = 26;
constexpr int schemeWidth = 800;
constexpr int schemeHeight = 900;

constexpr uint32_t portraitUpper = 0xC02020;
constexpr uint32_t portraitLower = 0x20C020;
constexpr uint32_t landscapeUpper = 0x2020C0;
constexpr uint32_t landscapeLower = 0xC0C020;

// The point of the scheme a pixel of it was taken from.
POINT schemePointAt(uint32_t colour);

Edition pagesEdition();

class PagesScenario : public DernoloScenario {
protected:
    void SetUp() override;
};

inline HtmlPane* pane() { return pageViewer.currentPane; }

// A tap on the block link at the top of the page pane.
void tapTopLink();

// A pixel of the screen (0x00RRGGBB).
uint32_t screenPixel(int x, int y);

// What the page pane's view shows, read from the window dump; empty when no view is shown.
driver::PageDump shownPage();
// The texts the page pane's view draws now, joined by spaces.
std::u16string shownPageText();

}  // namespace dernolo_test
