// The home screen's geometry and selection rules, and the button bar's two layouts, apart from
// any window: the numbers every screen's drawing and hit testing stand on.
#include "resources/dernolo/dernolo_ids.h"
#include "shell/button_bar.h"
#include "shell/city_variant.h"
#include "shell/shell_state.h"
#include "shell/tile_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class HomeLayout : public ::testing::Test {
protected:
    void SetUp() override { resetTileTable(shellState.textStyles); }
};

TEST_F(HomeLayout, TilesOfA240By268ContentArea)
{
    layoutTileRects(240, 268);
    const RECT& catalogue = tileTable[1].rect;
    EXPECT_EQ(catalogue.left, 0);
    EXPECT_EQ(catalogue.top, 49);
    EXPECT_EQ(catalogue.right, 80);
    EXPECT_EQ(catalogue.bottom, 122);
    EXPECT_EQ(tileTable[bannerTile].rect.top, 6) << "half a grid row";
    EXPECT_EQ(tileTable[bannerTile].rect.right, 240);
    // Neighbours share their edges: no gaps, no overlaps beyond the shared line.
    EXPECT_EQ(tileTable[1].rect.right, tileTable[2].rect.left);
    EXPECT_EQ(tileTable[1].rect.bottom, tileTable[4].rect.top);
    EXPECT_EQ(tileTable[9].rect.bottom, 268);
}

TEST_F(HomeLayout, ASharedEdgeBelongsToTheLowerIndex)
{
    layoutTileRects(240, 268);
    const HomePage& page = homePages[mainPage];
    EXPECT_EQ(tileAt(page, 80, 60), 1);   // the edge between tiles 1 and 2
    EXPECT_EQ(tileAt(page, 81, 60), 2);
    EXPECT_EQ(tileAt(page, 40, 122), 1);  // the edge between tiles 1 and 4
    EXPECT_EQ(tileAt(page, 40, 123), 4);
    EXPECT_EQ(tileAt(page, 100, 2), -1) << "above the banner";
    // Tiles of other pages are not hit on this one.
    EXPECT_EQ(tileAt(homePages[favouritesPage], 40, 60), -1);
}

TEST_F(HomeLayout, KeysClampToThePageAndSelectItsFirstTile)
{
    const HomePage& main = homePages[mainPage];
    EXPECT_EQ(movedSelection(main, -1, VK_RIGHT), 0) << "-1 + 1";
    EXPECT_EQ(movedSelection(main, -1, 'X'), 0) << "any key selects the first tile";
    EXPECT_EQ(movedSelection(main, -1, VK_UP), 0);
    EXPECT_EQ(movedSelection(main, -1, VK_DOWN), 0) << "not -1 + 3";
    EXPECT_EQ(movedSelection(main, 9, VK_RIGHT), 9) << "the last tile stays";
    EXPECT_EQ(movedSelection(main, 8, VK_DOWN), 9);
    EXPECT_EQ(movedSelection(main, 4, VK_UP), 1);
    EXPECT_EQ(movedSelection(main, 4, VK_LEFT), 3);
    const HomePage& phones = homePages[telephonesPage];
    EXPECT_EQ(movedSelection(phones, -1, VK_DOWN), 25);
    EXPECT_EQ(movedSelection(phones, 30, VK_DOWN), 31) << "step 1";
    EXPECT_EQ(movedSelection(homePages[favouritesPage], 10, VK_DOWN), 12) << "no favourites: clamped to 12";
}

