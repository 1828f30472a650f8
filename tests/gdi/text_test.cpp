// Fonts and text: measuring agrees with drawing, DrawText's layout flags, code page 1251, and
// screenshots of Cyrillic at the handheld's sizes.
#include "platform/gdi/fonts.h"
#include "platform/gdi/png_writer.h"
#include "platform/gdi/screen.h"
#include "win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Inked area of the screen (pixels that are not white), in screen coordinates.
RECT inkBounds()
{
    const gdi::Framebuffer& fb = gdi::screen();
    RECT r{fb.width, fb.height, -1, -1};
    for (int y = 0; y < fb.height; ++y)
        for (int x = 0; x < fb.width; ++x)
            if (fb.pixels[static_cast<size_t>(y * fb.width + x)] != 0xFFFFFF) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1);
                r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
    return r;
}

class Text : public testing::Test {
protected:
    void SetUp() override
    {
        gdi::resizeScreen(240, 320);
        dc = gdi::createWindowDC(0, 0, {{0, 0, 240, 320}});
        font = CreateFontW(-11, 0, 0, 30, FW_NORMAL, 0, 0, 0, RUSSIAN_CHARSET, 0, 0, 0, 0, u"");
        previous = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
    }
    void TearDown() override
    {
        SelectObject(dc, previous);
        DeleteObject(font);
        gdi::releaseWindowDC(dc);
    }
    HDC dc = nullptr;
    HFONT font = nullptr;
    HGDIOBJ previous = nullptr;
};

TEST_F(Text, MetricsFollowTheCharacterHeight)
{
    TEXTMETRICW tm{};
    ASSERT_TRUE(GetTextMetricsW(dc, &tm));
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 11);
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_EQ(tm.tmWeight, FW_NORMAL);
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32W(dc, u"Рубрики", 7, &size));
    EXPECT_EQ(size.cy, tm.tmHeight);
    EXPECT_GT(size.cx, 7 * 4);
    EXPECT_LT(size.cx, 7 * 10);

    HFONT bold = CreateFontW(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, RUSSIAN_CHARSET, 0, 0, 0, 0, u"Tahoma");
    HGDIOBJ normal = SelectObject(dc, bold);
    SIZE boldSize{};
    GetTextExtentPoint32W(dc, u"Рубрики", 7, &boldSize);
    EXPECT_GT(boldSize.cx, size.cx);
    GetTextMetricsW(dc, &tm);
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
    SelectObject(dc, normal);
    DeleteObject(bold);
}

// Anti-aliased fringes may spill one pixel past a glyph's advance, as they do on the platform;
// anything more is a layout that disagrees with its measure.
constexpr int fringe = 1;

TEST_F(Text, TextIsDrawnWhereItIsMeasured)
{
    gdi::resizeScreen(240, 320);
    SIZE size{};
    GetTextExtentPoint32W(dc, u"Телефон", 7, &size);
    ExtTextOutW(dc, 20, 40, 0, nullptr, u"Телефон", 7, nullptr);
    RECT ink = inkBounds();
    EXPECT_GE(ink.left, 20 - fringe);
    EXPECT_LE(ink.right, 20 + size.cx + fringe);
    EXPECT_GE(ink.right, 20 + size.cx - 3);
    EXPECT_GE(ink.top, 40);
    EXPECT_LE(ink.bottom, 40 + size.cy);
}

// Rows of the screen between top and bottom that hold ink, counted as separate bands.
int inkBands(int top, int bottom)
{
    const gdi::Framebuffer& fb = gdi::screen();
    int bands = 0;
    bool previous = false;
    for (int y = top; y < bottom; ++y) {
        bool inked = false;
        for (int x = 0; x < fb.width && !inked; ++x)
            inked = fb.pixels[static_cast<size_t>(y * fb.width + x)] != 0xFFFFFF;
        if (inked && !previous)
            ++bands;
        previous = inked;
    }
    return bands;
}

