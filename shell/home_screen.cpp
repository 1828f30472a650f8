#include "shell/home_screen.h"

#include "card/about_screen.h"
#include "card/html_pane.h"
#include "ce.h"
#include "db/discovery.h"
#include "htmlview.h"
#include "resources/dernolo/dernolo_ids.h"
#include "search/screens/firm_list_screen.h"
#include "search/search_state.h"
#include "search/street_list.h"
#include "shell/button_bar.h"
#include "shell/city_variant.h"
#include "shell/favourites.h"
#include "shell/favourites_commands.h"
#include "shell/screen_frame.h"
#include "shell/screen_protocol.h"
#include "shell/shell_state.h"
#include "shell/start_up.h"
#include "shell/tile_table.h"

namespace {

constexpr COLORREF gradientTop = RGB(8, 111, 184);
constexpr COLORREF gradientBottom = RGB(11, 82, 131);
constexpr COLORREF bandTop = RGB(99, 154, 189);
constexpr COLORREF bandBottom = RGB(24, 81, 123);
constexpr int rubricTitleCharacters = 256;
constexpr int helpChunk = 0;
// A slot shows two or three lines of its caption; a favourite line may run to the whole file, and
// laying out thousands of characters on every paint would only end in the same ellipsis. No
// rubric title is longer, so a caption cut here names what the whole one names.
constexpr int captionDrawLimit = rubricTitleCharacters;

HomePage& currentPage()
{
    const int index = shellState.homePageIndex;
    return homePages[index >= 0 && index <= 2 ? index : 0];
}

void redraw(HWND window)
{
    InvalidateRect(window, nullptr, TRUE);
}

// The XOR frame of one tile: drawn twice it is gone.
void toggleFrame(HWND window, int tile)
{
    if (tile < 0)
        return;
    HDC dc = GetDC(window);
    if (dc == nullptr)
        return;
    DrawFocusRect(dc, &tileTable[tile].rect);
    ReleaseDC(window, dc);
}

void moveSelection(HWND window, int to)
{
    const int from = shellState.selectedTile;
    if (from != to) {
        toggleFrame(window, from);
        toggleFrame(window, to);
    }
    shellState.selectedTile = to;
}

void discardDatabaseLists(void*)
{
    freeRubricTable();
    freeStreetList(streetList);
}

// ---- painting ---------------------------------------------------------------------------------

void selectTileFont(HDC dc, HFONT font)
{
    HGDIOBJ previous = SelectObject(dc, font);
    if (!shellState.savedFontTaken) {
        shellState.savedFont = static_cast<HFONT>(previous);
        shellState.savedFontTaken = true;
    }
}

SIZE slotPictureSize(int slot)
{
    const RECT& r = tileTable[slot].rect;
    return {r.right - r.left - 2, r.bottom - r.top};
}

bool sameSize(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }

void paintFavouriteBand(HDC dc)
{
    const RECT& first = tileTable[10].rect;
    const RECT& last = tileTable[12].rect;
    const int top = first.top;
    const int height = last.bottom - top;
    const int width = last.right - first.left;
    const RECT band = {0, top + 1, width, top + height - 1};
    fillGradient(dc, band, bandTop, bandBottom, true);

    HBITMAP slotPicture = static_cast<HBITMAP>(shellState.variantIcons[6]);
    if (slotPicture == nullptr)
        return;
    HDC picture = CreateCompatibleDC(dc);
    if (picture == nullptr)
        return;
    HGDIOBJ previous = SelectObject(picture, slotPicture);
    // The slots come in a few sizes (the grid's rounding): the picture is stretched once a size
    // into a memory copy that the slots of that size take unstretched, since stretching a pixel
    // costs many copies of one. Without the copy each slot is stretched from the picture, to the
    // same pixels. The slots do not overlap, so their order does not matter.
    HDC stretched = CreateCompatibleDC(dc);
    const int end = firstFavouriteSlot + favouriteSlotCount;
    for (int i = firstFavouriteSlot; i < end; ++i) {
        const SIZE size = slotPictureSize(i);
        bool drawn = false;
        for (int j = firstFavouriteSlot; j < i && !drawn; ++j)
            drawn = sameSize(slotPictureSize(j), size);
        if (drawn || size.cx <= 0 || size.cy <= 0)
            continue;
        HBITMAP copy = stretched != nullptr ? CreateCompatibleBitmap(dc, size.cx, size.cy) : nullptr;
        HGDIOBJ previousCopy = copy != nullptr ? SelectObject(stretched, copy) : nullptr;
        if (copy != nullptr)
            StretchBlt(stretched, 0, 0, size.cx, size.cy, picture, 0, 0, 118, 35, SRCCOPY);
        for (int k = i; k < end; ++k) {
            if (!sameSize(slotPictureSize(k), size))
                continue;
            const RECT& r = tileTable[k].rect;
            const int x = r.left + (k % 2 == 1 ? 2 : 1);
            if (copy != nullptr)
                BitBlt(dc, x, r.top, size.cx, size.cy, stretched, 0, 0, SRCCOPY);
            else
                StretchBlt(dc, x, r.top, size.cx, size.cy, picture, 0, 0, 118, 35, SRCCOPY);
        }
        if (copy != nullptr) {
            SelectObject(stretched, previousCopy);
            DeleteObject(copy);
        }
    }
    if (stretched != nullptr)
        DeleteDC(stretched);
    SelectObject(picture, previous);
    DeleteDC(picture);
}

int favouriteIconOffset()
{
    const int height = tileTable[12].rect.bottom - tileTable[10].rect.top;
    return (height + 4) / 8;
}

void paintTile(HDC dc, int index, int iconOffset)
{
    const Tile& t = tileTable[index];
    const TextStyle& style = *t.style;
    if (t.icon == nullptr && t.caption == nullptr)
        return;
    selectTileFont(dc, style.font);
    SetTextColor(dc, style.textColour);
    SetBkMode(dc, TRANSPARENT);
    const UINT format = (style.format == 1 ? DT_CENTER : DT_LEFT) | DT_WORDBREAK | DT_END_ELLIPSIS;

    const int length = t.caption != nullptr ? lstrlenW(t.caption) : 0;
    const int drawn = length < captionDrawLimit ? length : captionDrawLimit;
    RECT text = t.rect;
    if (t.icon != nullptr) {
        const int x = t.rect.left + ((t.rect.right - t.iconWidth - t.rect.left) >> 1);
        DrawIconEx(dc, x, t.rect.top + iconOffset, t.icon, 0, 0, 0, nullptr, DI_NORMAL);
        text.top = t.rect.top + iconOffset + t.iconHeight;
    } else if (index != bannerTile) {
        RECT measured = t.rect;
        DrawTextW(dc, t.caption, drawn, &measured, format | DT_CALCRECT);
        text.top = t.rect.top + ((t.rect.bottom - t.rect.top - (measured.bottom - measured.top) + 1) >> 1);
        if (hasFill(style)) {
            const RECT stripe = {0, t.rect.top, GetSystemMetrics(SM_CXSCREEN) - 1, t.rect.bottom};
            HBRUSH brush = CreateSolidBrush(style.fillColour);
            FillRect(dc, &stripe, brush);
            DeleteObject(brush);
        }
    }
    if (t.caption != nullptr)
        DrawTextW(dc, t.caption, drawn, &text, format);
}

LRESULT onPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (setInputPanel(window, inputPanelQuery) == 0) {
        shellState.inputPanelUp = false;
        hideShellBars(window);
        MoveWindow(window, 0, buttonBar.height, GetSystemMetrics(SM_CXSCREEN),
                   GetSystemMetrics(SM_CYSCREEN) - buttonBar.height, FALSE);
    }
    drawBar(buttonBar, window);
    if (shellState.homePageIndex < 0)
        return DefWindowProcW(window, message, wParam, lParam);

    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc == nullptr)
        return 0;
    RECT content;
    contentRect(window, content);
    fillGradient(dc, content, gradientTop, gradientBottom, true);

    int iconOffset = 0;
    if (shellState.homePageIndex == favouritesPage) {
        iconOffset = favouriteIconOffset();
        paintFavouriteBand(dc);
    }
    const HomePage& page = currentPage();
    for (int i = page.first; i <= page.last && i < tileCount; ++i)
        paintTile(dc, i, iconOffset);

    if (shellState.savedFontTaken)
        SelectObject(dc, shellState.savedFont);
    EndPaint(window, &paint);
    shellState.selectedTile = -1;
    return 0;
}

