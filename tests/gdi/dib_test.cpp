// DIB sections of every depth, drawn to the screen, against what ImageMagick decodes from the
// same bitmap file.
#include "platform/gdi/screen.h"
#include "tests/gdi/test_pictures.h"
#include "emulator.h"
#include "win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int width = 13; // odd, so that rows of every depth need padding
constexpr int height = 7;

using gdi_test::BmpFile;
using gdi_test::decodeWithImageMagick;

BmpFile makeBmp(int depth, bool topDown, uint32_t seed) { return gdi_test::makeBmp(width, height, depth, topDown, seed); }

HDC screenDC() { return gdi::createWindowDC(0, 0, {{0, 0, 240, 320}}); }

uint32_t framebufferPixel(COLORREF c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

// A DIB section holding a bitmap file's pixels, selected into a memory context for the test's
// length.
struct SelectedDib {
    HBITMAP dib = nullptr;
    HDC memory = nullptr;
    HGDIOBJ previous = nullptr;
    explicit SelectedDib(const BmpFile& bmp)
    {
        void* bits = nullptr;
        dib = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(bmp.info.data()), DIB_RGB_COLORS, &bits,
                               nullptr, 0);
        if (dib == nullptr)
            return;
        std::memcpy(bits, bmp.bits.data(), bmp.bits.size());
        memory = CreateCompatibleDC(nullptr);
        previous = SelectObject(memory, dib);
    }
    ~SelectedDib()
    {
        if (memory != nullptr) {
            SelectObject(memory, previous);
            DeleteDC(memory);
        }
        if (dib != nullptr)
            DeleteObject(dib);
    }
};

struct DibCase {
    int depth;
    bool topDown;
};

class DibSection : public testing::TestWithParam<DibCase> {};

TEST_P(DibSection, DrawsWhatTheReferenceDecoderDecodes)
{
    if (!gdi_test::haveReferenceDecoder())
        GTEST_SKIP() << "/usr/bin/convert is not installed";
    const DibCase c = GetParam();
    BmpFile bmp = makeBmp(c.depth, c.topDown, static_cast<uint32_t>(c.depth * 2 + c.topDown));
    std::vector<uint32_t> expected = decodeWithImageMagick(bmp.file);
    ASSERT_EQ(expected.size(), static_cast<size_t>(width * height)) << "ImageMagick could not decode the file";

    HDC screen = screenDC();
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, reinterpret_cast<const BITMAPINFO*>(bmp.info.data()), DIB_RGB_COLORS,
                                   &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    ASSERT_NE(bits, nullptr);
    std::memcpy(bits, bmp.bits.data(), bmp.bits.size());

    BITMAP info{};
    ASSERT_EQ(GetObject(dib, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, width);
    EXPECT_EQ(info.bmHeight, height);
    EXPECT_EQ(info.bmBitsPixel, c.depth);
    EXPECT_EQ(static_cast<size_t>(info.bmWidthBytes) * height, bmp.bits.size());
    EXPECT_EQ(info.bmBits, bits);

    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, dib);
    ASSERT_NE(previous, nullptr);
    // Once at natural size, once stretched to double size.
    ASSERT_TRUE(BitBlt(screen, 10, 20, width, height, memory, 0, 0, SRCCOPY));
    ASSERT_TRUE(StretchBlt(screen, 100, 20, 2 * width, 2 * height, memory, 0, 0, width, height, SRCCOPY));
    const gdi::Framebuffer& fb = gdi::screen();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t want = expected[static_cast<size_t>(y * width + x)];
            ASSERT_EQ(fb.pixels[static_cast<size_t>((20 + y) * fb.width + 10 + x)], want) << x << "," << y;
            ASSERT_EQ(fb.pixels[static_cast<size_t>((20 + 2 * y + 1) * fb.width + 100 + 2 * x + 1)], want)
                << x << "," << y;
        }
    SelectObject(memory, previous);
    DeleteDC(memory);
    EXPECT_TRUE(DeleteObject(dib));
    gdi::releaseWindowDC(screen);
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, DibSection,
                         testing::Values(DibCase{1, false}, DibCase{1, true}, DibCase{4, false}, DibCase{4, true},
                                         DibCase{8, false}, DibCase{8, true}, DibCase{16, false},
                                         DibCase{16, true}, DibCase{24, false}, DibCase{24, true},
                                         DibCase{32, false}, DibCase{32, true}),
                         [](const testing::TestParamInfo<DibCase>& param) {
                             return std::to_string(param.param.depth) + (param.param.topDown ? "TopDown" : "BottomUp");
                         });

