// All program-wide state of the window manager, in one record, and the internal operations the
// window manager's files share. One thread uses it.
#pragma once

#include "platform/gdi/screen.h"
#include "platform/ui/input.h"
#include "win32.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace ui {

struct WindowClass {
    std::u16string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int classExtra = 0;
    int windowExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    std::u16string menuName;
    unsigned windows = 0;
    bool live = false;
};

struct DialogState {
    DLGPROC proc = nullptr;
    LONG_PTR msgResult = 0;
    LONG_PTR user = 0;
    bool ended = false;
    INT_PTR result = 0;
    WORD defaultId = 0;
    HFONT font = nullptr;
    bool ownsFont = false;
    int baseX = 0;
    int baseY = 0;
    HWND savedFocus = nullptr;
    // The window the modal loop disabled, enabled again by EndDialog.
    HWND disabledOwner = nullptr;
};

// A run of text the window shows, in its client coordinates.
struct DrawnText {
    std::u16string text;
    RECT cell{};
};

struct Window {
    HWND handle = nullptr;
    size_t classIndex = 0;
    std::u16string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;  // the desktop for top-level windows
    HWND owner = nullptr;
    std::vector<HWND> children;  // z-order, topmost first
    RECT window{};  // in the parent's client coordinates
    RECT client{};  // in the parent's client coordinates
    LONG_PTR id = 0;
    LONG_PTR userData = 0;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    std::vector<uint8_t> extra;
    // The invalid part of the client area: disjoint rectangles in client coordinates.
    std::vector<RECT> invalid;
    bool erase = false;
    bool frameDirty = false;
    bool destroying = false;
    std::unique_ptr<DialogState> dialog;
    // The texts drawn into the client area and not painted over since (drawn_texts.cpp).
    std::vector<DrawnText> drawnTexts;
};

// A context handed out by GetDC or BeginPaint, kept up to date while its window moves.
struct LiveDC {
    HDC dc = nullptr;
    HWND window = nullptr;  // null: the whole screen
    bool clientOnly = true;
    // BeginPaint's: the invalid part it was made for, in screen coordinates.
    bool limited = false;
    std::vector<RECT> limit;
};

struct WindowSlot {
    uint16_t generation = 0;
    std::unique_ptr<Window> window;
};

struct Timer {
    HWND window = nullptr;
    UINT_PTR id = 0;
    UINT period = 0;
    TIMERPROC proc = nullptr;
    DWORD due = 0;
};

struct AcceleratorTable {
    std::vector<ACCEL> entries;
    const void* resource = nullptr;  // the resource it was loaded from, for LoadAccelerators' reuse
};

struct AcceleratorSlot {
    uint16_t generation = 0;
    std::unique_ptr<AcceleratorTable> table;
};

struct UiState {
    std::vector<WindowClass> classes;
    std::vector<WindowSlot> windows;
    HWND desktop = nullptr;
    std::deque<MSG> posted;
    bool quitPosted = false;
    int quitCode = 0;
    std::vector<Timer> timers;
    UINT_PTR nextTimerId = 1;
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
    bool inForeground = true;
    HWND lastActiveBeforeBackground = nullptr;
    // The key state of the messages handled so far (GetKeyState) and of the input as it came
    // (GetAsyncKeyState): a key pressed and released before its messages are read is still down
    // while its WM_KEYDOWN is handled, as on the platform.
    BYTE keys[256]{};
    BYTE asyncKeys[256]{};
    bool stylusIsDown = false;
    POINT cursorPos{};
    HCURSOR cursor = nullptr;
    int cursorShowCount = 0;
    IdleHandler idle = nullptr;
    bool presenterActive = false;
    bool captionStrips = true;
    RECT workArea{};  // empty: the whole screen
    // GetMessage found nothing with nobody to deliver input: the program's windows were closed.
    bool closedForLackOfInput = false;
    DWORD lastMessageTime = 0;
    POINT lastMessagePos{};
    std::vector<AcceleratorSlot> accelerators;
    std::vector<LiveDC> liveDCs;
    // The caption button the stylus went down on (HTCLOSE, HTMINBUTTON), until it comes up.
    HWND captionPressWindow = nullptr;
    int captionPressHit = HTNOWHERE;
    // Off only while no shown window needs painting: a pump with nothing to paint then skips the
    // walk of the window tree. Whatever can make a shown window need painting (an invalid piece
    // added, a frame marked dirty, a window shown) sets it through notePaintPending.
    bool paintMayBePending = true;
};

UiState& uiState();

// ---- handles (windows.cpp) -------------------------------------------------------------------

// The live window of a handle, or null with ERROR_INVALID_WINDOW_HANDLE.
Window* windowOf(HWND handle);
// The same without touching the last error.
Window* peekWindow(HWND handle);
Window& desktopWindow();
bool isTopLevel(const Window& w);
HWND topLevelOf(HWND handle);
// The window and every ancestor up to the desktop have WS_VISIBLE.
bool isShownOnScreen(const Window& w);
// The window and its ancestors are enabled.
bool isEnabledChain(const Window& w);

// ---- classes (classes.cpp) -------------------------------------------------------------------

WindowClass* findClass(LPCWSTR name);
void registerSystemClasses();

// ---- drawn texts (drawn_texts.cpp) -----------------------------------------------------------