TEST_F(Text, CalcRectWithWordBreakMeasuresWhatIsThenDrawn)
{
    const char16_t* text = u"Добавить в избранное рубрику 'Автосервис и ремонт автомобилей'?";
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    for (UINT align : {UINT{DT_LEFT}, UINT{DT_CENTER}, UINT{DT_RIGHT}}) {
        SCOPED_TRACE(align);
        RECT measured{10, 10, 130, 10};
        int height = DrawTextW(dc, text, -1, &measured, DT_CALCRECT | DT_WORDBREAK | align);
        EXPECT_EQ(height, measured.bottom - measured.top);
        EXPECT_GE(height, 3 * tm.tmHeight) << "the text needs several lines at 120 pixels";
        EXPECT_EQ(height % tm.tmHeight, 0);
        EXPECT_LE(measured.right, 130);
        EXPECT_GT(measured.right, 100) << "the widest line fills most of the width";

        // Drawn into what was measured, the text breaks the same way: as many lines, all inside.
        gdi::resizeScreen(240, 320);
        RECT box = measured;
        EXPECT_EQ(DrawTextW(dc, text, -1, &box, DT_WORDBREAK | DT_NOCLIP | align), height);
        RECT ink = inkBounds();
        EXPECT_GE(ink.left, measured.left - fringe);
        EXPECT_LE(ink.right, measured.right + fringe);
        EXPECT_GE(ink.top, measured.top);
        EXPECT_LE(ink.bottom, measured.bottom);
        EXPECT_EQ(inkBands(measured.top, measured.bottom), height / tm.tmHeight);
    }
}

TEST_F(Text, AWordWiderThanTheLineStandsAloneAndWidensTheMeasure)
{
    RECT measured{0, 0, 30, 0};
    int height = DrawTextW(dc, u"Ок Автомобилестроение да", -1, &measured, DT_CALCRECT | DT_WORDBREAK);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SIZE word{};
    GetTextExtentPoint32W(dc, u"Автомобилестроение", 18, &word);
    EXPECT_EQ(height, 3 * tm.tmHeight);
    EXPECT_EQ(measured.right, word.cx);
}

TEST_F(Text, ClippedToTheRectangleUnlessNoClip)
{
    RECT r{20, 20, 60, 30};
    DrawTextW(dc, u"Санкт-Петербург и Ленинградская область", -1, &r, DT_SINGLELINE);
    RECT ink = inkBounds();
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.right, 60);
    EXPECT_LE(ink.bottom, 30);
    gdi::resizeScreen(240, 320);
    DrawTextW(dc, u"Санкт-Петербург и Ленинградская область", -1, &r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(inkBounds().right, 100);
}