// ---- tiles --------------------------------------------------------------------------------------

void showPage(HWND window, int page)
{
    shellState.homePageIndex = page;
    buttonBar.mode = page == mainPage ? 0 : 1;
    shellState.selectedTile = -1;
    redraw(window);
}

void openTileScreen(HWND window, const Tile& t)
{
    shellState.returnHomeMarker = 0;
    searchState.flatMode = t.iconId == IDI_TILE_RUBRICS ? 1 : 0;
    // No tile asks for a rubric: a choice left by back or home must not turn the tree into a chooser.
    searchState.rubricChoice.marker = 0;
    DialogBoxParamW(shellState.instanceHandle, MAKEINTRESOURCEW(t.dialogId), window, t.screenProc, 0);
    SHSipPreference(window, SIP_FORCEDOWN);
    shellState.inputPanelUp = false;
}

void activateTile(HWND window, int index)
{
    const Tile& t = tileTable[index];
    if (t.iconId == IDI_TILE_FAVOURITES) {
        // Another program (the notes editor, a copy from the desktop) may have changed the file.
        loadFavourites();
        showPage(window, favouritesPage);
        return;
    }
    switch (index) {
    case 10:
        PostMessageW(window, WM_COMMAND, IDM_ADD_FAVOURITE, 0);
        return;
    case 11:
        PostMessageW(window, WM_COMMAND, IDM_EDIT_FAVOURITES, 0);
        return;
    case 12:
        PostMessageW(window, WM_COMMAND, IDM_CLEAR_FAVOURITES, 0);
        return;
    default:
        break;
    }
    if (t.iconId == IDI_TILE_TELEPHONES) {
        showPage(window, telephonesPage);
        return;
    }
    // A tile whose screen or page the program does not have opens nothing.
    if (t.dialogId != 0) {
        if (t.screenProc != nullptr)
            openTileScreen(window, t);
        return;
    }
    if (t.page != nullptr) {
        openInfoPage(window, t.page);
        if (pageViewer.currentPane == nullptr)
            return;
        shellState.homePageIndex = shellState.homePageIndex == mainPage ? -3 : -shellState.homePageIndex;
        shellState.selectedTile = -1;
        return;
    }
    if (t.caption != nullptr && t.caption[0] != 0)
        openRubricByCaption(window, t.caption);
}

