// Code page 1251, the telephone index rule and the picture check.
#include <gtest/gtest.h>

#include "tools/ydb/source/bitmap_check.h"
#include "tools/ydb/source/cp1251.h"
#include "tools/ydb/source/phone_index.h"

namespace {

TEST(Cp1251, RoundTripsEveryAssignedByte) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b != 0x98) all += static_cast<char>(b);
    std::string back;
    ASSERT_TRUE(utf8ToCp1251(cp1251ToUtf8(all), back));
    EXPECT_EQ(back, all);
}

TEST(Cp1251, RefusesWhatItCannotHold) {
    std::string out, bad;
    EXPECT_FALSE(utf8ToCp1251("a\xE2\x98\x83", out, &bad));
    EXPECT_EQ(bad, "U+2603");
    EXPECT_FALSE(utf8ToCp1251("\xD0", out, &bad));  // cut sequence
    EXPECT_EQ(bad, "invalid UTF-8");
    EXPECT_FALSE(utf8ToCp1251("\xC0\x80", out, &bad));  // overlong
    EXPECT_FALSE(utf8ToCp1251("\xED\xA0\x80", out, &bad));  // surrogate
    EXPECT_TRUE(utf8ToCp1251("Ё«»№", out));
    EXPECT_EQ(out, "\xA8\xAB\xBB\xB9");
}

std::vector<uint32_t> numbers(std::initializer_list<const char*> phones) {
    std::vector<uint32_t> out;
    for (const char* p : phones) {
        std::string text;
        utf8ToCp1251(p, text);
        phoneIndexNumbers(text, out);
    }
    return out;
}

TEST(PhoneIndex, WholeNumbersAndLocalParts) {
    EXPECT_EQ(numbers({"325-12-12"}), (std::vector<uint32_t>{3251212}));
    EXPECT_EQ(numbers({"(812) 325-12-12"}), (std::vector<uint32_t>{3251212}));  // 10 digits: local part only
    EXPECT_EQ(numbers({"(81370) 2-12-12"}), (std::vector<uint32_t>{21212}));
    EXPECT_EQ(numbers({"8-921-123-45-67"}), (std::vector<uint32_t>{1234567}));
    EXPECT_EQ(numbers({"325-12-12 ф"}), (std::vector<uint32_t>{3251212}));
    EXPECT_EQ(numbers({"325-12-12 доб. 45"}), (std::vector<uint32_t>{3251212}));
    EXPECT_EQ(numbers({"325-12-12", "(812) 325-12-12", "325-12-13"}), (std::vector<uint32_t>{3251212, 3251213}));
    EXPECT_EQ(numbers({"01", "", "ф"}), (std::vector<uint32_t>{}));
    EXPECT_EQ(numbers({"112"}), (std::vector<uint32_t>{112}));
}

std::string bitmap(int width, int height, int bpp, int paletteColours, size_t pixelBytes) {
    std::string s(54 + 4 * paletteColours + pixelBytes, '\0');
    auto put = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
    };
    s[0] = 'B', s[1] = 'M';
    put(10, 54 + 4 * paletteColours, 4);
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(width), 4);
    put(22, static_cast<uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, static_cast<uint32_t>(bpp), 2);
    put(46, static_cast<uint32_t>(paletteColours), 4);
    return s;
}

TEST(BitmapCheck, AcceptsPaddedRowsAndFixesTheSize) {
    std::string b = bitmap(3, 2, 8, 256, 8);  // 3 pixels a row, padded to 4 bytes
    std::string why;
    ASSERT_TRUE(checkBitmap(b, why)) << why;
    EXPECT_EQ(static_cast<unsigned char>(b[2]) | static_cast<unsigned char>(b[3]) << 8, 54 + 1024 + 8);
    std::string top = bitmap(2, -2, 24, 0, 16);
    EXPECT_TRUE(checkBitmap(top, why)) << why;
}

TEST(BitmapCheck, RefusesWhatTheHandheldCannotLoad) {
    std::string why;
    std::string shortRows = bitmap(3, 2, 8, 256, 7);
    EXPECT_FALSE(checkBitmap(shortRows, why));
    std::string compressed = bitmap(2, 2, 24, 0, 16);
    compressed[30] = 1;
    EXPECT_FALSE(checkBitmap(compressed, why));
    std::string depth = bitmap(2, 2, 7, 0, 16);
    EXPECT_FALSE(checkBitmap(depth, why));
    std::string wide = bitmap(40000, 1, 1, 2, 5000);
    EXPECT_FALSE(checkBitmap(wide, why));
    std::string palette = bitmap(2, 2, 4, 17, 8);
    EXPECT_FALSE(checkBitmap(palette, why));
}

} // namespace
