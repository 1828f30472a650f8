#include "launcher/main_window.h"

#include "launcher/choice.h"
#include "launcher/painting.h"
#include "resources/launcher/launcher_ids.h"

namespace {

int clientX(LPARAM lParam)
{
    return static_cast<short>(LOWORD(lParam));
}

int clientY(LPARAM lParam)
{
    return static_cast<short>(HIWORD(lParam));
}

void onPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc != nullptr)
        paintLauncher(launcherState, dc);
    EndPaint(window, &paint);
}

// The pressed look: the highlighted picture shows at once, before any repaint.
void onButtonDown(HWND window, int x, int y)
{
    int hit = hitTest(launcherState, x, y);
    if (hit < 0 || hit >= launcherState.activeButtons)
        return;
    HDC dc = GetDC(window);
    if (dc == nullptr)
        return;
    drawButton(launcherState, dc, hit, launcherState.buttons[hit].highlighted);
    ReleaseDC(window, dc);
}

void onButtonUp(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    if (dc != nullptr) {
        for (int entry = 0; entry < launcherState.activeButtons; ++entry)
            drawButton(launcherState, dc, entry, launcherState.buttons[entry].normal);
        ReleaseDC(window, dc);
    }

    switch (releaseOn(launcherState, hitTest(launcherState, x, y))) {
    case ReleaseAction::StartSetup:
        // Whatever the shell makes of it, the launcher's work is done. A path too long to
        // hold was never stored, and an empty one must not be handed to the shell.
        if (launcherState.setupCommand[0] != '\0')
            ShellExecuteA(window, "open", launcherState.setupCommand, nullptr, nullptr, SW_SHOWNORMAL);
        DestroyWindow(window);
        break;
    case ReleaseAction::OpenSite:
        ShellExecuteA(window, "open", "IEXPLORE.EXE", makerSiteAddress, nullptr, SW_SHOWNORMAL);
        InvalidateRect(window, nullptr, FALSE);
        break;
    case ReleaseAction::Repaint:
        InvalidateRect(window, nullptr, FALSE);
        break;
    }
}

} // namespace

LRESULT CALLBACK launcherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDM_ABOUT:
            DialogBoxParamA(launcherState.instance, MAKEINTRESOURCEA(IDD_ABOUTBOX), window, aboutBoxProc, 0);
            return 0;
        case IDM_EXIT:
            DestroyWindow(window);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
        }
    case WM_PAINT:
        onPaint(window);
        return 0;
    case WM_LBUTTONDOWN:
        onButtonDown(window, clientX(lParam), clientY(lParam));
        return 0;
    case WM_LBUTTONUP:
        onButtonUp(window, clientX(lParam), clientY(lParam));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

INT_PTR CALLBACK aboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}
