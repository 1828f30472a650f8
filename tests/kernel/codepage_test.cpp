#include "win32.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The reference mapping of the host's iconv for every byte it accepts (all but 0x98).
std::vector<char16_t> iconvTable(std::vector<unsigned char>& bytes) {
    for (int b = 0; b < 256; ++b)
        if (b != 0x98) bytes.push_back(static_cast<unsigned char>(b));
    const auto folder = std::filesystem::temp_directory_path();
    const auto in = folder / ("cp1251-in-" + std::to_string(getpid()));
    const auto out = folder / ("cp1251-out-" + std::to_string(getpid()));
    std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
    const std::string command = "iconv -f CP1251 -t UTF-16LE '" + in.string() + "' > '" + out.string() + "'";
    const int status = std::system(command.c_str());
    std::ifstream result(out, std::ios::binary);
    const std::string raw{std::istreambuf_iterator<char>(result), std::istreambuf_iterator<char>()};
    std::filesystem::remove(in);
    std::filesystem::remove(out);
    std::vector<char16_t> units;
    if (status != 0) return units;
    for (size_t i = 0; i + 1 < raw.size(); i += 2)
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(raw[i]) |
                                              static_cast<unsigned char>(raw[i + 1]) << 8));
    return units;
}

std::u16string toWide(UINT codePage, const std::string& bytes, DWORD flags = 0) {
    const int n = MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::u16string out(static_cast<size_t>(n > 0 ? n : 0), u'\0');
    if (n > 0) MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

std::string toBytes(UINT codePage, const std::u16string& text) {
    const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

TEST(CodePage1251, EveryByteMatchesIconvAndRoundTrips) {
    std::vector<unsigned char> bytes;
    const std::vector<char16_t> expected = iconvTable(bytes);
    ASSERT_EQ(expected.size(), bytes.size()) << "iconv did not convert the table";
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char in = static_cast<char>(bytes[i]);
        WCHAR unit = 0;
        ASSERT_EQ(MultiByteToWideChar(1251, 0, &in, 1, &unit, 1), 1);
        EXPECT_EQ(unit, expected[i]) << "byte " << int(bytes[i]);
        char back = 0;
        BOOL usedDefault = TRUE;
        ASSERT_EQ(WideCharToMultiByte(1251, 0, &unit, 1, &back, 1, nullptr, &usedDefault), 1);
        EXPECT_EQ(static_cast<unsigned char>(back), bytes[i]);
        EXPECT_FALSE(usedDefault);
    }
}

TEST(CodePage1251, UnassignedByteMapsToC1ControlAndBack) {
    const char in = static_cast<char>(0x98);
    WCHAR unit = 0;
    ASSERT_EQ(MultiByteToWideChar(1251, MB_ERR_INVALID_CHARS, &in, 1, &unit, 1), 1);
    EXPECT_EQ(unit, 0x0098);
    EXPECT_EQ(toBytes(1251, u"\u0098"), "\x98");
}

TEST(CodePage1251, AnsiCodePageIs1251) {
    EXPECT_EQ(GetACP(), 1251u);
    EXPECT_EQ(toWide(CP_ACP, "\xCF\xF0\xE8\xE2\xE5\xF2"), u"Привет");
    EXPECT_EQ(toBytes(CP_ACP, u"ЁжЪ№"), "\xA8\xE6\xDA\xB9");
}

TEST(CodePage1251, UnmappableCharactersBecomeTheDefaultCharacter) {
    const std::u16string text = u"a\u00E9\u4E2Db";
    char out[8] = {};
    BOOL usedDefault = FALSE;
    ASSERT_EQ(WideCharToMultiByte(1251, 0, text.data(), 4, out, 8, nullptr, &usedDefault), 4);
    EXPECT_EQ(std::string(out, 4), "a??b");
    EXPECT_TRUE(usedDefault);
    ASSERT_EQ(WideCharToMultiByte(1251, 0, text.data(), 4, out, 8, "#", &usedDefault), 4);
    EXPECT_EQ(std::string(out, 4), "a##b");
}

TEST(CodePageLengths, MinusOneCountsTheTerminator) {
    WCHAR wide[8];
    EXPECT_EQ(MultiByteToWideChar(1251, 0, "\xC0\xC1", -1, nullptr, 0), 3);
    ASSERT_EQ(MultiByteToWideChar(1251, 0, "\xC0\xC1", -1, wide, 8), 3);
    EXPECT_EQ(std::u16string(wide), u"АБ");
    char narrow[8];
    EXPECT_EQ(WideCharToMultiByte(1251, 0, u"АБ", -1, nullptr, 0, nullptr, nullptr), 3);
    ASSERT_EQ(WideCharToMultiByte(1251, 0, u"АБ", -1, narrow, 8, nullptr, nullptr), 3);
    EXPECT_STREQ(narrow, "\xC0\xC1");
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"Я", -1, nullptr, 0, nullptr, nullptr), 3);
}

