// The home screen's tiles: one table for all three pages, each page a range of its indices, laid
// out on a 12 x 22 grid of the content area.
#pragma once

#include "shell/text_styles.h"

struct Tile {
    short column;
    short row;
    short columns;
    short rows;
    const WCHAR* caption;  // none, or the text drawn on the tile
    RECT rect;             // client pixels, set by layoutTiles
    int dialogId;          // the screen the tile opens, 0 for none
    int iconId;            // 0: no icon; several actions are keyed on it
    DLGPROC screenProc;    // the procedure of that screen, or none
    TextStyle* style;
    HICON icon;
    const WCHAR* page;     // an HTML page relative to the database's folder, or none
    short iconWidth;
    short iconHeight;
};

struct HomePage {
    int first;
    int last;
    int step;  // index distance of the up and down keys
};

constexpr int tileCount = 36;
constexpr int bannerTile = 0;
constexpr int firstFavouriteSlot = 13;
constexpr int favouriteSlotCount = 12;
constexpr int mainPage = 0;
constexpr int favouritesPage = 1;
constexpr int telephonesPage = 2;

extern Tile tileTable[tileCount];
extern HomePage homePages[3];

// The table as the program starts: captions, grid, icons and pages of the first city; the styles
// point into `styles` (text styles 1 to 12).
void resetTileTable(TextStyle (&styles)[textStyleCount]);

// Tile rectangles for a content area of width x height pixels (its origin is 0, 0).
void layoutTileRects(int width, int height);

// The first tile of `page`, in index order, whose rectangle holds the point (all four edges
// inclusive), or -1.
int tileAt(const HomePage& page, int x, int y);

// The selection after a direction key (or any other non-action key) on `page`, clamped to it.
int movedSelection(const HomePage& page, int selected, UINT key);
