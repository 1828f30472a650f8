#include "shell/tile_table.h"

#include "card/metro_screen.h"
#include "resources/dernolo/dernolo_ids.h"
#include "search/screens/rubric_tree_screen.h"
#include "search/screens/search_screen.h"
#include "search/screens/white_pages_screen.h"

Tile tileTable[tileCount];
HomePage homePages[3] = {{0, 9, 3}, {10, 12, 2}, {25, 35, 1}};

namespace {

// The fields of a tile that the table fixes; the rest is filled at start-up and at layout.
struct TileRecipe {
    short column, row, columns, rows;
    const WCHAR* caption;
    int dialogId;
    int iconId;
    int style;  // 1-12
    const WCHAR* page;
    short iconWidth, iconHeight;
};

const TileRecipe recipes[tileCount] = {
    {0, 1, 12, 3, nullptr, 0, IDI_TILE_BANNER, 3, nullptr, 168, 14},
    {0, 4, 4, 6, W("Алфавитный каталог"), IDD_WHITE_PAGES, IDI_TILE_CATALOGUE, 1, nullptr, 32, 26},
    {4, 4, 4, 6, W("Темы"), IDD_RUBRIC_TREE, IDI_TILE_THEMES, 1, nullptr, 32, 32},
    {8, 4, 4, 6, W("Рубрики"), IDD_RUBRIC_TREE, IDI_TILE_RUBRICS, 1, nullptr, 32, 32},
    {0, 10, 4, 6, W("Избранное"), 0, IDI_TILE_FAVOURITES, 1, nullptr, 32, 32},
    {4, 10, 4, 6, W("Поиск"), IDD_SEARCH, IDI_TILE_SEARCH, 1, nullptr, 32, 32},
    {8, 10, 4, 6, W(""), 0, IDI_TILE_PARTNER, 1, W("HTML\\lumetra.html"), 52, 51},
    {0, 16, 4, 6, W("Схема метро"), IDD_METRO, IDI_TILE_METRO, 1, nullptr, 32, 32},
    {4, 16, 4, 6, W("Разводка мостов"), 0, IDI_TILE_BRIDGES, 1, W("HTML\\bridges.html"), 32, 32},
    {8, 16, 4, 6, W("Необходимые телефоны"), 0, IDI_TILE_TELEPHONES, 1, nullptr, 32, 26},
    {0, 18, 4, 4, W("Добавить"), 0, IDI_TILE_ADD, 4, nullptr, 24, 24},
    {4, 18, 4, 4, W("Редактировать"), 0, IDI_TILE_EDIT, 4, nullptr, 24, 24},
    {8, 18, 4, 4, W("Очистить"), 0, IDI_TILE_CLEAR, 4, nullptr, 24, 24},
    // 13-24: the favourite slots, two to a row of three grid rows.
    {0, 0, 6, 3, nullptr, 0, 0, 2, nullptr, 0, 0},
    {6, 0, 6, 3, nullptr, 0, 0, 2, nullptr, 0, 0},
    {0, 3, 6, 3, nullptr, 0, 0, 2, nullptr, 0, 0},
    {6, 3, 6, 3, nullptr, 0, 0, 2, nullptr, 0, 0},
    {0, 6, 6, 3, nullptr, 0, 0, 2, nullptr, 0, 0},
    {6, 6, 6, 3, nullptr, 0, 0, 2, nullptr, 0, 0},
    {0, 9, 6, 3, nullptr, 0, 0, 2, nullptr, 0, 0},
    {6, 9, 6, 3, nullptr, 0, 0, 2, nullptr, 0, 0},
    {0, 12, 6, 3, nullptr, 0, 0, 2, nullptr, 0, 0},
    {6, 12, 6, 3, nullptr, 0, 0, 2, nullptr, 0, 0},
    {0, 15, 6, 3, nullptr, 0, 0, 2, nullptr, 0, 0},
    {6, 15, 6, 3, nullptr, 0, 0, 2, nullptr, 0, 0},
    {0, 1, 3, 6, W("Служба спасения"), 0, IDI_TILE_RESCUE, 4, nullptr, 32, 32},
    {3, 1, 3, 6, W(" Милиция "), 0, IDI_TILE_POLICE, 4, nullptr, 32, 32},
    {6, 1, 3, 6, W("Скорая помощь"), 0, IDI_TILE_AMBULANCE, 4, nullptr, 32, 32},
    {9, 1, 3, 6, W("Аварийная служба газа"), 0, IDI_TILE_GAS, 4, nullptr, 32, 32},
    {0, 7, 12, 2, W("   • Службы спасения, аварийные службы"), 0, 0, 10, W("HTML\\emergency.html"), 0, 0},
    {0, 9, 12, 2, W("   • Безопасность, охрана правопорядка"), 0, 0, 9, W("HTML\\security_service.html"), 0, 0},
    {0, 11, 12, 2, W("   • Здравоохранение"), 0, 0, 10, W("HTML\\medics.html"), 0, 0},
    {0, 13, 12, 2, W("   • Транспорт"), 0, 0, 9, W("HTML\\transport.html"), 0, 0},
    {0, 15, 12, 2, W("   • Справочные службы"), 0, 0, 10, W("HTML\\info_service.html"), 0, 0},
    {0, 18, 6, 4, W("Бесплатная справка"), 0, IDI_TILE_ENQUIRIES, 4, nullptr, 32, 32},
    {6, 18, 6, 4, W("Точное время"), 0, IDI_TILE_EXACT_TIME, 4, nullptr, 32, 32},
};

// (extent x units + half) / parts: the grid line nearest to units / parts of the extent.
int roundedShare(int extent, int units, int parts, int half)
{
    return (extent * units + half) / parts;
}

// The procedure of the screen a dialog template belongs to; none for the screens not built yet.
DLGPROC screenProcOf(int dialogId)
{
    switch (dialogId) {
    case IDD_RUBRIC_TREE: return rubricTreeScreenProc;
    case IDD_METRO: return metroScreenProc;
    case IDD_WHITE_PAGES: return whitePagesScreenProc;
    case IDD_SEARCH: return searchScreenProc;
    default: return nullptr;
    }
}

} // namespace

