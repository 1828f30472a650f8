// Icons and bitmaps from the program's resources: choosing the image for a size, alpha, the
// mask of DIB images, sharing, and damaged resource data failing cleanly.
#include "emulator.h"
#include "platform/gdi/screen.h"
#include "tests/gdi/test_pictures.h"
#include "win32.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

using gdi_test::encodePng;
using gdi_test::groupDirectory;
using gdi_test::IconImage;

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

// A square picture: opaque colour in its left half, half-transparent white in the right half of
// its top row, fully transparent elsewhere.
std::vector<uint32_t> testPicture(int side, uint32_t colour)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(side * side), 0);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side / 2; ++x)
            pixels[static_cast<size_t>(y * side + x)] = 0xFF000000u | colour;
    for (int x = side / 2; x < side; ++x)
        pixels[static_cast<size_t>(x)] = 0x80FFFFFFu;
    return pixels;
}

class Icons : public testing::Test {
protected:
    void SetUp() override
    {
        gdi::resizeScreen(240, 320);
        dc = gdi::createWindowDC(0, 0, {{0, 0, 240, 320}});
    }
    void TearDown() override
    {
        gdi::releaseWindowDC(dc);
        emu::clearResources();
    }
    // Registers data under type and id; the bytes live as long as the test.
    void add(LPCWSTR type, WORD id, std::vector<uint8_t> data)
    {
        const std::vector<uint8_t>& kept = blobs.emplace_back(std::move(data));
        emu::ResourceEntry entry{type, MAKEINTRESOURCEW(id), kept.data(), static_cast<uint32_t>(kept.size())};
        emu::registerResources(&entry, 1);
    }
    HDC dc = nullptr;
    std::deque<std::vector<uint8_t>> blobs;
};

TEST_F(Icons, APngIconIsDrawnWithItsAlpha)
{
    add(RT_ICON, 1, encodePng(32, 32, testPicture(32, 0x2060A0)));
    add(RT_GROUP_ICON, 6, groupDirectory({{32, 32, 32, 1}}));
    HICON icon = LoadIconW(nullptr, MAKEINTRESOURCEW(6));
    ASSERT_NE(icon, nullptr);
    clearScreen(0x000000);
    ASSERT_TRUE(DrawIcon(dc, 10, 20, icon));
    EXPECT_EQ(at(10, 20), 0x2060A0u);
    EXPECT_EQ(at(25, 51), 0x2060A0u);
    EXPECT_EQ(at(26, 20), 0x808080u) << "half-transparent white over black";
    EXPECT_EQ(at(26, 21), 0u) << "transparent pixels leave the background";
    EXPECT_EQ(at(42, 20), 0u) << "the icon is 32 pixels wide";
    EXPECT_EQ(at(10, 52), 0u);
}

TEST_F(Icons, TheImageNearestTheAskedSizeIsChosenAndScaledWhenItDiffers)
{
    add(RT_ICON, 1, encodePng(16, 16, testPicture(16, 0xFF0000)));
    add(RT_ICON, 2, encodePng(32, 32, testPicture(32, 0x00FF00)));
    add(RT_ICON, 3, encodePng(48, 48, testPicture(48, 0x0000FF)));
    add(RT_GROUP_ICON, 7, groupDirectory({{16, 16, 32, 1}, {48, 48, 32, 3}, {32, 32, 32, 2}}));
    struct Case {
        int cx, cy;
        UINT flags;
        uint32_t colour;
        int side; // the height drawn
    } cases[] = {{16, 16, 0, 0xFF0000, 16},  {32, 32, 0, 0x00FF00, 32}, {48, 48, 0, 0x0000FF, 48},
                 {24, 24, 0, 0x00FF00, 24},  {0, 0, 0, 0x00FF00, 32},   {0, 0, LR_DEFAULTSIZE, 0x00FF00, 32},
                 {64, 64, 0, 0x0000FF, 64},  {52, 51, 0, 0x0000FF, 51}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cx << "x" << c.cy);
        HICON icon = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(7), IMAGE_ICON, c.cx, c.cy, c.flags));
        ASSERT_NE(icon, nullptr);
        clearScreen(0);
        ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
        EXPECT_EQ(at(0, 0), c.colour);
        EXPECT_EQ(at(0, c.side - 1), c.colour);
        EXPECT_EQ(at(0, c.side + 1), 0u);
        EXPECT_TRUE(DestroyIcon(icon));
        EXPECT_FALSE(DrawIcon(dc, 0, 0, icon)) << "a destroyed icon is gone";
    }
}

