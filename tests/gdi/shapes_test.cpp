// Fills, gradients, focus frames and lines on window contexts and memory bitmaps.
#include "platform/gdi/colour.h"
#include "platform/gdi/gdi_state.h"
#include "platform/gdi/gradient.h"
#include "platform/gdi/screen.h"
#include "win32.h"

#include <gtest/gtest.h>

namespace {

uint32_t at(int x, int y)
{
    const gdi::Framebuffer& fb = gdi::screen();
    return fb.pixels[static_cast<size_t>(y * fb.width + x)];
}

void clearScreen(uint32_t colour)
{
    for (uint32_t& p : gdi::screen().pixels)
        p = colour;
}

TEST(GradientFill, RunsFromTheTopColourToTheBottomColour)
{
    clearScreen(0);
    HDC dc = gdi::createWindowDC(0, 26, {{0, 26, 240, 320}});
    TRIVERTEX v[2] = {{0, 0, 8 << 8, 111 << 8, 184 << 8, 0}, {240, 100, 11 << 8, 82 << 8, 131 << 8, 0}};
    GRADIENT_RECT mesh{0, 1};
    ASSERT_TRUE(GradientFill(dc, v, 2, &mesh, 1, GRADIENT_FILL_RECT_V));
    EXPECT_EQ(at(0, 26), 0x086FB8u);
    EXPECT_EQ(at(239, 26), 0x086FB8u);
    // Near the bottom, within one step of the last colour; each row is one colour.
    uint32_t last = at(5, 26 + 99);
    EXPECT_NEAR(static_cast<int>(last >> 16), 11, 1);
    EXPECT_NEAR(static_cast<int>(last >> 8 & 0xFF), 82, 1);
    EXPECT_NEAR(static_cast<int>(last & 0xFF), 131, 1);
    EXPECT_EQ(at(200, 26 + 99), last);
    // Green falls steadily from the top row to the bottom one.
    for (int y = 27; y < 126; ++y)
        EXPECT_LE(at(0, y) >> 8 & 0xFF, at(0, y - 1) >> 8 & 0xFF);
    EXPECT_EQ(at(0, 26 + 100), 0u) << "the bottom edge is exclusive";
    gdi::releaseWindowDC(dc);
}

TEST(GradientFill, WhenTheServiceIsMissingTheFlatAverageIsUsed)
{
    EXPECT_EQ(gdi::averageColour(RGB(8, 111, 184), RGB(11, 82, 131)), RGB(9, 96, 157));
    gdi::setGradientFillAvailable(false);
    HDC dc = gdi::createWindowDC(0, 0, {{0, 0, 240, 320}});
    TRIVERTEX v[2] = {{0, 0, 0, 0, 0, 0}, {10, 10, 0xFF00, 0xFF00, 0xFF00, 0}};
    GRADIENT_RECT mesh{0, 1};
    EXPECT_FALSE(GradientFill(dc, v, 2, &mesh, 1, GRADIENT_FILL_RECT_V));
    gdi::setGradientFillAvailable(true);
    HBRUSH flat = CreateSolidBrush(gdi::averageColour(RGB(8, 111, 184), RGB(11, 82, 131)));
    RECT r{0, 0, 10, 10};
    FillRect(dc, &r, flat);
    DeleteObject(flat);
    EXPECT_EQ(at(9, 9), 0x09609Du);
    gdi::releaseWindowDC(dc);
}

TEST(GradientFill, VertexIndicesOutsideTheArrayAreRefused)
{
    HDC dc = gdi::createWindowDC(0, 0, {{0, 0, 240, 320}});
    TRIVERTEX v[2] = {{0, 0, 0, 0, 0, 0}, {10, 10, 0, 0, 0, 0}};
    GRADIENT_RECT mesh{0, 2};
    EXPECT_FALSE(GradientFill(dc, v, 2, &mesh, 1, GRADIENT_FILL_RECT_H));
    gdi::releaseWindowDC(dc);
}

TEST(DrawFocusRect, DrawingItTwiceRestoresThePicture)
{
    clearScreen(0x123456);
    HDC dc = gdi::createWindowDC(3, 5, {{0, 0, 240, 320}});
    RECT frames[] = {{10, 10, 50, 30}, {-3, -1, 6, 9}, {20, 40, 21, 60}, {0, 100, 1, 101}};
    for (const RECT& r : frames) {
        std::vector<uint32_t> before = gdi::screen().pixels;
        ASSERT_TRUE(DrawFocusRect(dc, &r));
        EXPECT_NE(gdi::screen().pixels, before) << r.left << "," << r.top;
        ASSERT_TRUE(DrawFocusRect(dc, &r));
        EXPECT_EQ(gdi::screen().pixels, before) << r.left << "," << r.top;
    }
    // The frame is dotted: every other pixel of its edge is inverted.
    RECT r{10, 10, 50, 30};
    DrawFocusRect(dc, &r);
    EXPECT_EQ(at(13, 15), 0x123456u ^ 0xFFFFFFu);
    EXPECT_EQ(at(14, 15), 0x123456u);
    EXPECT_EQ(at(20, 25), 0x123456u) << "the inside is untouched";
    gdi::releaseWindowDC(dc);
}

TEST(WindowContext, RectVisibleAnswersWhetherARectangleMeetsTheClip)
{
    // Origin (20, 30); two strips visible, the middle covered, the last strip partly off the screen.
    HDC dc = gdi::createWindowDC(20, 30, {{20, 30, 120, 50}, {20, 70, 120, 90}, {200, 310, 300, 400}});
    const auto visible = [dc](int left, int top, int right, int bottom) {
        const RECT r{left, top, right, bottom};
        return RectVisible(dc, &r) != FALSE;
    };
    EXPECT_TRUE(visible(0, 0, 1, 1));
    EXPECT_TRUE(visible(-10, 10, 1, 60)) << "one strip is met";
    EXPECT_FALSE(visible(0, 20, 100, 40)) << "the covered middle";
    EXPECT_FALSE(visible(100, 0, 150, 20)) << "right of the strips: edges are exclusive";
    EXPECT_FALSE(visible(0, 60, 100, 40)) << "an empty rectangle";
    EXPECT_TRUE(visible(180, 280, 219, 289));
    EXPECT_FALSE(visible(220, 280, 260, 300)) << "off the screen";
    gdi::releaseWindowDC(dc);

    // A memory context: its bitmap.
    HDC memory = CreateCompatibleDC(nullptr);
    const RECT pixel{0, 0, 1, 1};
    const RECT beyond{1, 0, 5, 5};
    EXPECT_TRUE(RectVisible(memory, &pixel));
    EXPECT_FALSE(RectVisible(memory, &beyond)) << "a new context holds one pixel";
    HBITMAP bitmap = CreateCompatibleBitmap(memory, 10, 10);
    HGDIOBJ old = SelectObject(memory, bitmap);
    EXPECT_TRUE(RectVisible(memory, &beyond));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EXPECT_FALSE(RectVisible(nullptr, &pixel));
}

TEST(WindowContext, DrawsOnlyInsideItsClipRectangles)
{
    clearScreen(0);
    // Origin (20, 30); visible: two strips of screen, with a window above covering the middle.
    HDC dc = gdi::createWindowDC(20, 30, {{20, 30, 120, 50}, {20, 70, 120, 90}});
    RECT all{-50, -50, 300, 300};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(at(20, 30), 0xFFFFFFu);
    EXPECT_EQ(at(119, 49), 0xFFFFFFu);
    EXPECT_EQ(at(60, 60), 0u);
    EXPECT_EQ(at(120, 40), 0u);
    EXPECT_EQ(at(19, 40), 0u);
    EXPECT_EQ(at(60, 80), 0xFFFFFFu);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 40, 30), CLR_INVALID) << "a covered pixel cannot be read";

    // Lines, text and blits obey the same clip.
    clearScreen(0);
    MoveToEx(dc, -20, 30, nullptr);
    LineTo(dc, 200, 30);
    EXPECT_EQ(at(60, 60), 0u);
    SetPixel(dc, 40, 30, RGB(255, 0, 0));
    EXPECT_EQ(at(60, 60), 0u);
    RECT text{0, 20, 100, 60};
    DrawTextW(dc, u"ЖЖЖЖЖЖЖЖЖЖ", -1, &text, DT_LEFT);
    for (int y = 50; y < 70; ++y)
        for (int x = 0; x < 240; ++x)
            ASSERT_EQ(at(x, y), 0u) << x << "," << y;

    // Moved and partly uncovered.
    gdi::updateWindowDC(dc, 0, 0, {{0, 0, 10, 10}});
    clearScreen(0);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(at(9, 9), 0xFFFFFFu);
    EXPECT_EQ(at(10, 9), 0u);
    gdi::releaseWindowDC(dc);
    EXPECT_EQ(FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))), 0)
        << "a released context draws nothing";
}