void resetTileTable(TextStyle (&styles)[textStyleCount])
{
    for (int i = 0; i < tileCount; ++i) {
        const TileRecipe& r = recipes[i];
        Tile& t = tileTable[i];
        t = {};
        t.column = r.column;
        t.row = r.row;
        t.columns = r.columns;
        t.rows = r.rows;
        t.caption = r.caption;
        t.dialogId = r.dialogId;
        t.screenProc = screenProcOf(r.dialogId);
        t.iconId = r.iconId;
        t.style = &styles[r.style - 1];
        t.page = r.page;
        t.iconWidth = r.iconWidth;
        t.iconHeight = r.iconHeight;
    }
    homePages[favouritesPage].last = 12;
}

void layoutTileRects(int width, int height)
{
    for (Tile& t : tileTable) {
        t.rect.left = roundedShare(width, t.column, 12, 6);
        t.rect.right = roundedShare(width, t.column + t.columns, 12, 6);
        t.rect.top = roundedShare(height, t.row, 22, 11);
        t.rect.bottom = roundedShare(height, t.row + t.rows, 22, 11);
    }
    // The banner starts half a grid row from the top.
    tileTable[bannerTile].rect.top = (height + 22) / 44;
}

int tileAt(const HomePage& page, int x, int y)
{
    for (int i = page.first; i <= page.last && i < tileCount; ++i) {
        const RECT& r = tileTable[i].rect;
        if (x >= r.left && x <= r.right && y >= r.top && y <= r.bottom)
            return i;
    }
    return -1;
}

int movedSelection(const HomePage& page, int selected, UINT key)
{
    // With nothing selected every key selects the page's first tile: Down would otherwise land a
    // step into the page (-1 + step).
    if (selected < 0)
        return page.first;
    switch (key) {
    case VK_LEFT:
        selected -= 1;
        break;
    case VK_UP:
        selected -= page.step;
        break;
    case VK_RIGHT:
        selected += 1;
        break;
    case VK_DOWN:
        selected += page.step;
        break;
    default:
        break;
    }
    if (selected < page.first)
        return page.first;
    if (selected > page.last)
        return page.last;
    return selected;
}