TEST_F(Text, SingleLineIsCentredBothWays)
{
    RECT r{0, 0, 200, 40};
    DrawTextW(dc, u"Москва", -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    RECT ink = inkBounds();
    EXPECT_NEAR((ink.left + ink.right) / 2, 100, 2);
    EXPECT_NEAR((ink.top + ink.bottom) / 2, 20, 3);
    gdi::resizeScreen(240, 320);
    DrawTextW(dc, u"Москва", -1, &r, DT_SINGLELINE | DT_RIGHT);
    EXPECT_LE(inkBounds().right, 200);
    EXPECT_GE(inkBounds().right, 197);
}

// Placed down its box, a line answers the offset of its bottom from the box's top, not its
// height (the reference, Tahoma -11 in 10,10-190,90: centred 47, at the bottom 80; at the top 13).
TEST_F(Text, ALinePlacedDownItsBoxAnswersWhereItsBottomIs)
{
    RECT r{10, 10, 190, 90};
    EXPECT_EQ(DrawTextW(dc, u"Центр", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE), 47);
    EXPECT_EQ(DrawTextW(dc, u"Справа", -1, &r, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE), 80);
    EXPECT_EQ(DrawTextW(dc, u"Слева", -1, &r, DT_LEFT | DT_SINGLELINE), 13);
}

TEST_F(Text, EndEllipsisKeepsTheLineInsideItsRectangle)
{
    RECT r{0, 0, 60, 20};
    RECT measured = r;
    DrawTextW(dc, u"Санкт-Петербург и Ленинградская область", -1, &measured,
              DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_LE(measured.right, 60);
    DrawTextW(dc, u"Санкт-Петербург и Ленинградская область", -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    EXPECT_LE(inkBounds().right, 60);
}

TEST_F(Text, PrefixesUnderlineOneCharacterAndDoubleAmpersandsShowOne)
{
    RECT plain{0, 0, 200, 20}, prefixed{0, 0, 200, 20}, literal{0, 0, 200, 20};
    DrawTextW(dc, u"Файл", -1, &plain, DT_CALCRECT);
    DrawTextW(dc, u"&Файл", -1, &prefixed, DT_CALCRECT);
    DrawTextW(dc, u"&Файл", -1, &literal, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(plain.right, prefixed.right);
    EXPECT_GT(literal.right, plain.right);
    RECT both{0, 0, 200, 20};
    DrawTextW(dc, u"A&&B", -1, &both, DT_CALCRECT);
    RECT amp{0, 0, 200, 20};
    DrawTextW(dc, u"A&B", -1, &amp, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(both.right, amp.right);

    // The prefixed character gets a line below the baseline that the plain text lacks.
    RECT r{0, 0, 200, 20};
    DrawTextW(dc, u"Файл", -1, &r, 0);
    RECT withoutLine = inkBounds();
    gdi::resizeScreen(240, 320);
    DrawTextW(dc, u"&Файл", -1, &r, 0);
    RECT withLine = inkBounds();
    EXPECT_GT(withLine.bottom, withoutLine.bottom);
}

// Both colours of a context are set alike but kept apart: each answers its own previous value
// and keeps only the RGB bytes.
TEST_F(Text, TextAndBackgroundColoursAnswerTheirPreviousValueAndKeepOnlyRgb)
{
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    EXPECT_EQ(SetTextColor(dc, 0x01102030), RGB(1, 2, 3));
    EXPECT_EQ(SetBkColor(dc, 0x02405060), RGB(4, 5, 6));
    EXPECT_EQ(GetTextColor(dc), 0x00102030u);
    EXPECT_EQ(GetBkColor(dc), 0x00405060u);
    EXPECT_EQ(GetTextColor(nullptr), CLR_INVALID);
    EXPECT_EQ(SetBkColor(nullptr, 0), CLR_INVALID);
}

TEST_F(Text, AnsiTextIsCodePage1251)
{
    RECT wide{0, 0, 200, 20}, ansi{0, 0, 200, 20};
    DrawTextW(dc, u"Далее", -1, &wide, DT_CALCRECT);
    DrawTextA(dc, "\xC4\xE0\xEB\xE5\xE5", -1, &ansi, DT_CALCRECT);
    EXPECT_EQ(wide.right, ansi.right);
    SIZE a{}, w{};
    GetTextExtentPoint32A(dc, "\xC4\xE0\xEB\xE5\xE5", 5, &a);
    GetTextExtentPoint32W(dc, u"Далее", 5, &w);
    EXPECT_EQ(a.cx, w.cx);
}

TEST_F(Text, AnsiFontNamesAreCodePage1251AndEveryNameIsTheSameFamily)
{
    HFONT ansi = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 1, 1, 0, RUSSIAN_CHARSET, 0, 0, 0, 0, "\xD8\xF0\xE8\xF4\xF2");
    ASSERT_NE(ansi, nullptr);
    LOGFONTW lf{};
    ASSERT_EQ(GetObject(ansi, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(std::u16string(lf.lfFaceName), u"Шрифт");
    EXPECT_EQ(lf.lfItalic, 1);
    HGDIOBJ normal = SelectObject(dc, ansi);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    EXPECT_EQ(tm.tmItalic, 1);
    EXPECT_EQ(tm.tmUnderlined, 1);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 12);
    SelectObject(dc, normal);
    DeleteObject(ansi);
}

// A point size at the device's resolution, as the programs ask for it.
LONG pointsToHeight(HDC dc, int points) { return -((points * GetDeviceCaps(dc, LOGPIXELSY) + 36) / 72); }

// Renders the sizes the screens use; the file is kept for looking at (GDI_SCREENSHOTS names the
// folder; the test's temporary folder otherwise).
TEST(Screenshots, CyrillicAtEightAndNinePoints)
{
    gdi::resizeScreen(240, 320);
    HDC dc = gdi::createWindowDC(0, 0, {{0, 0, 240, 320}});
    EXPECT_EQ(pointsToHeight(dc, 8), -11);
    EXPECT_EQ(pointsToHeight(dc, 9), -12);
    SetBkMode(dc, TRANSPARENT);
    const char16_t* lines[] = {u"Справочник фирм Санкт-Петербурга", u"Рубрики · Поиск · Избранное",
                               u"ул. Малая Садовая, д. 3", u"Часы работы: 9:00–21:00", u"ЁЖИК съел щавель, Юля — фыр"};
    int y = 2;
    for (int points : {8, 9})
        for (int weight : {FW_NORMAL, FW_BOLD}) {
            HFONT font =
                CreateFontW(pointsToHeight(dc, points), 0, 0, 0, weight, 0, 0, 0, RUSSIAN_CHARSET, 0, 0, 0, 0, u"Tahoma");
            HGDIOBJ previous = SelectObject(dc, font);
            for (const char16_t* line : lines) {
                RECT r{4, y, 236, y + 20};
                y += DrawTextW(dc, line, -1, &r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
            }
            y += 3;
            SelectObject(dc, previous);
            DeleteObject(font);
        }
    RECT band{0, y, 240, 320};
    TRIVERTEX v[2] = {{0, y, 8 << 8, 111 << 8, 184 << 8, 0}, {240, 320, 11 << 8, 82 << 8, 131 << 8, 0}};
    GRADIENT_RECT mesh{0, 1};
    GradientFill(dc, v, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
    HFONT tile = CreateFontW(pointsToHeight(dc, 8), 0, 0, 0, FW_BOLD, 0, 0, 0, RUSSIAN_CHARSET, 0, 0, 0, 0, u"");
    HGDIOBJ previous = SelectObject(dc, tile);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextW(dc, u"Поиск по телефону и названию фирмы", -1, &band, DT_CENTER | DT_WORDBREAK);
    SelectObject(dc, previous);
    DeleteObject(tile);
    gdi::releaseWindowDC(dc);

    const char* folder = std::getenv("GDI_SCREENSHOTS");
    std::string path = (folder != nullptr ? std::string(folder) + "/" : testing::TempDir()) + "cyrillic.png";
    EXPECT_TRUE(gdi::savePng(gdi::screen(), path)) << path;
    EXPECT_FALSE(gdi::savePng(gdi::screen(), "/nonexistent-folder/x.png"));
}

// A page may ask for thousands of characters in dozens of sizes: the glyph caches keep to their
// budget, and what was measured and drawn before they were emptied comes out the same after.
TEST_F(Text, GlyphCachesKeepToTheirBudgetAndGiveTheSameGlyphsAgain)
{
    const std::u16string sample = u"Рубрики Ёж xyz";
    auto drawSample = [&] {
        RECT all{0, 0, 240, 320};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        TextOutW(dc, 3, 5, sample.data(), static_cast<int>(sample.size()));
        return gdi::screen().pixels;
    };
    SIZE before{};
    ASSERT_TRUE(GetTextExtentPoint32W(dc, sample.data(), static_cast<int>(sample.size()), &before));
    const auto drawnBefore = drawSample();

    std::u16string letters;
    for (char16_t c = 0x41; c < 0x180; ++c)
        letters += c;
    for (char16_t c = 0x410; c < 0x450; ++c)
        letters += c;
    size_t largest = 0;
    for (int pixels = 60; pixels <= 96; ++pixels) {
        HFONT big = CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, 0, 0, 0, RUSSIAN_CHARSET, 0, 0, 0, 0, u"");
        HGDIOBJ old = SelectObject(dc, big);
        SIZE size{};
        ASSERT_TRUE(GetTextExtentPoint32W(dc, letters.data(), static_cast<int>(letters.size()), &size));
        largest = std::max(largest, gdi::glyphCacheBytes());
        SelectObject(dc, old);
        DeleteObject(big);
    }
    // Over the budget by one glyph at most (none here is larger than 96 x 96).
    EXPECT_LE(largest, gdi::glyphCacheBudget + 96 * 96 + gdi::glyphBookkeeping);
    EXPECT_GT(largest, gdi::glyphCacheBudget / 2) << "the sizes above should have filled the caches";

    SIZE after{};
    ASSERT_TRUE(GetTextExtentPoint32W(dc, sample.data(), static_cast<int>(sample.size()), &after));
    EXPECT_EQ(after.cx, before.cx);
    EXPECT_EQ(after.cy, before.cy);
    EXPECT_TRUE(drawSample() == drawnBefore);
}

// Each size and style opens a face of its own; past the limit the oldest is closed, and a size
// asked for again is opened again and measures and draws as it did.
TEST_F(Text, FacesPastTheLimitAreClosedAndOpenAgainAlike)
{
    const std::u16string sample = u"Рубрики Ёж xyz";
    auto measureAndDraw = [&](int pixels, SIZE& size) {
        HFONT made = CreateFontW(-pixels, 0, 0, 0, FW_BOLD, TRUE, 0, 0, RUSSIAN_CHARSET, 0, 0, 0, 0, u"");
        HGDIOBJ old = SelectObject(dc, made);
        RECT all{0, 0, 240, 320};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        EXPECT_TRUE(GetTextExtentPoint32W(dc, sample.data(), static_cast<int>(sample.size()), &size));
        TextOutW(dc, 3, 5, sample.data(), static_cast<int>(sample.size()));
        SelectObject(dc, old);
        DeleteObject(made);
        return gdi::screen().pixels;
    };
    SIZE first{};
    const auto drawnFirst = measureAndDraw(13, first);
    for (int pixels = 14; pixels < 14 + static_cast<int>(gdi::maxOpenFaces) + 20; ++pixels) {
        SIZE size{};
        measureAndDraw(pixels, size);
        EXPECT_LE(gdi::openFaceCount(), gdi::maxOpenFaces);
    }
    SIZE again{};
    EXPECT_TRUE(measureAndDraw(13, again) == drawnFirst);
    EXPECT_EQ(again.cx, first.cx);
    EXPECT_EQ(again.cy, first.cy);
}

} // namespace