TEST(Shapes, RectangleOutlinesWithThePenAndFillsWithTheBrush)
{
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(memory, 10, 10);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    RECT all{0, 0, 10, 10};
    FillRect(memory, &all, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    EXPECT_EQ(GetPixel(memory, 5, 5), GetSysColor(COLOR_WINDOW));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(132, 130, 132));
    HBRUSH brush = CreateSolidBrush(RGB(132, 211, 247));
    HGDIOBJ oldPen = SelectObject(memory, pen);
    HGDIOBJ oldBrush = SelectObject(memory, brush);
    Rectangle(memory, 2, 2, 8, 7);
    EXPECT_EQ(GetPixel(memory, 2, 2), RGB(132, 130, 132));
    EXPECT_EQ(GetPixel(memory, 7, 6), RGB(132, 130, 132));
    EXPECT_EQ(GetPixel(memory, 4, 4), RGB(132, 211, 247));
    EXPECT_EQ(GetPixel(memory, 8, 4), GetSysColor(COLOR_WINDOW)) << "right edge is exclusive";
    EXPECT_EQ(GetPixel(memory, 4, 7), GetSysColor(COLOR_WINDOW)) << "bottom edge is exclusive";
    SelectObject(memory, GetStockObject(NULL_BRUSH));
    Rectangle(memory, 0, 0, 10, 10);
    EXPECT_EQ(GetPixel(memory, 4, 4), RGB(132, 211, 247)) << "a null brush leaves the inside";
    EXPECT_EQ(FrameRect(memory, &all, reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1)), 1);
    EXPECT_EQ(GetPixel(memory, 0, 9), GetSysColor(COLOR_HIGHLIGHT)) << "a system colour index stands for its brush";
    SelectObject(memory, oldPen);
    SelectObject(memory, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    HDC screen = gdi::createWindowDC(0, 0, {});
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
    gdi::releaseWindowDC(screen);
}