// ---- input --------------------------------------------------------------------------------------

bool isActionKey(UINT key)
{
    return key == VK_RETURN || key == VK_EXECUTE || key == VK_F6;
}

void onKeyDown(HWND window, UINT key)
{
    if (shellState.homePageIndex < 0)
        return;
    if (isActionKey(key)) {
        if (shellState.selectedTile == bannerTile && shellState.homePageIndex == mainPage)
            changeHomeDatabase(window);
        else if (shellState.selectedTile >= 0)
            activateTile(window, shellState.selectedTile);
        return;
    }
    moveSelection(window, movedSelection(currentPage(), shellState.selectedTile, key));
}

void onStylusDown(HWND window, int x, int y)
{
    const int slot = hitTestBar(buttonBar, x, y);
    if (slot >= 0) {
        pressBarButton(buttonBar, slot, window);
        return;
    }
    if (shellState.homePageIndex < 0)
        return;
    const int tile = tileAt(currentPage(), x, y);
    if (tile >= 0)
        moveSelection(window, tile);
    if (shellState.homePageIndex == mainPage && shellState.selectedTile == bannerTile)
        changeHomeDatabase(window);
}

// Help for the page of tiles shown: page 0's from the top of the help text, the others at their
// anchors. Nothing while an HTML page already covers the screen. The pane puts the bar in the
// screen layout itself, and leaves it as it was when it cannot open.
void openHomeHelp(HWND window)
{
    const int page = shellState.homePageIndex;
    if (page < 0)
        return;
    if (openPane(window) != 0)
        return;
    HtmlPane& pane = *pageViewer.currentPane;
    loadHelpText(pane, helpChunk);
    if (page == mainPage) {
        shellState.homePageIndex = -3;
        showHelpText(pane, true);
        return;
    }
    showHelpText(pane, false);
    jumpToAnchor(pane, page == favouritesPage ? "#t34" : "#t43");
    shellState.homePageIndex = -page;
}