TEST_F(Icons, LoadIconSharesOneIconPerImageAndSize)
{
    add(RT_ICON, 1, encodePng(32, 32, testPicture(32, 0x123456)));
    add(RT_GROUP_ICON, 6, groupDirectory({{32, 32, 32, 1}}));
    HICON first = LoadIconW(nullptr, MAKEINTRESOURCEW(6));
    EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(6)), first);
    EXPECT_EQ(LoadImageW(nullptr, MAKEINTRESOURCEW(6), IMAGE_ICON, 32, 32, LR_SHARED), first);
    EXPECT_TRUE(DestroyIcon(first));
    EXPECT_TRUE(DrawIcon(dc, 0, 0, first)) << "a shared icon outlives DestroyIcon";
    HICON own = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(6), IMAGE_ICON, 32, 32, 0));
    EXPECT_NE(own, first);
    EXPECT_TRUE(DestroyIcon(own));
    EXPECT_FALSE(DestroyIcon(own));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(Icons, DrawIconExScalesMasksAndClips)
{
    add(RT_ICON, 1, encodePng(32, 32, testPicture(32, 0x2060A0)));
    add(RT_GROUP_ICON, 6, groupDirectory({{32, 32, 32, 1}}));
    HICON icon = LoadIconW(nullptr, MAKEINTRESOURCEW(6));
    clearScreen(0x404040);
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon, 16, 8, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(at(7, 7), 0x2060A0u);
    EXPECT_EQ(at(8, 1), 0x404040u);
    EXPECT_EQ(at(0, 8), 0x404040u);

    clearScreen(0x404040);
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon, 0, 0, 0, white, DI_NORMAL));
    EXPECT_EQ(at(20, 5), 0xFFFFFFu) << "the flicker-free brush is the background";
    ASSERT_TRUE(DrawIconEx(dc, 40, 0, icon, 0, 0, 0, nullptr, DI_MASK));
    EXPECT_EQ(at(40, 5), 0u);
    EXPECT_EQ(at(60, 5), 0x404040u);
    ASSERT_TRUE(DrawIconEx(dc, 80, 0, icon, 0, 0, 0, nullptr, DI_IMAGE));
    EXPECT_EQ(at(100, 5), 0u) << "the image alone ignores the alpha";
    EXPECT_FALSE(DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, 0));

    // A window context clips; a memory context over a bitmap of another depth draws nowhere.
    clearScreen(0);
    HDC clipped = gdi::createWindowDC(100, 100, {{100, 100, 110, 110}});
    ASSERT_TRUE(DrawIcon(clipped, -5, -5, icon));
    EXPECT_EQ(at(100, 100), 0x2060A0u);
    EXPECT_EQ(at(99, 100), 0u);
    EXPECT_EQ(at(105, 110), 0u);
    gdi::releaseWindowDC(clipped);
    HDC memory = CreateCompatibleDC(nullptr);
    EXPECT_TRUE(DrawIcon(memory, 0, 0, icon));
    DeleteDC(memory);
}

// A DIB image of an icon: colour rows, then a 1-bit mask (set = transparent), bottom row first.
std::vector<uint8_t> dibIcon(int side, int depth, bool withAlpha)
{
    gdi_test::BmpFile bmp = gdi_test::makeBmp(side, side, depth, false, 5);
    gdi_test::put32(bmp.info, 8, static_cast<uint32_t>(2 * side));
    if (depth == 32)
        for (size_t i = 0; i < bmp.bits.size(); i += 4)
            bmp.bits[i + 3] = withAlpha ? static_cast<uint8_t>(i / 4 % 2 == 0 ? 255 : 0) : 0;
    size_t maskStride = (static_cast<size_t>(side) + 31) / 32 * 4;
    std::vector<uint8_t> mask(maskStride * static_cast<size_t>(side), 0);
    // The top row (last in memory) is transparent.
    for (size_t i = 0; i < maskStride; ++i)
        mask[maskStride * static_cast<size_t>(side - 1) + i] = 0xFF;
    std::vector<uint8_t> out = bmp.packed();
    out.insert(out.end(), mask.begin(), mask.end());
    return out;
}