// A copy at natural size takes each source pixel as it is, wherever the two rectangles stand: parts
// outside the source are left as they were, and only the clip's part of the screen is written.
TEST_P(DibSection, NaturalSizeCopiesTakeEachSourcePixelAtAnyOffsetAndClip)
{
    const DibCase c = GetParam();
    const SelectedDib made(makeBmp(c.depth, c.topDown, static_cast<uint32_t>(c.depth * 7 + c.topDown)));
    ASSERT_NE(made.dib, nullptr);
    HDC memory = made.memory;

    // Two clip rectangles with a gap between them, as a window partly covered by another.
    HDC screen = gdi::createWindowDC(20, 30, {{20, 30, 35, 60}, {40, 30, 70, 60}});
    gdi::Framebuffer& fb = gdi::screen();
    const uint32_t sentinel = 0x123456;
    const struct {
        int x, y, sx, sy, w, h;
    } placings[] = {{0, 0, 0, 0, 40, 20}, {3, 2, -4, -2, 40, 20}, {-2, -1, 5, 3, 40, 20}, {1, 1, 9, 4, 40, 20},
                    {1, 1, 2, 1, 8, 4}, {-3, 0, 1, 2, 10, 3}};
    for (const auto& at : placings) {
        std::fill(fb.pixels.begin(), fb.pixels.end(), sentinel);
        ASSERT_TRUE(BitBlt(screen, at.x, at.y, at.w, at.h, memory, at.sx, at.sy, SRCCOPY));
        for (int y = 25; y < 65; ++y)
            for (int x = 15; x < 75; ++x) {
                const int sx = x - 20 - at.x + at.sx;
                const int sy = y - 30 - at.y + at.sy;
                const bool inClip = y >= 30 && y < 60 && ((x >= 20 && x < 35) || (x >= 40 && x < 70));
                const bool inCopy = x - 20 >= at.x && x - 20 < at.x + at.w && y - 30 >= at.y && y - 30 < at.y + at.h;
                const bool inSource = sx >= 0 && sx < width && sy >= 0 && sy < height;
                const uint32_t want = inClip && inCopy && inSource ? framebufferPixel(GetPixel(memory, sx, sy))
                                                                   : sentinel;
                ASSERT_EQ(fb.pixels[static_cast<size_t>(y * fb.width + x)], want)
                    << "placing " << at.x << "," << at.y << " from " << at.sx << "," << at.sy << " at " << x << ","
                    << y;
            }
    }
    gdi::releaseWindowDC(screen);
}

// Shrunk to a small fraction of its width (a picture drawn as a thumbnail), each destination
// column takes the source column it maps to, mirrored too, at every depth.
TEST_P(DibSection, ShrunkCopiesTakeTheColumnEachDestinationColumnMapsTo)
{
    const DibCase c = GetParam();
    constexpr int wide = 64;
    constexpr int tall = 3;
    constexpr int shrunk = 7;
    const SelectedDib made(gdi_test::makeBmp(wide, tall, c.depth, c.topDown, static_cast<uint32_t>(c.depth * 5 + c.topDown)));
    ASSERT_NE(made.dib, nullptr);
    HDC memory = made.memory;
    HDC screen = screenDC();
    const gdi::Framebuffer& fb = gdi::screen();
    ASSERT_TRUE(StretchBlt(screen, 0, 0, shrunk, tall, memory, 0, 0, wide, tall, SRCCOPY));
    // A negative width mirrors: the rectangle's columns 0 .. shrunk - 1 hold the source right to left.
    ASSERT_TRUE(StretchBlt(screen, shrunk, 10, -shrunk, tall, memory, 0, 0, wide, tall, SRCCOPY));
    for (int y = 0; y < tall; ++y)
        for (int x = 0; x < shrunk; ++x) {
            const int column = x * wide / shrunk;
            EXPECT_EQ(fb.pixels[static_cast<size_t>(y * fb.width + x)], framebufferPixel(GetPixel(memory, column, y)))
                << x << "," << y;
            EXPECT_EQ(fb.pixels[static_cast<size_t>((10 + y) * fb.width + x)],
                      framebufferPixel(GetPixel(memory, wide - 1 - column, y)))
                << "mirrored " << x << "," << y;
        }
    gdi::releaseWindowDC(screen);
}