// Back and home: from a page of tiles to the main page; in an open HTML page to an earlier place,
// closing it at its first.
void stepBack(HWND window, void (*move)(HtmlPane&))
{
    if (shellState.homePageIndex == favouritesPage || shellState.homePageIndex == telephonesPage) {
        showPage(window, mainPage);
        return;
    }
    HtmlPane* pane = pageViewer.currentPane;
    if (pane != nullptr && pane->historyIndex > 0) {
        move(*pane);
        return;
    }
    if (pane != nullptr)
        closePane();
    buttonBar.mode = shellState.homePageIndex == mainPage ? 0 : 1;
    redraw(window);
}

void openAboutScreen(HWND window)
{
    shellState.returnHomeMarker = 0;
    DialogBoxParamW(shellState.instanceHandle, MAKEINTRESOURCEW(IDD_ABOUT_MAKER), window, aboutScreenProc, 0);
}

void onBarAction(HWND window, int iconId)
{
    switch (iconId) {
    case IDI_BAR_EXIT:
        SendMessageW(window, WM_CLOSE, 0, 0);
        break;
    case IDI_BAR_BACK:
        stepBack(window, historyBack);
        break;
    case IDI_BAR_HOME:
        stepBack(window, historyHome);
        break;
    case IDI_BAR_FORWARD:
        if (pageViewer.currentPane != nullptr && shellState.homePageIndex <= 0)
            historyForward(*pageViewer.currentPane);
        break;
    case IDI_BAR_HELP:
        openHomeHelp(window);
        break;
    case IDI_BAR_MAKER:
        openAboutScreen(window);
        break;
    case IDI_BAR_KEYBOARD:
        if (shellState.homePageIndex >= 0)
            setInputPanel(window, setInputPanel(window, inputPanelQuery) ? inputPanelLower : inputPanelRaise);
        break;
    case IDI_BAR_CHANGE_M:
    case IDI_BAR_CHANGE:
        changeHomeDatabase(window);
        break;
    default:
        break;
    }
}

void onStylusUp(HWND window, int x, int y)
{
    const int slot = hitTestBar(buttonBar, x, y);
    if (slot >= 0) {
        releaseBarButton(buttonBar, slot, window);
        onBarAction(window, buttonBar.slots[slot].iconId);
        return;
    }
    if (shellState.homePageIndex < 0)
        return;
    const int tile = tileAt(currentPage(), x, y);
    if (tile >= 0)
        activateTile(window, tile);
}

void onCreate()
{
    loadBarIcons(buttonBar);
    buttonBar.mode = 0;
    shellState.shellWindowState = {};
    shellState.shellWindowState.cbSize = sizeof shellState.shellWindowState;
    // Without the shell's task bar the bar keeps the height it starts with.
    HWND taskBar = FindWindowW(W("HHTaskBar"), W(""));
    RECT bar = {};
    if (taskBar != nullptr && GetWindowRect(taskBar, &bar) && bar.bottom > bar.top)
        buttonBar.height = static_cast<short>(bar.bottom - bar.top);
}

// The focus back on the main window: a live page keeps covering it (the paint re-asserts the full
// screen and the bar); a page whose view is gone is closed.
void onFocus(HWND window, HWND previous)
{
    HtmlPane* pane = pageViewer.currentPane;
    if (pane != nullptr && pane->view != nullptr && previous != nullptr)
        SendMessageW(window, WM_PAINT, 0, 0);
    else
        closePane();
    setInputPanel(window, inputPanelLower);
}

void onNotify(HWND window, LPARAM lParam)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr && header->code == NM_HOTSPOT && pageViewer.currentPane != nullptr && pageOpen())
        onLinkActivated(*pageViewer.currentPane, reinterpret_cast<const NM_HTMLVIEW*>(lParam));
    drawBar(buttonBar, window);
}

void onDestroy(HWND window)
{
    closePane();
    if (shellState.phoneLibrary != nullptr) {
        FreeLibrary(shellState.phoneLibrary);
        shellState.phoneLibrary = nullptr;
        shellState.phoneMakeCall = nullptr;
    }
    closeCurrentDatabase();
    if (shellState.shellBuffer != nullptr) {
        LocalFree(shellState.shellBuffer);
        shellState.shellBuffer = nullptr;
    }
    freeRubricTable();
    freeStreetList(streetList);
    if (shellState.savedFontTaken) {
        HDC dc = GetDC(window);
        if (dc != nullptr) {
            SelectObject(dc, shellState.savedFont);
            ReleaseDC(window, dc);
        }
    }
    PostQuitMessage(0);
}

