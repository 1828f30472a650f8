#include "tests/scenarios/favourites_scenario.h"

#include "resources/dernolo/dernolo_ids.h"
#include "shell/favourites_commands.h"
#include "shell/shell_state.h"
#include "shell/tile_table.h"

#include "platform/testing/windows.h"

#include <fstream>
#include <iterator>

namespace dernolo_test {

void FavouritesScenario::SetUp()
{
    RubricTreeScenario::SetUp();
    // The editor's moment before the first attempt is not what these tests are about.
    editorWait = {20, 10, 5000};
}

void FavouritesScenario::TearDown()
{
    editorWait = standardEditorWait;
    RubricTreeScenario::TearDown();
}

fs::path FavouritesScenario::favouritesFile(const std::string& folder) const
{
    return device / installFolderPath / folder / "Favorites.txt";
}

std::string FavouritesScenario::readFavourites(const std::string& folder) const
{
    std::ifstream in(favouritesFile(folder), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void FavouritesScenario::writeFavourites(const std::string& bytes, const std::string& folder) const
{
    std::ofstream(favouritesFile(folder), std::ios::binary) << bytes;
}

void FavouritesScenario::enterFavouritesPage()
{
    if (shellState.homePageIndex == favouritesPage)
        tapBar(mainWindow(), IDI_BAR_BACK);
    tapTile(favouritesTile);
}

std::vector<std::u16string> slots()
{
    std::vector<std::u16string> shown;
    for (int i = firstFavouriteSlot; i <= homePages[favouritesPage].last; ++i)
        shown.push_back(tileTable[i].caption != nullptr ? std::u16string(tileTable[i].caption) : u"<none>");
    return shown;
}

std::vector<std::u16string> shownSlots()
{
    std::vector<std::u16string> shown;
    const driver::ScreenDump dump = driver::dumpWindows();
    const driver::WindowDump* home = driver::findDumped(dump, u"DERNOLO");
    if (home == nullptr) {
        driver::fail("the home screen is not shown");
        return shown;
    }
    POINT origin{0, 0};
    ClientToScreen(driver::findWindow(u"DERNOLO", {}), &origin);
    for (int i = firstFavouriteSlot; i < firstFavouriteSlot + favouriteSlotCount; ++i) {
        RECT tile = tileTable[i].rect;
        OffsetRect(&tile, origin.x, origin.y);
        std::u16string caption;
        for (const driver::DrawnTextDump& drawn : home->drawn) {
            const POINT middle{(drawn.rect.left + drawn.rect.right) / 2, (drawn.rect.top + drawn.rect.bottom) / 2};
            if (PtInRect(&tile, middle))
                caption += (caption.empty() ? u"" : u" ") + drawn.text;
        }
        if (!caption.empty())
            shown.push_back(caption);
    }
    return shown;
}

}  // namespace dernolo_test