TEST(DibSection, ThirtyTwoBitBottomUpCanBeDrawnInto)
{
    BITMAPINFO info{};
    info.bmiHeader = {40, 4, 3, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, dib);
    SetPixel(memory, 1, 0, RGB(10, 20, 30)); // top row: the last in memory
    const uint8_t* row = static_cast<const uint8_t*>(bits) + 2 * 16 + 4;
    EXPECT_EQ(row[0], 30);
    EXPECT_EQ(row[1], 20);
    EXPECT_EQ(row[2], 10);
    EXPECT_EQ(GetPixel(memory, 1, 0), RGB(10, 20, 30));
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(dib);
}

// Masked pixels: each field widened to 8 bits by repeating its bits (a wide field keeps its top
// eight), and a zero mask reads as 0. A span read for a stretch and a single pixel read agree on
// every field shape: 5-6-5, 1- and 2-bit fields, a 12-bit field, fields at the top of the word.
TEST(DibSection, MaskedFieldsAreWidenedAlikeWhenStretchedOrReadOne)
{
    struct Case {
        int depth;
        uint32_t masks[3];
        uint32_t stored[3];     // the first three pixels as stored
        COLORREF expected[3];
    };
    const Case cases[] = {
        {16, {0xF800, 0x07E0, 0x001F}, {0xC318, 0xFFFF, 0x0000}, {RGB(198, 97, 198), RGB(255, 255, 255), 0}},
        {16, {0x8000, 0x0003, 0x0000}, {0x8002, 0x0001, 0x7FFC}, {RGB(255, 170, 0), RGB(0, 85, 0), 0}},
        {32, {0xFFF00000, 0x00000C00, 0x000FF000}, {0x80000400, 0xFFFFFFFF, 0x00012000}, {RGB(128, 85, 0), RGB(255, 255, 255), RGB(0, 0, 18)}},
    };
    for (const Case& c : cases) {
        struct {
            BITMAPINFOHEADER header;
            uint32_t masks[3];
        } info{{40, 3, 1, 1, static_cast<WORD>(c.depth), BI_BITFIELDS, 0, 0, 0, 0, 0}, {c.masks[0], c.masks[1], c.masks[2]}};
        void* bits = nullptr;
        HBITMAP dib = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                       nullptr, 0);
        ASSERT_NE(dib, nullptr);
        auto* bytes = static_cast<uint8_t*>(bits);
        for (int x = 0; x < 3; ++x)
            for (int b = 0; b < c.depth / 8; ++b)
                bytes[x * c.depth / 8 + b] = static_cast<uint8_t>(c.stored[x] >> (8 * b));
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(memory, dib);

        HDC screen = screenDC();
        ASSERT_TRUE(StretchBlt(screen, 0, 0, 6, 2, memory, 0, 0, 3, 1, SRCCOPY));
        const gdi::Framebuffer& fb = gdi::screen();
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(GetPixel(memory, x, 0), c.expected[x]) << c.depth << "-bit pixel " << x;
            EXPECT_EQ(fb.pixels[static_cast<size_t>(fb.width + 2 * x + 1)], framebufferPixel(c.expected[x]))
                << c.depth << "-bit pixel " << x << " stretched";
        }
        gdi::releaseWindowDC(screen);
        SelectObject(memory, previous);
        DeleteDC(memory);
        DeleteObject(dib);
    }
}