void onCancelMode(HWND window)
{
    DirectoryDatabase* db = databaseProgram.current;
    // In the background the large read window goes back to the system; the next read builds it again.
    if (GetForegroundWindow() != window && db != nullptr)
        releaseWindow(*db);
}

} // namespace

void layoutTiles(HWND window)
{
    RECT content;
    contentRect(window, content);
    layoutTileRects(content.right - content.left, content.bottom - content.top);
}

void changeHomeDatabase(HWND window)
{
    if (databaseProgram.choices.count <= 1)
        return;
    changeDatabase(discardDatabaseLists, nullptr);
    showDatabaseTitle();
    const DirectoryDatabase* db = databaseProgram.current;
    applyCityVariant(db != nullptr && cityLetter(*db) == secondCityLetter ? 1 : 0);
    // The new database's folder holds its own list.
    loadFavourites();
    layoutTiles(window);
    redraw(window);
}

void goHome(HWND window)
{
    stepBack(window, historyHome);
}

bool openRubricByCaption(HWND window, const WCHAR* caption)
{
    DirectoryDatabase* db = databaseProgram.current;
    if (db == nullptr || shellState.shellBuffer == nullptr)
        return false;
    const size_t length = static_cast<size_t>(lstrlenW(caption));
    auto* title = reinterpret_cast<WCHAR*>(shellState.shellBuffer);
    // The scan starts by reading the first record at its offset: a rewind that, unlike a refused
    // seekTable after an earlier failed read, never leaves the scan where the last read stopped.
    for (int32_t read = readRecord(*db, 0, 0, 0, noCap); read == 0; read = readRecord(*db, 0, readNext, 0, noCap)) {
        const char* text = db->rubric.title != nullptr ? db->rubric.title : "";
        const int converted = MultiByteToWideChar(CP_ACP, 0, text, -1, title, rubricTitleCharacters);
        if (converted <= 0)
            title[0] = 0;
        title[rubricTitleCharacters - 1] = 0;
        if (_wcsnicmp(title, caption, length) == 0 && db->rubric.firmListRef != noFirmList) {
            PostMessageW(window, openFirmListMessage, 0, static_cast<LPARAM>(db->rubric.firmListRef));
            return true;
        }
    }
    return false;
}

LRESULT CALLBACK homeScreenProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    shellState.mainWindow = window;
    switch (message) {
    case WM_CREATE:
        onCreate();
        return 0;
    case WM_DESTROY:
        onDestroy(window);
        return 0;
    case WM_SIZE:
        layoutTiles(window);
        return 0;
    case WM_ACTIVATE:
        SHHandleWMActivate(window, wParam, lParam, &shellState.shellWindowState, FALSE);
        return 0;
    case WM_SETTINGCHANGE:
        SHHandleWMSettingChange(window, wParam, lParam, &shellState.shellWindowState);
        return 0;
    case WM_SETFOCUS:
        onFocus(window, reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_PAINT:
        return onPaint(window, message, wParam, lParam);
    case WM_ERASEBKGND:
        drawBar(buttonBar, window);
        return 1;
    case WM_CANCELMODE:
        onCancelMode(window);
        return 0;
    case WM_NOTIFY:
        onNotify(window, lParam);
        return 0;
    case WM_KEYDOWN:
        onKeyDown(window, static_cast<UINT>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        onStylusDown(window, stylusX(lParam), stylusY(lParam));
        return 0;
    case WM_LBUTTONUP:
        onStylusUp(window, stylusX(lParam), stylusY(lParam));
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDM_EXIT_PROGRAM:
            DestroyWindow(window);
            return 0;
        case IDM_ABOUT_MAKER:
            openAboutScreen(window);
            return 0;
        case IDM_ADD_FAVOURITE:
            addFavouriteCommand(window);
            return 0;
        case IDM_CLEAR_FAVOURITES:
            clearFavourites(window);
            return 0;
        case IDM_EDIT_FAVOURITES:
            editFavourites(window);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
        }
    case openFirmListMessage:
        searchState.firmListRequest.firmListRef = static_cast<uint32_t>(lParam);
        searchState.firmListRequest.rubricIndex = static_cast<int32_t>(wParam);
        shellState.returnHomeMarker = 0;
        openFirmListScreen(window);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