// Starts keeping each window's drawn texts (the gdi tells of every run).
void keepDrawnTexts();
// A paint cycle is about to redraw these parts (client coordinates): what was drawn there goes.
void forgetDrawnTexts(Window& w, const std::vector<RECT>& repainted);

// ---- geometry (geometry.cpp) -----------------------------------------------------------------

RECT screenRect();
// Where the client (0, 0) of the window lies on the screen.
POINT clientOrigin(const Window& w);
RECT windowOnScreen(const Window& w);
RECT clientOnScreen(const Window& w);
// The frame of a window of this style: left, top, right and bottom widths.
RECT frameInsets(DWORD style, DWORD exStyle, bool child);
// The frame a window was laid out with (client less window), which outlives later style changes
// until SWP_FRAMECHANGED; and its caption strip, both in window coordinates.
RECT laidOutInsets(const Window& w);
RECT captionStrip(const Window& w);
// Places the window among its siblings; insertAfter as SetWindowPos takes it.
void placeInZOrder(Window& w, HWND insertAfter);
// The parts of the screen where the window (client area or whole window) may draw.
std::vector<gdi::ClipRect> visibleRegion(const Window& w, bool clientOnly);

// ---- rectangles (rects.cpp) ------------------------------------------------------------------

bool rectEmpty(const RECT& r);
RECT intersect(const RECT& a, const RECT& b);
// a less b, as up to four disjoint rectangles appended to out.
void subtractRect(const RECT& a, const RECT& b, std::vector<RECT>& out);
void subtractFromRegion(std::vector<gdi::ClipRect>& region, const RECT& cut);
void intersectRegion(std::vector<gdi::ClipRect>& region, const RECT& with);

// ---- painting (paint.cpp) --------------------------------------------------------------------

void invalidateClient(Window& w, const RECT* rect, bool erase, bool withChildren);
// Every visible descendant drawn whole again, frame included: a window that appears, moves or
// changes size shows its children anew even when WS_CLIPCHILDREN keeps its own paint off them.
void invalidateDescendants(Window& w);
// Makes every window show what lies in the given screen rectangle again (a window moved away,
// was hidden or destroyed).
void exposeScreenRect(const RECT& rect);
// The first window (parents before children) whose client or frame needs painting.
Window* windowNeedingPaint(HWND filter);
void notePaintPending();
// Marks the window's frame for a WM_NCPAINT when dirty is true, clears the mark otherwise.
void setFrameDirty(Window& w, bool dirty);
bool anyWindowNeedsPaint();
void refreshLiveDCs();
void releaseDCsOf(Window& w);
HBRUSH brushFromClass(HBRUSH classBrush);

// ---- queue (queue.cpp) -----------------------------------------------------------------------

void postInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void dropMessagesOf(HWND window);
// Runs the loop of a modal window until finished(window) says so; returns false when WM_QUIT
// ended it (the quit is then posted again for the outer loop).
bool runModalLoop(HWND window, bool (*finished)(HWND), bool dialogKeys);
LRESULT sendTo(Window& w, UINT message, WPARAM wParam, LPARAM lParam);

// ---- input (input.cpp) -----------------------------------------------------------------------

// A key message leaves the queue: GetKeyState follows it.
void keyMessageTaken(const MSG& msg);

// ---- timers (timers.cpp) ---------------------------------------------------------------------

// The due timer to report as WM_TIMER (restarted when remove is set).
bool takeDueTimer(HWND filter, bool remove, MSG& msg);
bool anyTimerDue();
void killTimersOf(HWND window);

// ---- focus (focus.cpp) -----------------------------------------------------------------------

void activateWindow(HWND top, WORD how);
// The window is going away or being hidden: hand focus, activation and capture on.
void forgetWindow(Window& w, bool destroying);
void bringToTop(Window& top);

// ---- dialogs (dialogs.cpp) -------------------------------------------------------------------

DialogState& dialogStateOf(Window& w);
// The modal loop of a dialog already made (DialogBoxParam, the message box): the owner is
// disabled while it runs; the dialog is destroyed when it ends. Returns EndDialog's result.
INT_PTR runModalDialog(HWND dialog, HWND owner);
void forgetModalDialogs();

// ---- non-client drawing (frame.cpp) ----------------------------------------------------------

void drawFrame(HWND handle);

// The desktop's caption buttons (caption_buttons.cpp): the icon, minimise, maximise and close of a
// top-level window with a system menu, where the window manager draws the caption strip.
bool hasCaptionButtons(const Window& w);
// What of the caption strip lies under a screen point: HTSYSMENU, HTMINBUTTON, HTMAXBUTTON, HTCLOSE,
// or HTCAPTION.
int captionHitTest(const Window& w, POINT screen);
// Draws the icon and the buttons into the strip (window coordinates) and narrows `strip` to what is
// left for the caption's text.
void drawCaptionButtons(HDC dc, const Window& w, RECT& strip);
// The stylus on a caption button: true when the button took it (the window sees no mouse message).
bool captionStylusDown(int x, int y);
bool captionStylusUp(int x, int y);

// ---- resets ----------------------------------------------------------------------------------

void resetAcceleratorTables();

// ---- message boxes (message_box.cpp) ---------------------------------------------------------

LRESULT CALLBACK messageBoxProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace ui
