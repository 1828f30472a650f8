// The faces' figures as a reference Win32 gives them (Tahoma at 96 dots per inch, code page 1251,
// measured once): a change of face, of hinting or of rounding shows here first.
#include "platform/gdi/faces.h"
#include "platform/gdi/screen.h"
#include "win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Reference {
    int height;
    bool bold;
    int tmHeight;
    int tmAscent;
    int tmInternalLeading;
    int tmAveCharWidth;
    int widths[3];
};

// The three texts every row measures: a home tile, a heading and a firm's name.
const char16_t* const measuredTexts[3] = {u"Необходимые телефоны", u"Справочник организаций",
                                          u"Alfa Group & партнёры"};

const Reference tahomaRows[] = {
    {-11, false, 13, 11, 2, 7, {133, 138, 121}}, {-10, false, 12, 10, 2, 6, {117, 116, 105}},
    {-12, false, 14, 12, 2, 7, {142, 148, 131}}, {-13, false, 16, 13, 3, 8, {157, 154, 141}},
    {-11, true, 13, 11, 2, 8, {150, 156, 135}},  {-10, true, 12, 10, 2, 7, {132, 132, 116}},
    {-12, true, 14, 12, 2, 8, {164, 165, 147}},  {-13, true, 16, 13, 3, 9, {169, 172, 157}},
};

// The launcher's sentence box is 366 pixels wide.
constexpr int sentenceWidth = 366;

class FaceMetrics : public testing::Test {
protected:
    void SetUp() override
    {
        gdi::setDeviceLook(gdi::DeviceLook::handheld);
        dc = CreateCompatibleDC(nullptr);
        ASSERT_NE(dc, nullptr);
    }
    void TearDown() override
    {
        DeleteDC(dc);
        gdi::setDeviceLook(gdi::DeviceLook::handheld);
    }

    TEXTMETRICW metricsOf(HFONT font)
    {
        HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICW tm{};
        EXPECT_TRUE(GetTextMetricsW(dc, &tm));
        SelectObject(dc, old);
        return tm;
    }

    int extentOf(HFONT font, const char16_t* text)
    {
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size{};
        GetTextExtentPoint32W(dc, text, static_cast<int>(std::char_traits<char16_t>::length(text)), &size);
        SelectObject(dc, old);
        return static_cast<int>(size.cx);
    }

    HDC dc = nullptr;
};

HFONT makeFont(int height, bool bold, const char16_t* face)
{
    return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, 0, 0, 0,
                       0, face);
}

TEST_F(FaceMetrics, TahomaGivesTheReferenceFiguresOnBothMachinesAndInBothCharacterSets)
{
    for (gdi::DeviceLook look : {gdi::DeviceLook::handheld, gdi::DeviceLook::desktop}) {
        gdi::setDeviceLook(look);
        for (const Reference& row : tahomaRows) {
            SCOPED_TRACE(testing::Message() << "height " << row.height << (row.bold ? " bold" : " regular")
                                            << (look == gdi::DeviceLook::desktop ? " desktop" : " handheld"));
            HFONT font = makeFont(row.height, row.bold, u"Tahoma");
            ASSERT_NE(font, nullptr);
            const TEXTMETRICW tm = metricsOf(font);
            EXPECT_EQ(tm.tmHeight, row.tmHeight);
            EXPECT_EQ(tm.tmAscent, row.tmAscent);
            EXPECT_EQ(tm.tmInternalLeading, row.tmInternalLeading);
            EXPECT_EQ(tm.tmExternalLeading, 0);
            EXPECT_EQ(tm.tmAveCharWidth, row.tmAveCharWidth);
            HGDIOBJ old = SelectObject(dc, font);
            for (int i = 0; i < 3; ++i) {
                const std::u16string wide = measuredTexts[i];
                SIZE size{};
                ASSERT_TRUE(GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size));
                EXPECT_EQ(size.cx, row.widths[i]) << i;
                EXPECT_EQ(size.cy, row.tmHeight);
                // The 1251 call measures the same text the same.
                char ansi[64] = {};
                const int length = WideCharToMultiByte(1251, 0, wide.c_str(), static_cast<int>(wide.size()), ansi,
                                                       sizeof ansi, nullptr, nullptr);
                SIZE ansiSize{};
                ASSERT_TRUE(GetTextExtentPoint32A(dc, ansi, length, &ansiSize));
                EXPECT_EQ(ansiSize.cx, size.cx);
                RECT box{0, 0, 1000, 0};
                DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &box, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
                EXPECT_EQ(box.right, row.widths[i]);
            }
            SelectObject(dc, old);
            DeleteObject(font);
        }
    }
}