TEST(DibSection, UnusableHeadersAreRefused)
{
    BITMAPINFO info{};
    void* bits = reinterpret_cast<void*>(1);
    info.bmiHeader = {40, 30000, 30000, 1, 32, BI_RGB, 0, 0, 0, 0, 0}; // 3.4 GB
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    info.bmiHeader = {40, 10, 10, 1, 7, BI_RGB, 0, 0, 0, 0, 0};
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    info.bmiHeader = {40, 0, 10, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    info.bmiHeader = {40, 10, 10, 1, 8, BI_RLE8, 0, 0, 0, 0, 0};
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
}

// Each kind of object the program makes can be refused at its turn; a refused one takes no place.
TEST(Handles, PlannedFailuresRefuseEachKindOfObjectAndLeaveNothingBehind)
{
    BITMAPINFO info{};
    info.bmiHeader = {40, 4, 3, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    LOGFONTW font{};
    font.lfHeight = -12;
    HDC memory = CreateCompatibleDC(nullptr);
    const size_t before = gdi::liveObjects();
    const std::function<HGDIOBJ()> makers[] = {
        [&] { return CreateSolidBrush(RGB(1, 2, 3)); },
        [&] { return CreatePen(PS_SOLID, 1, RGB(1, 2, 3)); },
        [&] { return CreateFontIndirectW(&font); },
        [&] { return CreateBitmap(4, 4, 1, 1, nullptr); },
        [&] { return CreateCompatibleBitmap(memory, 4, 4); },
        [&] {
            void* bits = reinterpret_cast<void*>(1);
            HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            EXPECT_EQ(bits == nullptr, dib == nullptr) << "no pixels without the section";
            return dib;
        },
    };
    for (const auto& make : makers) {
        emu::clearFaults();
        emu::failCall(emu::FailingCall::gdiObject, 1);
        HGDIOBJ first = make();
        EXPECT_NE(first, nullptr);
        EXPECT_EQ(make(), nullptr);
        EXPECT_EQ(GetLastError(), DWORD{ERROR_NOT_ENOUGH_MEMORY});
        EXPECT_EQ(emu::callCounts()[emu::FailingCall::gdiObject], 2u);
        DeleteObject(first);
        EXPECT_EQ(gdi::liveObjects(), before);
    }
    emu::clearFaults();
    DeleteDC(memory);
}

TEST(Handles, StaleAndForeignHandlesAreRefused)
{
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(brush));
    HDC memory = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(memory, brush), nullptr);
    RECT r{0, 0, 1, 1};
    EXPECT_EQ(FillRect(memory, &r, brush), 0);
    EXPECT_EQ(SelectObject(memory, reinterpret_cast<HGDIOBJ>(uintptr_t{0xA0001001})), nullptr);
    // A pen handle is not a context.
    EXPECT_EQ(SetTextColor(reinterpret_cast<HDC>(GetStockObject(BLACK_PEN)), 0), CLR_INVALID);
    DeleteDC(memory);
}

TEST(Handles, AnObjectDeletedWhileSelectedLivesUntilDeselected)
{
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(memory, 4, 4);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(200, 0, 0));
    SelectObject(memory, pen);
    EXPECT_TRUE(DeleteObject(pen));
    MoveToEx(memory, 0, 1, nullptr);
    LineTo(memory, 4, 1);
    EXPECT_EQ(GetPixel(memory, 2, 1), RGB(200, 0, 0));
    SelectObject(memory, GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(memory, pen), nullptr);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

TEST(Handles, TheFirstBitmapOfAMemoryContextCanBeSelectedBack)
{
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(first, 8, 8);
    HGDIOBJ original = SelectObject(first, bitmap);
    ASSERT_NE(original, nullptr);
    EXPECT_EQ(GetCurrentObject(second, OBJ_BITMAP), original) << "every new context starts on the same surface";
    EXPECT_EQ(SelectObject(first, original), bitmap);
    EXPECT_EQ(GetCurrentObject(first, OBJ_BITMAP), original);
    // Deselected, the bitmap goes at once and can be selected elsewhere until then.
    HGDIOBJ again = SelectObject(second, bitmap);
    EXPECT_EQ(again, original);
    EXPECT_EQ(SelectObject(first, bitmap), nullptr) << "a bitmap is in one context at a time";
    SelectObject(second, again);
    EXPECT_TRUE(DeleteObject(bitmap));
    BITMAP info{};
    EXPECT_EQ(GetObject(bitmap, sizeof info, &info), 0);
    EXPECT_TRUE(DeleteDC(first));
    EXPECT_TRUE(DeleteDC(second));
    EXPECT_EQ(GetObject(original, sizeof info, &info), static_cast<int>(sizeof info)) << "the shared surface stays";
}

} // namespace