TEST(CodePageLengths, SmallBufferIsFilledThenRefused) {
    WCHAR wide[3] = {u'x', u'x', u'x'};
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(1251, 0, "\xC0\xC1\xC2\xC3", -1, wide, 3), 0);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER});
    EXPECT_EQ(std::u16string(wide, 3), u"АБВ");

    char narrow[2];
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(1251, 0, u"АБВ", 3, narrow, 2, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER});

    // UTF-8 is cut between characters, never inside one.
    char utf8[5] = {'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"ЖЖЖ", 3, utf8, 5, nullptr, nullptr), 0);
    EXPECT_EQ(std::string(utf8, 4), "ЖЖ");
    EXPECT_EQ(utf8[4], 'x');
}

TEST(CodePageLengths, InvalidArgumentsAreRefused) {
    WCHAR wide[4];
    char narrow[4];
    const int results[] = {
        MultiByteToWideChar(1251, 0, "abc", 0, wide, 4),
        MultiByteToWideChar(1251, 0, "abc", -2, wide, 4),
        MultiByteToWideChar(1251, 0, nullptr, 3, wide, 4),
        MultiByteToWideChar(1251, 0, "abc", 3, nullptr, 4),
        MultiByteToWideChar(1251, 0, "abc", 3, wide, -1),
        MultiByteToWideChar(437, 0, "abc", 3, wide, 4),
        WideCharToMultiByte(1251, 0, u"abc", 0, narrow, 4, nullptr, nullptr),
        WideCharToMultiByte(CP_UTF8, 0, u"abc", 3, narrow, 4, "?", nullptr),
    };
    for (int result : results) EXPECT_EQ(result, 0);
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "abc", 3, wide, 4), 0);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_FLAGS});
}

TEST(CodePageUtf8, RoundTripsAllPlanes) {
    const std::u16string text = u"Санкт-Петербург \U0001F600 №5";
    const std::string bytes = toBytes(CP_UTF8, text);
    EXPECT_EQ(bytes, "Санкт-Петербург \xF0\x9F\x98\x80 №5");
    EXPECT_EQ(toWide(CP_UTF8, bytes), text);
}

TEST(CodePageUtf8, MalformedInputIsReplacedOrRefused) {
    EXPECT_EQ(toWide(CP_UTF8, "a\xC3(b"), u"a\uFFFD(b");
    EXPECT_EQ(toWide(CP_UTF8, "\xE0\x80\x80z"), u"\uFFFDz");  // overlong
    EXPECT_EQ(toWide(CP_UTF8, "\xED\xA0\x80"), u"\uFFFD");   // encoded surrogate
    EXPECT_EQ(toWide(CP_UTF8, "\xF0\x9F"), u"\uFFFD");       // cut short
    WCHAR wide[8];
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFF", 2, wide, 8), 0);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_NO_UNICODE_TRANSLATION});

    const std::u16string lone = u"x\xD800y";
    EXPECT_EQ(toBytes(CP_UTF8, lone), "x\xEF\xBF\xBDy");
    char narrow[8];
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone.data(), 3, narrow, 8, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_NO_UNICODE_TRANSLATION});
}

}  // namespace

namespace {

// The other direction over the whole basic plane: exactly the 256 units of the code page have a
// byte, and each gives back its own; every other unit is the default character.
TEST(CodePage1251, OnlyTheCodePagesUnitsHaveBytes) {
    std::vector<char16_t> units(256);
    for (int b = 0; b < 256; ++b) {
        const char in = static_cast<char>(b);
        ASSERT_EQ(MultiByteToWideChar(1251, 0, &in, 1, &units[static_cast<size_t>(b)], 1), 1);
    }
    int mapped = 0;
    for (uint32_t u = 0; u < 0x10000; ++u) {
        const auto unit = static_cast<WCHAR>(u);
        char out = 0;
        BOOL usedDefault = FALSE;
        ASSERT_EQ(WideCharToMultiByte(1251, 0, &unit, 1, &out, 1, "\x01", &usedDefault), 1);
        if (usedDefault) {
            EXPECT_EQ(out, '\x01');
            continue;
        }
        ++mapped;
        EXPECT_EQ(units[static_cast<unsigned char>(out)], unit) << std::hex << u;
    }
    EXPECT_EQ(mapped, 256);
}

}  // namespace
