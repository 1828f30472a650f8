// DIB sections of every depth, drawn to the screen, against what ImageMagick decodes from the
// same bitmap file.
#include "platform/gdi/screen.h"
#include "win32.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int width = 13; // odd, so that rows of every depth need padding
constexpr int height = 7;

struct BmpFile {
    std::vector<uint8_t> info; // header, masks, colour table
    std::vector<uint8_t> bits;
    std::vector<uint8_t> file;
};

void put16(std::vector<uint8_t>& v, size_t at, uint32_t x)
{
    v[at] = static_cast<uint8_t>(x);
    v[at + 1] = static_cast<uint8_t>(x >> 8);
}
void put32(std::vector<uint8_t>& v, size_t at, uint32_t x)
{
    put16(v, at, x);
    put16(v, at + 2, x >> 16);
}

// A bitmap file of random pixels with a random colour table.
BmpFile makeBmp(int depth, bool topDown, uint32_t seed)
{
    std::mt19937 random(seed);
    BmpFile bmp;
    size_t colours = depth <= 8 ? (size_t{1} << depth) : 0;
    bmp.info.assign(40 + 4 * colours, 0);
    put32(bmp.info, 0, 40);
    put32(bmp.info, 4, width);
    put32(bmp.info, 8, static_cast<uint32_t>(topDown ? -height : height));
    put16(bmp.info, 12, 1);
    put16(bmp.info, 14, static_cast<uint32_t>(depth));
    for (size_t i = 0; i < colours; ++i) {
        bmp.info[40 + 4 * i] = static_cast<uint8_t>(random());
        bmp.info[41 + 4 * i] = static_cast<uint8_t>(random());
        bmp.info[42 + 4 * i] = static_cast<uint8_t>(random());
    }
    size_t stride = (static_cast<size_t>(width) * static_cast<size_t>(depth) + 31) / 32 * 4;
    bmp.bits.assign(stride * height, 0);
    for (size_t row = 0; row < static_cast<size_t>(height); ++row)
        for (size_t i = 0; i < (static_cast<size_t>(width) * static_cast<size_t>(depth) + 7) / 8; ++i)
            bmp.bits[row * stride + i] = static_cast<uint8_t>(random());
    if (depth == 16) // the top bit of a 5-5-5 pixel is unused
        for (size_t i = 1; i < bmp.bits.size(); i += 2)
            bmp.bits[i] &= 0x7F;
    if (depth == 32)
        for (size_t i = 3; i < bmp.bits.size(); i += 4)
            bmp.bits[i] = 0;
    bmp.file.assign(14, 0);
    bmp.file[0] = 'B';
    bmp.file[1] = 'M';
    put32(bmp.file, 2, static_cast<uint32_t>(14 + bmp.info.size() + bmp.bits.size()));
    put32(bmp.file, 10, static_cast<uint32_t>(14 + bmp.info.size()));
    bmp.file.insert(bmp.file.end(), bmp.info.begin(), bmp.info.end());
    bmp.file.insert(bmp.file.end(), bmp.bits.begin(), bmp.bits.end());
    return bmp;
}

// The reference decoder's pixels, 0x00RRGGBB, top row first.
std::vector<uint32_t> decodeWithImageMagick(const std::vector<uint8_t>& file)
{
    std::string path = testing::TempDir() + "gdi_dib_" + std::to_string(::getpid()) + ".bmp";
    FILE* out = std::fopen(path.c_str(), "wb");
    EXPECT_NE(out, nullptr);
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
    std::string command = "/usr/bin/convert BMP:" + path + " -alpha off -depth 8 RGB:-";
    FILE* pipe = popen(command.c_str(), "r");
    std::vector<uint32_t> pixels;
    uint8_t rgb[3];
    while (pipe != nullptr && std::fread(rgb, 1, 3, pipe) == 3)
        pixels.push_back(static_cast<uint32_t>(rgb[0] << 16 | rgb[1] << 8 | rgb[2]));
    if (pipe != nullptr)
        pclose(pipe);
    std::remove(path.c_str());
    return pixels;
}

HDC screenDC() { return gdi::createWindowDC(0, 0, {{0, 0, 240, 320}}); }

struct DibCase {
    int depth;
    bool topDown;
};

class DibSection : public testing::TestWithParam<DibCase> {};

TEST_P(DibSection, DrawsWhatTheReferenceDecoderDecodes)
{
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

} // namespace