TEST_F(Icons, DibImagesUseTheirMaskOrTheirOwnAlpha)
{
    for (int depth : {4, 8, 24, 32}) {
        SCOPED_TRACE(depth);
        add(RT_ICON, 1, dibIcon(16, depth, false));
        add(RT_GROUP_ICON, 6, groupDirectory({{16, 16, depth, 1}}));
        HICON icon = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(6), IMAGE_ICON, 0, 0, 0));
        ASSERT_NE(icon, nullptr);
        clearScreen(0xABCDEF);
        DrawIcon(dc, 0, 0, icon);
        EXPECT_EQ(at(3, 0), 0xABCDEFu) << "masked out";
        EXPECT_NE(at(3, 1), 0xABCDEFu);
        EXPECT_EQ(at(16, 1), 0xABCDEFu);
        DestroyIcon(icon);
    }
    add(RT_ICON, 1, dibIcon(16, 32, true));
    HICON icon = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(6), IMAGE_ICON, 0, 0, 0));
    ASSERT_NE(icon, nullptr);
    clearScreen(0xABCDEF);
    DrawIcon(dc, 0, 0, icon);
    // Alpha alternates along the rows and wins over the mask.
    EXPECT_NE(at(0, 0), 0xABCDEFu);
    EXPECT_EQ(at(1, 0), 0xABCDEFu);
    DestroyIcon(icon);
}

TEST_F(Icons, MissingIconsAndImagesReportTheResourceError)
{
    EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(99)), nullptr);
    add(RT_GROUP_ICON, 6, groupDirectory({{32, 32, 32, 5}}));
    SetLastError(0);
    EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(6)), nullptr);
    EXPECT_NE(GetLastError(), 0u);
    EXPECT_EQ(LoadImageW(nullptr, MAKEINTRESOURCEW(6), 7, 0, 0, 0), nullptr);
    EXPECT_EQ(LoadImageW(nullptr, MAKEINTRESOURCEW(6), IMAGE_ICON, -1, 0, 0), nullptr);
    EXPECT_EQ(DrawIcon(dc, 0, 0, nullptr), FALSE);
    EXPECT_EQ(DestroyIcon(reinterpret_cast<HICON>(GetStockObject(BLACK_PEN))), FALSE);
}

// Damaged image data under a sound directory: null and ERROR_INVALID_DATA, never a crash.
TEST_F(Icons, DamagedImagesFailCleanly)
{
    std::vector<uint8_t> png = encodePng(32, 32, testPicture(32, 0x2060A0));
    std::vector<std::vector<uint8_t>> damaged;
    for (size_t cut : {size_t{4}, size_t{8}, size_t{20}, size_t{33}, png.size() / 2, png.size() - 13})
        damaged.emplace_back(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(cut));
    std::vector<uint8_t> huge = png; // IHDR width 100000: beyond any icon
    gdi_test::put32(huge, 16, 0xA0860100u);
    damaged.push_back(huge);
    std::vector<uint8_t> garbage = png;
    for (size_t i = 40; i < garbage.size(); ++i)
        garbage[i] = static_cast<uint8_t>(i * 7);
    damaged.push_back(garbage);
    std::vector<uint8_t> dib = dibIcon(16, 8, false);
    damaged.emplace_back(dib.begin(), dib.begin() + 30);             // a cut header
    damaged.emplace_back(dib.begin(), dib.end() - 1);                // the mask one byte short
    std::vector<uint8_t> oddRows = dib;                              // colour and mask rows disagree
    gdi_test::put32(oddRows, 8, 33);
    damaged.push_back(oddRows);
    std::vector<uint8_t> wide = dib;                                 // 30000 x 30000 from a few bytes
    gdi_test::put32(wide, 4, 30000);
    gdi_test::put32(wide, 8, 60000);
    damaged.push_back(wide);
    std::vector<uint8_t> table = dib;                                // 4000 colours for 8 bits
    gdi_test::put32(table, 32, 4000);
    damaged.push_back(table);
    std::vector<uint8_t> depth = dib;
    gdi_test::put16(depth, 14, 3);
    damaged.push_back(depth);
    damaged.push_back({});

    for (size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE(i);
        add(RT_ICON, 1, damaged[i]);
        add(RT_GROUP_ICON, 6, groupDirectory({{32, 32, 32, 1}}));
        SetLastError(0);
        EXPECT_EQ(LoadImageW(nullptr, MAKEINTRESOURCEW(6), IMAGE_ICON, 0, 0, 0), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    }
}

TEST_F(Icons, DamagedDirectoriesFailCleanly)
{
    add(RT_ICON, 1, encodePng(32, 32, testPicture(32, 0x2060A0)));
    std::vector<uint8_t> sound = groupDirectory({{32, 32, 32, 1}});
    std::vector<std::vector<uint8_t>> damaged = {{}, {0, 0, 1}, std::vector<uint8_t>(sound.begin(), sound.end() - 1)};
    std::vector<uint8_t> count = sound;
    gdi_test::put16(count, 4, 60000);
    damaged.push_back(count);
    std::vector<uint8_t> type = sound;
    gdi_test::put16(type, 2, 2); // a cursor directory
    damaged.push_back(type);
    damaged.push_back(groupDirectory({{32, 32, 32, 0}}));
    damaged.push_back(groupDirectory({}));
    for (size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE(i);
        add(RT_GROUP_ICON, 6, damaged[i]);
        SetLastError(0);
        EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(6)), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    }
}

