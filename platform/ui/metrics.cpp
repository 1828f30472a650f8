// System metrics and cursors. The device has no pointer to draw: the only cursor it shows is the
// wait cursor, which the presenter draws over the screen while it is set.
#include "platform/gdi/faces.h"
#include "platform/ui/ui_state.h"
#include "platform/ui/window_manager.h"

namespace ui {

namespace {

constexpr uintptr_t cursorTag = 0x43550000;
// The handheld's frames are one flat pixel; the desktop's are the reference's: a 3-pixel dialog
// frame, a 4-pixel sizing frame and a 19-pixel caption (an 18-pixel strip and a line under it).
constexpr int handheldCaption = 20;
constexpr int desktopCaption = 19;
constexpr int desktopDialogFrame = 3;
constexpr int desktopSizingFrame = 4;

bool desktopLook() { return gdi::deviceLook() == gdi::DeviceLook::desktop; }

HCURSOR systemCursor(uintptr_t id) { return reinterpret_cast<HCURSOR>(cursorTag | id); }

bool isSystemCursorId(uintptr_t id)
{
    switch (id) {
    case 32512: case 32513: case 32514: case 32515: case 32516: case 32646: case 32648: case 32649: case 32650:
        return true;
    default:
        return false;
    }
}

} // namespace

bool waitCursorShown()
{
    const UiState& s = uiState();
    return s.cursor == systemCursor(32514) && s.cursorShowCount >= 0;
}

void setCaptionStrips(bool drawn) { uiState().captionStrips = drawn; }

void setWorkArea(const RECT& area) { uiState().workArea = area; }

RECT workArea()
{
    const RECT& area = uiState().workArea;
    if (rectEmpty(area))
        return screenRect();
    return intersect(area, screenRect());
}

} // namespace ui

HCURSOR WINAPI LoadCursorW(HINSTANCE hInstance, LPCWSTR lpCursorName)
{
    const auto id = reinterpret_cast<uintptr_t>(lpCursorName);
    if (hInstance != nullptr || !IS_INTRESOURCE(lpCursorName) || !ui::isSystemCursorId(id)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return ui::systemCursor(id);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName)
{
    if (!IS_INTRESOURCE(lpCursorName)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return LoadCursorW(hInstance, reinterpret_cast<LPCWSTR>(lpCursorName));
}

HCURSOR WINAPI SetCursor(HCURSOR hCursor)
{
    ui::UiState& s = ui::uiState();
    const HCURSOR previous = s.cursor;
    // The presenter looks at waitCursorShown whenever it shows the screen.
    s.cursor = hCursor;
    return previous;
}

HCURSOR WINAPI GetCursor(void) { return ui::uiState().cursor; }

int WINAPI ShowCursor(BOOL bShow)
{
    ui::UiState& s = ui::uiState();
    s.cursorShowCount += bShow ? 1 : -1;
    return s.cursorShowCount;
}

BOOL WINAPI GetCursorPos(LPPOINT lpPoint)
{
    if (lpPoint == nullptr)
        return FALSE;
    *lpPoint = ui::uiState().cursorPos;
    return TRUE;
}

int WINAPI GetSystemMetrics(int nIndex)
{
    const RECT screen = ui::screenRect();
    const RECT work = ui::workArea();
    switch (nIndex) {
    case SM_CXSCREEN:
        return screen.right;
    case SM_CYSCREEN:
        return screen.bottom;
    case SM_CXFULLSCREEN:
        return work.right - work.left;
    case SM_CYFULLSCREEN:
        return work.bottom - work.top;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
        return 13;
    case SM_CYCAPTION:
        return ui::desktopLook() ? ui::desktopCaption : ui::handheldCaption;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return ui::desktopLook() ? ui::desktopDialogFrame : 1;
    case SM_CXFRAME:
    case SM_CYFRAME:
        return ui::desktopLook() ? ui::desktopSizingFrame : 1;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CYMENU:
        return 26;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return 4;
    case SM_CXICONSPACING:
    case SM_CYICONSPACING:
        return 75;
    case SM_MOUSEPRESENT:
    case SM_DEBUG:
        return 0;
    default:
        return 0;
    }
}

BOOL WINAPI MessageBeep(UINT) { return TRUE; }