TEST(GradientFill, HorizontalRunsFromLeftToRightAndSkipsWhatLiesOutside)
{
    clearScreen(0);
    HDC dc = gdi::createWindowDC(0, 0, {{0, 0, 240, 320}});
    TRIVERTEX v[2] = {{10, 0, 0, 0, 0, 0}, {110, 20, 0xFF00, 0x8000, 0, 0}};
    GRADIENT_RECT mesh{0, 1};
    ASSERT_TRUE(GradientFill(dc, v, 2, &mesh, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(at(10, 0), 0u);
    EXPECT_EQ(at(10, 19), 0u) << "each column is one colour";
    EXPECT_EQ(at(60, 5), 0x7F4000u);
    EXPECT_EQ(at(110, 5), 0u) << "the right edge is exclusive";
    for (int x = 11; x < 110; ++x)
        EXPECT_GE(at(x, 3) >> 16, at(x - 1, 3) >> 16);
    // Named from the lower right corner, the colours stay with their corners.
    TRIVERTEX reversed[2] = {{110, 40, 0xFF00, 0, 0, 0}, {10, 30, 0, 0, 0xFF00, 0}};
    ASSERT_TRUE(GradientFill(dc, reversed, 2, &mesh, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(at(10, 35), 0x0000FFu);
    EXPECT_GT(at(109, 35) >> 16, 0xF0u);
    ASSERT_TRUE(GradientFill(dc, reversed, 2, &mesh, 1, GRADIENT_FILL_RECT_V));
    EXPECT_EQ(at(50, 30), 0x0000FFu);
    EXPECT_GT(at(50, 39) >> 16, 0xE0u);
    // A rectangle of four billion rows paints only the screen's.
    TRIVERTEX huge[2] = {{0, -2000000000, 0, 0, 0xFF00, 0}, {240, 2000000000, 0, 0, 0xFF00, 0}};
    ASSERT_TRUE(GradientFill(dc, huge, 2, &mesh, 1, GRADIENT_FILL_RECT_V));
    EXPECT_EQ(at(100, 100), 0x0000FFu);
    gdi::releaseWindowDC(dc);
}

TEST(Blits, AScreenToScreenCopyReadsThePixelsAsTheyWereBefore)
{
    // Four stripes scrolled down by one row: each row takes the colour of the row above.
    HDC dc = gdi::createWindowDC(0, 0, {{0, 0, 240, 320}});
    for (int y = 0; y < 4; ++y) {
        RECT r{0, y, 240, y + 1};
        HBRUSH brush = CreateSolidBrush(RGB(10 * y, 0, 0));
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }
    ASSERT_TRUE(BitBlt(dc, 0, 1, 240, 3, dc, 0, 0, SRCCOPY));
    for (int y = 1; y < 4; ++y)
        EXPECT_EQ(at(5, y), static_cast<uint32_t>(10 * (y - 1)) << 16) << y;

    // The same inside one memory bitmap.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 4, 4);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    for (int x = 0; x < 4; ++x)
        SetPixel(memory, x, 0, RGB(0, 50 * x, 0));
    ASSERT_TRUE(BitBlt(memory, 1, 0, 3, 1, memory, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(memory, 3, 0), RGB(0, 100, 0));
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    gdi::releaseWindowDC(dc);
}

TEST(Blits, AHugeStretchVisitsOnlyTheTargetAndMirrorsOnNegativeSizes)
{
    clearScreen(0);
    HDC dc = gdi::createWindowDC(0, 0, {{0, 0, 240, 320}});
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 2, 1);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    SetPixel(memory, 0, 0, RGB(255, 0, 0));
    SetPixel(memory, 1, 0, RGB(0, 0, 255));
    ASSERT_TRUE(StretchBlt(dc, -999999000, 0, 2000000000, 1000000000, memory, 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(at(0, 0), 0xFF0000u);
    EXPECT_EQ(at(239, 319), 0xFF0000u) << "the left half of the stretch covers the screen";
    clearScreen(0);
    ASSERT_TRUE(StretchBlt(dc, 10, 10, -2, 1, memory, 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(at(8, 10), 0x0000FFu);
    EXPECT_EQ(at(9, 10), 0xFF0000u);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    gdi::releaseWindowDC(dc);
}

// Stretches up and down, mirrored, reaching past the source's edges, with every raster operation,
// through one clip rectangle and through two that overlap: each target pixel inside the clip is the
// source pixel its position scales to, combined once with what was there; the rest stay.
TEST(Blits, AStretchTakesEachPixelFromTheSourcePixelItsPositionScalesTo)
{
    constexpr int sourceWidth = 7;
    constexpr int sourceHeight = 5;
    auto sourcePixel = [](int x, int y) { return static_cast<uint32_t>(0x102030 * (x + 1) + 0x050403 * y) & 0xFFFFFF; };
    auto background = [](int x, int y) { return static_cast<uint32_t>(x * 0x010203 + y * 0x030201) & 0xFFFFFF; };
    struct Case {
        int x, y, w, h, sx, sy, sw, sh;
    };
    const Case cases[] = {{3, 4, 20, 11, 0, 0, 7, 5},   {5, 2, 4, 3, 1, 1, 6, 4},   {30, 2, -13, 9, 0, 0, 7, 5},
                          {2, 20, 15, -6, 2, 1, 7, 5}, {4, 4, 12, 12, -3, -2, 7, 5}, {-5, -3, 18, 14, 0, 0, 7, 5}};
    const std::vector<std::vector<gdi::ClipRect>> clips = {{{0, 0, 40, 30}}, {{0, 0, 14, 12}, {8, 6, 40, 30}}};
    const DWORD rops[] = {SRCCOPY, SRCAND, SRCPAINT, SRCINVERT};
    for (const auto& clip : clips)
        for (const DWORD rop : rops)
            for (const Case& c : cases) {
                for (int y = 0; y < 30; ++y)
                    for (int x = 0; x < 40; ++x)
                        gdi::screen().pixels[static_cast<size_t>(y * gdi::screen().width + x)] = background(x, y);
                HDC dc = gdi::createWindowDC(0, 0, clip);
                HDC memory = CreateCompatibleDC(dc);
                HBITMAP bitmap = CreateCompatibleBitmap(dc, sourceWidth, sourceHeight);
                HGDIOBJ previous = SelectObject(memory, bitmap);
                for (int y = 0; y < sourceHeight; ++y)
                    for (int x = 0; x < sourceWidth; ++x)
                        SetPixel(memory, x, y, sourcePixel(x, y) >> 16 | (sourcePixel(x, y) & 0xFF00) | (sourcePixel(x, y) & 0xFF) << 16);
                ASSERT_TRUE(StretchBlt(dc, c.x, c.y, c.w, c.h, memory, c.sx, c.sy, c.sw, c.sh, rop));
                // The destination and source as positive rectangles, mirrored where the signs differ.
                const int left = c.w < 0 ? c.x + c.w : c.x;
                const int top = c.h < 0 ? c.y + c.h : c.y;
                const int w = std::abs(c.w);
                const int h = std::abs(c.h);
                for (int y = 0; y < 30; ++y)
                    for (int x = 0; x < 40; ++x) {
                        uint32_t expected = background(x, y);
                        bool inClip = false;
                        for (const gdi::ClipRect& r : clip)
                            inClip = inClip || (x >= r.left && x < r.right && y >= r.top && y < r.bottom);
                        const int dx = x - left;
                        const int dy = y - top;
                        if (inClip && dx >= 0 && dx < w && dy >= 0 && dy < h) {
                            const int column = dx * c.sw / w;
                            const int row = dy * c.sh / h;
                            const int sx = c.sx + (c.w < 0 ? c.sw - 1 - column : column);
                            const int sy = c.sy + (c.h < 0 ? c.sh - 1 - row : row);
                            if (sx >= 0 && sx < sourceWidth && sy >= 0 && sy < sourceHeight) {
                                const uint32_t p = sourcePixel(sx, sy);
                                expected = rop == SRCAND ? expected & p : rop == SRCPAINT ? expected | p
                                                                        : rop == SRCINVERT ? expected ^ p
                                                                                           : p;
                            }
                        }
                        ASSERT_EQ(at(x, y), expected) << "case " << (&c - cases) << ", rop " << rop << ", "
                                                      << clip.size() << " clip rectangles, at " << x << "," << y;
                    }
                SelectObject(memory, previous);
                DeleteObject(bitmap);
                DeleteDC(memory);
                gdi::releaseWindowDC(dc);
            }
}

TEST(Blend, EveryChannelIsRoundedToTheNearestAndTheExtremesAreExact)
{
    for (unsigned alpha = 0; alpha < 256; ++alpha)
        for (unsigned source = 0; source < 256; source += 3)
            for (unsigned dest = 0; dest < 256; dest += 5) {
                unsigned want = (source * alpha + dest * (255 - alpha) + 127) / 255;
                uint32_t got = gdi::blend(dest << 16 | (255 - dest) << 8 | dest, source << 16 | source << 8 | (255 - source),
                                          alpha);
                ASSERT_EQ(got >> 16, want) << source << " over " << dest << " at " << alpha;
                ASSERT_EQ(got & 0xFF, ((255 - source) * alpha + dest * (255 - alpha) + 127) / 255);
                ASSERT_EQ(got >> 8 & 0xFF, (source * alpha + (255 - dest) * (255 - alpha) + 127) / 255);
            }
}

} // namespace