class Bitmaps : public Icons {};

TEST_F(Bitmaps, ABitmapResourceIsDecodedAsTheReferenceDecoderDoes)
{
    if (!gdi_test::haveReferenceDecoder())
        GTEST_SKIP() << "/usr/bin/convert is not installed";
    for (int depth : {1, 4, 8, 24}) {
        SCOPED_TRACE(depth);
        gdi_test::BmpFile bmp = gdi_test::makeBmp(119, 35, depth, false, static_cast<uint32_t>(depth));
        std::vector<uint32_t> expected = gdi_test::decodeWithImageMagick(bmp.file);
        ASSERT_EQ(expected.size(), size_t{119 * 35});
        add(RT_BITMAP, 270, bmp.packed());
        add(RT_BITMAP, 271, bmp.file);
        for (WORD id : {WORD{270}, WORD{271}}) {
            HBITMAP bitmap = LoadBitmapW(nullptr, MAKEINTRESOURCEW(id));
            ASSERT_NE(bitmap, nullptr);
            BITMAP info{};
            GetObject(bitmap, sizeof info, &info);
            EXPECT_EQ(info.bmWidth, 119);
            EXPECT_EQ(info.bmHeight, 35);
            HDC memory = CreateCompatibleDC(dc);
            HGDIOBJ previous = SelectObject(memory, bitmap);
            BitBlt(dc, 0, 0, 119, 35, memory, 0, 0, SRCCOPY);
            for (int y = 0; y < 35; ++y)
                for (int x = 0; x < 119; ++x)
                    ASSERT_EQ(at(x, y), expected[static_cast<size_t>(y * 119 + x)]) << x << "," << y;
            SelectObject(memory, previous);
            DeleteDC(memory);
            DeleteObject(bitmap);
        }
    }
    EXPECT_NE(LoadBitmapA(nullptr, MAKEINTRESOURCEA(270)), nullptr);
    EXPECT_NE(LoadImageW(nullptr, MAKEINTRESOURCEW(271), IMAGE_BITMAP, 0, 0, 0), nullptr);
}

TEST_F(Bitmaps, DamagedBitmapResourcesFailCleanly)
{
    gdi_test::BmpFile bmp = gdi_test::makeBmp(20, 10, 8, false, 3);
    std::vector<uint8_t> packed = bmp.packed();
    std::vector<std::vector<uint8_t>> damaged = {
        {},
        std::vector<uint8_t>(packed.begin(), packed.begin() + 39),   // the header cut
        std::vector<uint8_t>(packed.begin(), packed.begin() + 600),  // the colour table cut
        std::vector<uint8_t>(packed.begin(), packed.end() - 1),      // the rows one byte short
        std::vector<uint8_t>(bmp.file.begin(), bmp.file.begin() + 14)};
    std::vector<uint8_t> table = packed;
    gdi_test::put32(table, 32, 257);
    damaged.push_back(table);
    std::vector<uint8_t> huge = packed;
    gdi_test::put32(huge, 4, 32000);
    gdi_test::put32(huge, 8, 32000);
    damaged.push_back(huge);
    std::vector<uint8_t> negative = packed;
    gdi_test::put32(negative, 4, 0xFFFFFFF0u);
    damaged.push_back(negative);
    std::vector<uint8_t> rle = packed;
    gdi_test::put32(rle, 16, BI_RLE8);
    damaged.push_back(rle);
    std::vector<uint8_t> headerSize = packed;
    gdi_test::put32(headerSize, 0, 0xFFFFFFFFu);
    damaged.push_back(headerSize);
    std::vector<uint8_t> offset = bmp.file;
    gdi_test::put32(offset, 10, 0x7FFFFFFFu);
    damaged.push_back(offset);
    std::vector<uint8_t> intoHeader = bmp.file;
    gdi_test::put32(intoHeader, 10, 20);
    damaged.push_back(intoHeader);
    for (size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE(i);
        add(RT_BITMAP, 270, damaged[i]);
        SetLastError(0);
        EXPECT_EQ(LoadBitmapW(nullptr, MAKEINTRESOURCEW(270)), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    }
}

} // namespace
