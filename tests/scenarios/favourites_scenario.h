// The favourites page over the rubric tree's edition: the file beside the database read and
// written from the host side, the slots as the home screen holds them, and a quick editor wait.
#pragma once

#include "tests/scenarios/rubric_tree_edition.h"

#include <string>
#include <vector>

namespace dernolo_test {

constexpr int favouritesTile = 4;
constexpr int addTile = 10;
constexpr int editTile = 11;
constexpr int clearTile = 12;

class FavouritesScenario : public RubricTreeScenario {
protected:
    void SetUp() override;
    void TearDown() override;

    // Favorites.txt of the database in the install folder's sub-folder `folder`.
    fs::path favouritesFile(const std::string& folder = "SPb") const;
    std::string readFavourites(const std::string& folder = "SPb") const;
    void writeFavourites(const std::string& bytes, const std::string& folder = "SPb") const;
    // Into the favourites page from wherever the home screen is, so that the file is read again.
    static void enterFavouritesPage();
};

// The captions of the loaded slots, in slot order, as the home screen holds them.
std::vector<std::u16string> slots();
// The slots as the favourites page (shown now) shows them, read from the window dump: the texts drawn inside
// each slot's tile, a caption's wrapped lines joined by a space; empty slots left out.
std::vector<std::u16string> shownSlots();

}  // namespace dernolo_test