TEST_F(HomeLayout, CityVariantsSwitchBackAndForth)
{
    for (HANDLE& icon : shellState.variantIcons)
        icon = nullptr;
    shellState.variantIcons[0] = reinterpret_cast<HANDLE>(0x100);
    shellState.variantIcons[1] = reinterpret_cast<HANDLE>(0x101);
    applyCityVariant(1);
    EXPECT_EQ(std::u16string(tileTable[8].caption), u"Таблица штрафов");
    EXPECT_EQ(std::u16string(tileTable[8].page), u"HTML\\pdd.htm");
    EXPECT_EQ(tileTable[8].iconId, IDI_VARIANT_FINES);
    EXPECT_EQ(tileTable[8].icon, reinterpret_cast<HICON>(0x101));
    EXPECT_EQ(std::u16string(tileTable[32].caption), u"   • Транспорт/заказ билетов");
    EXPECT_EQ(std::u16string(tileTable[6].caption), u"") << "tile 6 keeps its empty caption";
    EXPECT_EQ(tileTable[6].iconWidth, 52);

    applyCityVariant(7);  // no such set: nothing changes
    EXPECT_EQ(std::u16string(tileTable[8].caption), u"Таблица штрафов");

    applyCityVariant(0);
    EXPECT_EQ(std::u16string(tileTable[8].caption), u"Разводка мостов");
    EXPECT_EQ(std::u16string(tileTable[8].page), u"HTML\\bridges.html");
    EXPECT_EQ(tileTable[8].iconId, IDI_TILE_BRIDGES);
    EXPECT_EQ(tileTable[8].icon, reinterpret_cast<HICON>(0x100));
    EXPECT_EQ(std::u16string(tileTable[29].page), u"HTML\\emergency.html");
}

class BarLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetButtonBar(bar);
        bar.height = 26;
    }
    int xOf(int slot) const { return bar.slots[slot].x; }
    ButtonBar bar{};
};

TEST_F(BarLayout, ScreenLayoutOfA240PixelWindow)
{
    bar.mode = 1;
    layoutBar(bar, 0, 268, 240, {false, false});
    EXPECT_EQ(xOf(1), 8);
    EXPECT_EQ(xOf(2), 42);
    EXPECT_EQ(xOf(3), 76);
    EXPECT_EQ(xOf(4), 110);
    EXPECT_EQ(xOf(5), 174);
    EXPECT_EQ(xOf(6), 210);
    EXPECT_FALSE(bar.slots[0].visible);
    EXPECT_FALSE(bar.slots[7].visible);
    EXPECT_EQ(bar.slots[5].y, 268 + 4) << "an 18-pixel icon centred in 26";
    EXPECT_EQ(bar.slots[1].y, 268 + 3);
}

TEST_F(BarLayout, HomeLayoutOffersTheChangeOnlyWithSeveralDatabases)
{
    layoutBar(bar, 0, 268, 240, {false, false});
    EXPECT_EQ(xOf(0), 0);
    EXPECT_EQ(xOf(5), 174);
    EXPECT_EQ(xOf(6), 210);
    EXPECT_FALSE(bar.slots[7].visible);
    EXPECT_EQ(hitTestBar(bar, 145, 275), -1) << "a hidden slot is not hit";
    for (int slot = 1; slot <= 4; ++slot)
        EXPECT_FALSE(bar.slots[slot].visible) << slot;

    layoutBar(bar, 0, 268, 240, {true, true});
    EXPECT_TRUE(bar.slots[7].visible);
    EXPECT_EQ(xOf(7), 141);
    EXPECT_EQ(bar.slots[7].iconId, IDI_BAR_CHANGE_M);
    EXPECT_EQ(hitTestBar(bar, 145, 275), 7);

    layoutBar(bar, 0, 268, 240, {true, false});
    EXPECT_EQ(bar.slots[7].iconId, IDI_BAR_CHANGE);
}

TEST_F(BarLayout, HitTestingEdgesAndGaps)
{
    bar.mode = 1;
    layoutBar(bar, 0, 268, 240, {false, false});
    const BarSlot& home = bar.slots[1];
    EXPECT_EQ(hitTestBar(bar, home.x, home.y), 1);
    EXPECT_EQ(hitTestBar(bar, home.x + home.width - 1, home.y + home.height - 1), 1);
    EXPECT_EQ(hitTestBar(bar, home.x + home.width, home.y), -1) << "right edge exclusive";
    EXPECT_EQ(hitTestBar(bar, 35, 275), -1) << "between home and back";
    EXPECT_EQ(hitTestBar(bar, 150, 275), -1) << "between keyboard and help";
}

} // namespace