TEST_F(FaceMetrics, TheHandheldResolvesEveryFaceNameAndTheSystemFontToTahoma)
{
    HFONT tahoma = makeFont(-11, false, u"Tahoma");
    const TEXTMETRICW reference = metricsOf(tahoma);
    for (const char16_t* face : {u"", u"MS Shell Dlg", u"Arial", u"System"}) {
        HFONT font = makeFont(-11, false, face);
        const TEXTMETRICW tm = metricsOf(font);
        EXPECT_EQ(tm.tmHeight, reference.tmHeight);
        EXPECT_EQ(tm.tmAveCharWidth, reference.tmAveCharWidth);
        DeleteObject(font);
    }
    DeleteObject(tahoma);
    // The system font: Tahoma bold, the handheld's 12-pixel em.
    const TEXTMETRICW system = metricsOf(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    EXPECT_EQ(system.tmHeight, 14);
    EXPECT_EQ(system.tmWeight, FW_BOLD);
}

TEST_F(FaceMetrics, TheDesktopResolvesNoNameToTheArialMetricSansAndDialogFacesToTahoma)
{
    gdi::setDeviceLook(gdi::DeviceLook::desktop);
    // The launcher's sentence font: bold, 10 points, no face name.
    HFONT sans = makeFont(-13, true, nullptr);
    const TEXTMETRICW tm = metricsOf(sans);
    EXPECT_EQ(tm.tmHeight, 15);
    EXPECT_EQ(tm.tmAscent, 12);
    EXPECT_EQ(tm.tmAveCharWidth, 8);
    DeleteObject(sans);
    HFONT shell = makeFont(-11, false, u"MS Shell Dlg");
    EXPECT_EQ(metricsOf(shell).tmHeight, 13);
    EXPECT_EQ(metricsOf(shell).tmAveCharWidth, 7);
    DeleteObject(shell);
    EXPECT_EQ(metricsOf(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))).tmHeight, 13);
    const TEXTMETRICW system = metricsOf(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    EXPECT_EQ(system.tmHeight, 16);
    EXPECT_EQ(system.tmAveCharWidth, 7) << "the reference's stock system font asks a width of 7";
    EXPECT_EQ(system.tmWeight, FW_BOLD);
    const TEXTMETRICW caption = metricsOf(gdi::captionFont());
    EXPECT_EQ(caption.tmHeight, 13);
    EXPECT_EQ(caption.tmAveCharWidth, 8);
}

// A width asked in the font squeezes or stretches the face so that its letters average that
// width, its height kept. The reference's figures: "System" bold in a 16-pixel cell (Tahoma bold,
// the table's -13 row) with widths 7 and 5, and the desktop's stock system font, which asks 7.
TEST_F(FaceMetrics, AnAskedWidthSqueezesTheFaceToThatAverageKeepingItsHeight)
{
    struct Row {
        int width, tmAveCharWidth, heading;
    };
    for (gdi::DeviceLook look : {gdi::DeviceLook::handheld, gdi::DeviceLook::desktop}) {
        gdi::setDeviceLook(look);
        for (const Row& row : {Row{0, 9, 172}, Row{7, 7, 148}, Row{5, 5, 106}, Row{14, 14, -1}}) {
            SCOPED_TRACE(testing::Message() << "width " << row.width << (look == gdi::DeviceLook::desktop ? " desktop" : ""));
            HFONT font = CreateFontW(16, row.width, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, 0, 0, 0, 0,
                                     u"System");
            const TEXTMETRICW tm = metricsOf(font);
            EXPECT_EQ(tm.tmHeight, 16);
            EXPECT_EQ(tm.tmAveCharWidth, row.tmAveCharWidth);
            const int heading = extentOf(font, measuredTexts[1]);
            if (row.heading > 0)
                EXPECT_NEAR(heading, row.heading, 1);
            else
                EXPECT_GT(heading, 172 * 3 / 2) << "wider than the face's own";
            DeleteObject(font);
        }
    }
    gdi::setDeviceLook(gdi::DeviceLook::desktop);
    EXPECT_EQ(extentOf(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)), measuredTexts[1]), 148);
}

// The launcher's sentences as the reference breaks them: 15-pixel lines, each as full as the box allows.
TEST_F(FaceMetrics, TheLaunchersSentencesBreakAsOnTheReference)
{
    gdi::setDeviceLook(gdi::DeviceLook::desktop);
    HFONT font = makeFont(-13, true, nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    const auto width = [this](const std::u16string& text) {
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    const std::vector<std::vector<std::u16string>> sentences = {
        {u"Для запуска программы установки Morvane Quillden с", u"базой <Санкт-Петербург> на КПК нажмите кнопку",
         u"\"Далее\""},
        {u"Для запуска программы установки Morvane Quillden с", u"базой <Москва> на КПК нажмите кнопку \"Далее\""},
        // Both editions: not measured on the reference, held as the same rule breaks it.
        {u"Для запуска программы установки Morvane Quillden с",
         u"базами <Санкт-Петербург> и <Москва> на КПК нажмите", u"кнопку \"Далее\""},
    };
    for (const std::vector<std::u16string>& lines : sentences) {
        std::u16string whole;
        for (size_t i = 0; i < lines.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "line " << i);
            EXPECT_LE(width(lines[i]), sentenceWidth);
            if (i + 1 < lines.size()) {
                EXPECT_GT(width(lines[i] + u" " + lines[i + 1].substr(0, lines[i + 1].find(u' '))), sentenceWidth);
            }
            whole += (i == 0 ? u"" : u" ") + lines[i];
        }
        RECT box{292, 531, 292 + sentenceWidth, 600};
        const int height = DrawTextW(dc, whole.c_str(), -1, &box, DT_WORDBREAK | DT_LEFT | DT_CALCRECT);
        EXPECT_EQ(height, 15 * static_cast<int>(lines.size()));
        EXPECT_EQ(box.bottom - box.top, height);
    }
    SelectObject(dc, old);
    DeleteObject(font);
}

} // namespace
