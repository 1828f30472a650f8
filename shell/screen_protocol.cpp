#include "shell/screen_protocol.h"

#include "card/html_pane.h"
#include "ce.h"
#include "htmlview.h"
#include "resources/dernolo/dernolo_ids.h"
#include "shell/button_bar.h"
#include "shell/screen_frame.h"
#include "shell/shell_state.h"

namespace {

// The home screen's page index while a page covers a modal screen: closing it gives page 0 back.
constexpr int pageOverScreen = -3;
constexpr int helpChunk = 0;

} // namespace

void openScreen(HWND dialog, ScreenFrame& frame)
{
    SHINITDLGINFO init = {};
    init.dwMask = SHIDIM_FLAGS;
    init.hDlg = dialog;
    init.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR;
    SHInitDialog(&init);
    frame.savedBarMode = buttonBar.mode;
    buttonBar.mode = 1;
}

void closeScreen(HWND dialog, const ScreenFrame& frame, INT_PTR result)
{
    buttonBar.mode = frame.savedBarMode;
    closePane();
    if (setInputPanel(shellState.mainWindow, inputPanelQuery) != 0)
        setInputPanel(dialog, inputPanelLower);
    EndDialog(dialog, result);
}

void closeScreenHome(HWND dialog, const ScreenFrame& frame)
{
    shellState.returnHomeMarker = returnHomeValue;
    closeScreen(dialog, frame, IDOK);
}

void endProgram(HWND dialog, const ScreenFrame& frame)
{
    closeScreenHome(dialog, frame);
    PostMessageW(shellState.mainWindow, WM_CLOSE, 0, 0);
}

bool closeIfReturningHome(HWND dialog, const ScreenFrame& frame)
{
    if (shellState.returnHomeMarker != returnHomeValue)
        return false;
    closeScreen(dialog, frame, IDOK);
    return true;
}

void openScreenHelp(HWND dialog, const char* anchor)
{
    if (openPane(dialog) != 0)
        return;
    HtmlPane& pane = *pageViewer.currentPane;
    loadHelpText(pane, helpChunk);
    if (anchor == nullptr) {
        showHelpText(pane, true);
    } else {
        showHelpText(pane, false);
        jumpToAnchor(pane, anchor);
    }
    shellState.homePageIndex = pageOverScreen;
}

bool paintUnderPage(HWND dialog)
{
    if (!pageOpen())
        return false;
    drawBar(buttonBar, dialog);
    SetFocus(pageViewer.currentPane->view);
    return true;
}

void keepFullScreen(HWND dialog)
{
    if (setInputPanel(shellState.mainWindow, inputPanelQuery) != 0)
        return;
    shellState.inputPanelUp = false;
    hideShellBars(dialog);
}

HDC beginScreenPaint(HWND dialog, PAINTSTRUCT& paint)
{
    keepFullScreen(dialog);
    HDC dc = BeginPaint(dialog, &paint);
    // What of the bar is not invalid is on the screen already.
    if (dc != nullptr)
        drawBar(buttonBar, dialog, &paint.rcPaint);
    return dc;
}

bool paintScreenFrame(HWND dialog)
{
    if (paintUnderPage(dialog))
        return false;
    PAINTSTRUCT paint;
    if (beginScreenPaint(dialog, paint) != nullptr)
        EndPaint(dialog, &paint);
    return true;
}

bool pageBarAction(HWND dialog, int iconId)
{
    HtmlPane* pane = pageViewer.currentPane;
    if (pane == nullptr || !pageOpen())
        return false;
    switch (iconId) {
    case IDI_BAR_FORWARD:
        historyForward(*pane);
        return true;
    case IDI_BAR_BACK:
    case IDI_BAR_HOME:
        if (pane->historyIndex <= 0) {
            // Closing gives the focus to the main window, which is disabled under a modal screen.
            closePane();
            SetFocus(dialog);
        } else if (iconId == IDI_BAR_BACK)
            historyBack(*pane);
        else
            historyHome(*pane);
        return true;
    default:
        return false;
    }
}

LRESULT forwardPageLink(LPARAM lParam)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr && header->code == NM_HOTSPOT && pageViewer.currentPane != nullptr)
        onLinkActivated(*pageViewer.currentPane, reinterpret_cast<const NM_HTMLVIEW*>(lParam));
    return 0;
}

bool screenFrameMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, void (*close)(HWND dialog))
{
    switch (message) {
    case WM_NOTIFY:
        SetWindowLongW(dialog, DWL_MSGRESULT, forwardPageLink(lParam));
        return true;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL)
            return false;
        close(dialog);
        return true;
    case WM_CLOSE:
        close(dialog);
        return true;
    default:
        return false;
    }
}

void pressBarAt(HWND window, int x, int y)
{
    pressBarButton(buttonBar, hitTestBar(buttonBar, x, y), window);
}

int releaseBarAt(HWND window, int x, int y)
{
    const int slot = hitTestBar(buttonBar, x, y);
    releaseBarButton(buttonBar, slot, window);
    return slot >= 0 ? buttonBar.slots[slot].iconId : 0;
}
