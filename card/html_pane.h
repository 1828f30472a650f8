// The one HTML page pane: a "DISPLAYCLASS" view over a screen's content area, above its button bar,
// showing the database's help text or a page of the HTML\ folder beside the database, with a short
// history that the bar's back, forward and home buttons walk.
#pragma once

#include "db/format.h"
#include "htmlview.h"
#include "win32.h"

#include <cstdint>

constexpr int historyEntries = 10;
constexpr int historyEntryBytes = 256;

struct HtmlPane {
    uint32_t chunkPosition;  // file offset of the chunk header last read while loading help
    // Code page 1251 texts: "" the help text from its top, "#name" an anchor of the help text,
    // anything else an address or link target to navigate to.
    char history[historyEntries][historyEntryBytes];
    HWND view;
    uint8_t chunkHeader[ydb::chunkHeaderSize];
    char* text;             // the help text, zero-terminated, LocalAlloc'ed; null when none
    int16_t historyIndex;   // the current entry; -1 while the history is empty
};

struct PageViewerState {
    HtmlPane* currentPane = nullptr;
    bool htmlControlReady = false;
};

// The one instance.
extern PageViewerState pageViewer;

// Creates the pane when there is none and puts its view over the parent's content area, the bar
// in the screens' layout. 0; -1 no memory for the pane; -2 the view could not be created.
int openPane(HWND parent);
// Gives the home screen back the page it came from, destroys the view and frees the pane, and
// returns the focus to the main window, repainted.
void closePane();
// The n-th "HT" chunk of the current database into `text`. 0; -1 no such chunk (or a chain that
// cannot be walked); -2 no memory; -3 the chunk ends early (what arrived is kept, terminated);
// -6 no database open.
int loadHelpText(HtmlPane& pane, int n);
// Shows `text`; with `record`, the help text becomes a new history entry.
void showHelpText(HtmlPane& pane, bool record);
void jumpToAnchor(HtmlPane& pane, const char* anchor);
// The loading page, then the view navigated to the address, stored at the current position.
void showAddress(HtmlPane& pane, const char* address);
// A page of the folder of the current database (`page` relative to it, e.g. "HTML\bridges.html")
// in a pane over the screen. The first page opened is not part of the history.
void openInfoPage(HWND screen, const WCHAR* page);
void historyBack(HtmlPane& pane);
void historyForward(HtmlPane& pane);
void historyHome(HtmlPane& pane);
// A link tapped in the view: mailto: goes to the mail program; anything else is recorded and left
// to the view, which follows it once the notification is answered as not handled.
void onLinkActivated(HtmlPane& pane, const NM_HTMLVIEW* notice);

// A page counts as open over the current screen while a pane exists and the home screen's page
// index says so (0 or negative).
bool pageOpen();
