// What the firm list and the white pages share: a list box as the sink of the landed list
// operations, the screen's hooks for their boxes, cursor and pump, and the frame of a screen whose
// lines open business cards (bar actions, paint, the next-firm message, the layout with the input
// panel). Each screen keeps one ListScreen and handles only its own lists.
#pragma once

#include <cstdint>
#include <vector>

#include "search/sinks.h"
#include "shell/screen_protocol.h"

// A list box fed by a list operation. With `measure`, the widest line so far becomes the list's
// horizontal extent, so that its horizontal scroll bar reaches the end of every line.
class ListBoxSink : public ListSink {
public:
    ListBoxSink(HWND box, bool measure);
    ~ListBoxSink() override;
    ListBoxSink(const ListBoxSink&) = delete;
    ListBoxSink& operator=(const ListBoxSink&) = delete;
    bool addLine(const WCHAR* text, ItemValue value) override;
    void selectLine(int32_t index) override;

private:
    // A line's extent is the sum of its characters' extents: each character is measured once.
    // Both answer -1 when the list's font cannot measure.
    int lineWidth(const WCHAR* text);
    int characterWidth(WCHAR character);

    HWND list;
    HDC dc = nullptr;
    HGDIOBJ previousFont = nullptr;
    int widest = 0;
    std::vector<int> widths;  // of the Latin and Cyrillic characters, -1 until measured
};

// Boxes owned by the screen, the wait cursor, and the shell's message pump.
class ScreenBoxHooks : public ScreenHooks {
public:
    explicit ScreenBoxHooks(HWND screen) : owner(screen) {}
    int messageBox(const WCHAR* text, const WCHAR* caption, UINT type) override;
    void showWaitCursor() override;
    void restoreCursor() override;
    void pumpMessages() override;

private:
    HWND owner;
    HCURSOR previous = nullptr;
};

struct ListScreen {
    ScreenFrame frame;
    int firmListId;          // the list whose lines open business cards
    const char* helpAnchor;  // null: help from its top
    void (*layout)(HWND dialog);
    // While a fill pumps messages or a card is open, nothing else may read the firm table: a line
    // chosen then is opened once the screen is free again.
    int busy;
    bool openPending;
    bool closed;
};

// The content rectangle, its bottom raised by the input panel while the panel is up.
void listArea(HWND dialog, RECT& area);

// A fill or a card starts and ends; the end opens a line chosen meanwhile.
void beginBusy(ListScreen& screen);
void endBusy(HWND dialog, ListScreen& screen);

// The firm list notified a choice (selection change, double tap): the card of the selected line.
void onFirmLineChosen(HWND dialog, ListScreen& screen);

// Every way out of the screen; `home` for the home button.
void closeListScreen(HWND dialog, ListScreen& screen, bool home);

// Paint, the stylus on the bar, size changes and the next-firm message, then what every screen
// answers alike. True when handled; `close` is the screen's own way out for screenFrameMessage.
bool listScreenMessage(HWND dialog, ListScreen& screen, UINT message, WPARAM wParam, LPARAM lParam,
                       void (*close)(HWND dialog));
