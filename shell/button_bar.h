// The strip of icon buttons at the foot of every screen. Not a control: each screen draws it on
// paint, hit-tests the stylus against it and acts on the icon identifier of the slot lifted on.
#pragma once

#include "win32.h"

struct BarSlot {
    int iconId;  // also the button's action code
    int visible; // 0: hidden and not hit-testable
    int x;
    int y;
    int width;
    int height;
    HICON icon;
};

constexpr int barSlotCount = 8;
constexpr int initialBarHeight = 25;

struct ButtonBar {
    short height;  // the bar's unit height: the task bar's once the home screen exists
    short mode;    // 0: the home layout; otherwise the screens' layout
    BarSlot slots[barSlotCount];
};

// The one bar of the program.
extern ButtonBar buttonBar;

// What the home layout needs to know of the databases: whether to offer the change button and
// which of its two pictures to show.
struct BarDatabaseState {
    bool changeOffered;  // a database is open and more than one was found
    bool cityM;          // the open database's city letter is 0xCC
};

// The slots as the program starts: all hidden at x 0, height 25, home layout, no icons.
void resetButtonBar(ButtonBar& bar);
// Loads every slot's icon from the program's resources.
void loadBarIcons(ButtonBar& bar);
// Places the slots in the strip whose left, top and right are given (client coordinates).
void layoutBar(ButtonBar& bar, int left, int top, int right, const BarDatabaseState& databases);
// The strip of a window: the bottom `height` client pixels, computed from its outer rectangle.
RECT barStrip(const ButtonBar& bar, HWND window);
// Lays the bar out and draws it; with `area` (client coordinates) only what of it lies there,
// the rest being on the screen already.
void drawBar(ButtonBar& bar, HWND window, const RECT* area = nullptr);
// The first visible slot holding the point, or -1.
int hitTestBar(const ButtonBar& bar, int x, int y);
// The pressed frame of a slot, and the slot drawn unpressed again; nothing outside 0-7.
void pressBarButton(const ButtonBar& bar, int index, HWND window);
void releaseBarButton(const ButtonBar& bar, int index, HWND window);
// The databases as the reader's program-wide state has them now.
BarDatabaseState currentBarDatabases();
