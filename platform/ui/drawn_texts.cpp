// What each window shows as text: every run the gdi draws through a window's context, kept until
// a paint cycle redraws its place. A reader of the screen (the test driver's dump) gets the texts
// a window draws itself, tiles and bands included, without knowing how the program drew them.
#include "platform/ui/ui_state.h"
#include "platform/ui/window_manager.h"

#include <algorithm>

namespace ui {

namespace {

// A window that draws without ever repainting (a clock, say) must not grow without end.
constexpr size_t keptPerWindow = 512;

bool overlaps(const RECT& a, const RECT& b)
{
    return std::max(a.left, b.left) < std::min(a.right, b.right) && std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

void textDrawn(HDC dc, std::u16string_view text, const gdi::ClipRect& cell)
{
    const std::vector<LiveDC>& live = uiState().liveDCs;
    auto at = std::find_if(live.begin(), live.end(), [dc](const LiveDC& l) { return l.dc == dc; });
    if (at == live.end() || at->window == nullptr || !at->clientOnly)
        return;
    Window* w = peekWindow(at->window);
    if (w == nullptr)
        return;
    const RECT client = clientOnScreen(*w);
    const RECT place{cell.left - client.left, cell.top - client.top, cell.right - client.left, cell.bottom - client.top};
    // The same place drawn again (a pressed tile, a repaint through GetDC) replaces what was there.
    std::erase_if(w->drawnTexts, [&](const DrawnText& d) { return EqualRect(&d.cell, &place) != FALSE; });
    if (w->drawnTexts.size() >= keptPerWindow)
        w->drawnTexts.erase(w->drawnTexts.begin());
    w->drawnTexts.push_back(DrawnText{std::u16string(text), place});
}

}  // namespace

void keepDrawnTexts()
{
    gdi::setTextDrawnHandler(textDrawn);
}

void forgetDrawnTexts(Window& w, const std::vector<RECT>& repainted)
{
    std::erase_if(w.drawnTexts, [&](const DrawnText& d) {
        return std::any_of(repainted.begin(), repainted.end(), [&](const RECT& r) { return overlaps(d.cell, r); });
    });
}

std::vector<ShownText> shownTexts(HWND window)
{
    std::vector<ShownText> texts;
    const Window* w = peekWindow(window);
    if (w == nullptr)
        return texts;
    const RECT client = clientOnScreen(*w);
    for (const DrawnText& d : w->drawnTexts) {
        RECT onScreen = d.cell;
        OffsetRect(&onScreen, client.left, client.top);
        texts.push_back(ShownText{d.text, onScreen});
    }
    return texts;
}

}  // namespace ui
