#include "card/metro_screen.h"

#include "card/html_pane.h"
#include "card/metro_panning.h"
#include "win32/controls.h"
#include "resources/dernolo/dernolo_ids.h"
#include "shell/bitmap_surface.h"
#include "shell/button_bar.h"
#include "shell/screen_frame.h"
#include "shell/screen_protocol.h"
#include "shell/shell_state.h"

namespace {

constexpr int schemePicture = 4;
constexpr int waitForMorePointsMs = 100;

struct MetroScreen {
    BitmapSurface surface;
    bool loadTried;      // one load per opening and size: a damaged picture is reported once
    SchemeView view;
    bool tapFlag;        // the stylus went down outside the bar and nothing has moved the view since
    bool onScheme;       // the stylus is down outside the bar
    bool barRepaint;     // the next paint also draws the bar
    ScreenFrame frame;
};

// The one metro screen while it is open.
MetroScreen metro;

void contentSize(HWND dialog, int& width, int& height)
{
    RECT content;
    contentRect(dialog, content);
    width = content.right - content.left;
    height = content.bottom - content.top;
}

void onInit(HWND dialog)
{
    metro = MetroScreen{};
    initSurface(metro.surface);
    metro.view.scrollX = -1;
    metro.view.scrollY = -1;
    // The first paint draws the bar too: a screen must never open without it.
    metro.barRepaint = true;
    openScreen(dialog, metro.frame);
    // The screen has no controls: the direction keys come to the dialog itself.
    SetFocus(dialog);
}

void closeMetro(HWND dialog)
{
    releaseSurface(metro.surface);
    closeScreen(dialog, metro.frame, IDOK);
}

void closeHome(HWND dialog)
{
    releaseSurface(metro.surface);
    closeScreenHome(dialog, metro.frame);
}

bool onPaint(HWND dialog)
{
    if (paintUnderPage(dialog))
        return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    if (dc == nullptr)
        return true;
    if (metro.barRepaint) {
        keepFullScreen(dialog);
        drawBar(buttonBar, dialog);
    } else {
        metro.barRepaint = true;
    }
    if (!surfaceLoaded(metro.surface) && !metro.loadTried) {
        metro.loadTried = true;
        loadPicture(metro.surface, dc, schemePicture);
    }
    contentSize(dialog, metro.view.width, metro.view.height);
    if (surfaceLoaded(metro.surface)) {
        metro.view.pictureWidth = pictureWidth(metro.surface);
        metro.view.pictureHeight = pictureHeight(metro.surface);
        placeScheme(metro.view);
        copyPicture(metro.surface, dc, metro.view.scrollX, metro.view.scrollY, static_cast<short>(metro.view.width),
                    static_cast<short>(metro.view.height));
    }
    EndPaint(dialog, &paint);
    return true;
}

void pan(HWND dialog, int dx, int dy)
{
    if (!surfaceLoaded(metro.surface))
        return;
    metro.tapFlag = false;
    shiftScheme(metro.view, dx, dy);
    metro.barRepaint = false;
    InvalidateRect(dialog, nullptr, FALSE);
}

void onStylusMove(HWND dialog)
{
    if (!metro.onScheme)
        return;
    POINT points[maxMovePoints];
    UINT count = 0;
    if (!GetMouseMovePoints(points, maxMovePoints, &count))
        return;
    int dx = 0;
    int dy = 0;
    switch (dragShift(points, static_cast<int>(count), dx, dy)) {
    case MoveReport::shift:
        pan(dialog, dx, dy);
        break;
    case MoveReport::tooFew:
        Sleep(waitForMorePointsMs);
        break;
    case MoveReport::none:
        break;
    }
}

void onStylusDown(HWND dialog, int x, int y)
{
    pressBarAt(dialog, x, y);
    if (hitTestBar(buttonBar, x, y) >= 0)
        return;
    metro.tapFlag = true;
    metro.onScheme = true;
    // The down point is taken here, so a lift without a move reports exactly one point.
    POINT points[maxMovePoints];
    UINT count = 0;
    GetMouseMovePoints(points, maxMovePoints, &count);
}

void onBarAction(HWND dialog, int iconId)
{
    if (pageBarAction(dialog, iconId))
        return;
    switch (iconId) {
    case IDI_BAR_BACK:
        closeMetro(dialog);
        break;
    case IDI_BAR_HOME:
        closeHome(dialog);
        break;
    case IDI_BAR_HELP:
        openScreenHelp(dialog, "#t41");
        break;
    case IDI_BAR_EXIT:
        releaseSurface(metro.surface);
        endProgram(dialog, metro.frame);
        break;
    case IDI_BAR_KEYBOARD:
        if (setInputPanel(shellState.mainWindow, inputPanelQuery) != 0)
            setInputPanel(dialog, inputPanelLower);
        break;
    default:
        break;
    }
}

void onStylusUp(HWND dialog, int x, int y)
{
    const bool wasOnScheme = metro.onScheme;
    metro.onScheme = false;
    if (const int iconId = releaseBarAt(dialog, x, y); iconId != 0) {
        onBarAction(dialog, iconId);
        return;
    }
    if (!wasOnScheme || !metro.tapFlag || pageOpen())
        return;
    POINT points[maxMovePoints];
    UINT count = 0;
    if (!GetMouseMovePoints(points, maxMovePoints, &count) || count != 1)
        return;
    // The points are the screen's; the tapped point is taken in the content area.
    POINT origin = {0, 0};
    ClientToScreen(dialog, &origin);
    const POINT tapped = {points[0].x - origin.x * 4, points[0].y - origin.y * 4};
    int dx = 0;
    int dy = 0;
    tapShift(metro.view, tapped, dx, dy);
    pan(dialog, dx, dy);
}

} // namespace

INT_PTR CALLBACK metroScreenProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        onInit(dialog);
        return FALSE;
    case WM_PAINT:
        return onPaint(dialog) ? TRUE : FALSE;
    case WM_SIZE:
        releaseSurface(metro.surface);
        initSurface(metro.surface);
        metro.loadTried = false;
        return TRUE;
    case WM_GETDLGCODE:
        // The arrows pan the scheme instead of moving between (absent) controls.
        SetWindowLongW(dialog, DWL_MSGRESULT, DLGC_WANTARROWS);
        return TRUE;
    case WM_KEYDOWN: {
        int dx = 0;
        int dy = 0;
        if (!keyShift(static_cast<UINT>(wParam), dx, dy))
            return FALSE;
        pan(dialog, dx, dy);
        return TRUE;
    }
    case WM_LBUTTONDOWN:
        onStylusDown(dialog, stylusX(lParam), stylusY(lParam));
        return TRUE;
    case WM_MOUSEMOVE:
        onStylusMove(dialog);
        return TRUE;
    case WM_LBUTTONUP:
        onStylusUp(dialog, stylusX(lParam), stylusY(lParam));
        return TRUE;
    default:
        return screenFrameMessage(dialog, message, wParam, lParam, closeMetro) ? TRUE : FALSE;
    }
}
