// The keyboards' geometry: every point of the panel belongs to exactly one key, at both screen
// orientations, and the shift state gives the capitals the fields expect.
#include "platform/shell/sip_layouts.h"

#include <gtest/gtest.h>

namespace {

using shell::KeyHit;
using shell::SipLayout;

constexpr SipLayout layouts[] = {SipLayout::russian, SipLayout::latin, SipLayout::digits};

TEST(SipLayoutTest, KeysTileThePanelAndHitTestingFindsThem)
{
    for (const SipLayout layout : layouts) {
        for (const int width : {240, 320}) {
            const int height = 80;
            for (int row = 0; row < shell::sipRowCount; ++row) {
                const auto keys = shell::sipRow(layout, row);
                ASSERT_FALSE(keys.empty());
                int expectedLeft = 0;
                for (size_t i = 0; i < keys.size(); ++i) {
                    const KeyHit hit{row, static_cast<int>(i)};
                    const RECT r = shell::sipKeyRect(layout, width, height, hit);
                    EXPECT_EQ(r.left, expectedLeft) << "no gap before key " << i << " of row " << row;
                    EXPECT_GT(r.right, r.left);
                    expectedLeft = r.right;
                    EXPECT_EQ(shell::sipKeyAt(layout, width, height, POINT{r.left, r.top}), hit);
                    EXPECT_EQ(shell::sipKeyAt(layout, width, height, POINT{r.right - 1, r.bottom - 1}), hit);
                }
                EXPECT_EQ(expectedLeft, width) << "row " << row << " ends at the panel's edge";
            }
        }
    }
}

TEST(SipLayoutTest, PointsOutsideThePanelHitNothing)
{
    EXPECT_FALSE(shell::sipKeyAt(SipLayout::russian, 240, 80, POINT{-1, 10}).valid());
    EXPECT_FALSE(shell::sipKeyAt(SipLayout::russian, 240, 80, POINT{240, 10}).valid());
    EXPECT_FALSE(shell::sipKeyAt(SipLayout::russian, 240, 80, POINT{10, 80}).valid());
    EXPECT_FALSE(shell::sipKeyAt(SipLayout::russian, 0, 0, POINT{0, 0}).valid());
    EXPECT_EQ(shell::sipKey(SipLayout::latin, KeyHit{0, 99}), nullptr);
    EXPECT_EQ(shell::sipKey(SipLayout::latin, KeyHit{7, 0}), nullptr);
}

TEST(SipLayoutTest, RussianKeyboardHasTheWholeAlphabetAndShiftGivesCapitals)
{
    std::u16string letters;
    for (int row = 0; row < shell::sipRowCount; ++row)
        for (const shell::SipKey& key : shell::sipRow(SipLayout::russian, row))
            if (key.kind == shell::KeyKind::character && ((key.ch >= u'а' && key.ch <= u'я') || key.ch == u'ё'))
                letters += key.ch;
    EXPECT_EQ(letters.size(), 33u);

    const shell::SipKey yo{shell::KeyKind::character, u'ё'};
    const shell::SipKey ya{shell::KeyKind::character, u'я'};
    const shell::SipKey q{shell::KeyKind::character, u'q'};
    const shell::SipKey seven{shell::KeyKind::character, u'7'};
    EXPECT_EQ(shell::typedCharacter(yo, true), u'Ё');
    EXPECT_EQ(shell::typedCharacter(ya, true), u'Я');
    EXPECT_EQ(shell::typedCharacter(ya, false), u'я');
    EXPECT_EQ(shell::typedCharacter(q, true), u'Q');
    EXPECT_EQ(shell::typedCharacter(seven, true), u'7');
    EXPECT_EQ(shell::keyLabel(ya, true), u"Я");
}

}  // namespace
