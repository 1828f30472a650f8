#include "card/about_screen.h"

#include "card/html_pane.h"
#include "htmlview.h"
#include "resources/dernolo/dernolo_ids.h"
#include "shell/bitmap_surface.h"
#include "shell/button_bar.h"
#include "shell/screen_frame.h"
#include "shell/screen_protocol.h"
#include "shell/shell_state.h"

namespace {

// Short enough to stand between the two pictures in either orientation.
const WCHAR makerParagraph[] =
    W("Компания Morvane создаёт справочные и картографические программы для карманных компьютеров и ")
    W("коммуникаторов. Справочник работает без связи: адреса, телефоны, сайты и часы работы тысяч ")
    W("организаций города всегда под рукой. Издание обновляется несколько раз в год.");
const WCHAR productName[] = W("Lumetra");
const WCHAR productPage[] = W("HTML\\lumetra.html");

constexpr int portraitPictures = 0;   // upper 0, lower 1
constexpr int landscapePictures = 2;  // upper 2, lower 3
constexpr int pageOverScreen = -3;

struct AboutScreen {
    BitmapSurface upper;
    BitmapSurface lower;
    int orientation;  // 0 nothing loaded, 1 the portrait pictures, -1 the landscape ones
    ScreenFrame frame;
};

// The one about screen while it is open.
AboutScreen about;

void releasePictures()
{
    releaseSurface(about.upper);
    releaseSurface(about.lower);
}

void resetPictures()
{
    resetSurface(about.upper);
    resetSurface(about.lower);
    about.orientation = 0;
}

void closeAbout(HWND dialog)
{
    releasePictures();
    closeScreen(dialog, about.frame, IDOK);
}

// A picture that fails is reported once for its orientation; the screen stays usable without it.
void loadPicturesFor(HDC dc, int orientation)
{
    if (about.orientation == orientation)
        return;
    const int first = orientation == 1 ? portraitPictures : landscapePictures;
    loadPicture(about.upper, dc, first);
    loadPicture(about.lower, dc, first + 1);
    about.orientation = orientation;
}

void drawTexts(HDC dc, const RECT& area)
{
    const int margin = (area.right - area.left) / 16;
    SetBkMode(dc, TRANSPARENT);

    const TextStyle& body = textStyle(11);
    HGDIOBJ previous = SelectObject(dc, body.font);
    SetTextColor(dc, body.textColour);
    RECT measured = {margin, 0, area.right - margin, 0};
    DrawTextW(dc, makerParagraph, -1, &measured, DT_WORDBREAK | DT_LEFT | DT_NOPREFIX | DT_CALCRECT);
    const int height = measured.bottom - measured.top;
    RECT text = {margin, area.top + (area.bottom - area.top - height) / 2, area.right - margin, 0};
    text.bottom = text.top + height;
    DrawTextW(dc, makerParagraph, -1, &text, DT_WORDBREAK | DT_LEFT | DT_NOPREFIX);

    const TextStyle& link = textStyle(8);
    SelectObject(dc, link.font);
    SetTextColor(dc, link.textColour);
    RECT name = {0, 0, 0, 0};
    DrawTextW(dc, productName, -1, &name, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    const RECT placed = {area.right - margin - (name.right - name.left), area.bottom - (name.bottom - name.top),
                         area.right - margin, area.bottom};
    RECT drawn = placed;
    DrawTextW(dc, productName, -1, &drawn, DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, previous);
}

bool onPaint(HWND dialog)
{
    if (paintUnderPage(dialog))
        return false;
    PAINTSTRUCT paint;
    HDC dc = beginScreenPaint(dialog, paint);
    if (dc == nullptr)
        return true;
    RECT area;
    contentRect(dialog, area);
    const bool portrait = GetSystemMetrics(SM_CXSCREEN) < GetSystemMetrics(SM_CYSCREEN);
    loadPicturesFor(dc, portrait ? 1 : -1);
    const short width = static_cast<short>(area.right - area.left);
    if (surfaceLoaded(about.lower))
        stretchPicture(about.lower, dc, area.left, area.bottom - pictureHeight(about.lower), width, -1, -1, -1, -1,
                       -1);
    if (surfaceLoaded(about.upper)) {
        stretchPicture(about.upper, dc, area.left, area.top, width, -1, -1, -1, -1, -1);
        area.top += pictureHeight(about.upper) / 2;
    }
    drawTexts(dc, area);
    EndPaint(dialog, &paint);
    return true;
}

void openProductPage(HWND dialog)
{
    openInfoPage(dialog, productPage);
    if (pageViewer.currentPane != nullptr)
        shellState.homePageIndex = pageOverScreen;
}

void onStylusDown(HWND dialog, int x, int y)
{
    pressBarAt(dialog, x, y);
    if (pageViewer.currentPane != nullptr || hitTestBar(buttonBar, x, y) >= 0)
        return;
    RECT area;
    contentRect(dialog, area);
    if (x > (area.right / 4) * 3 && y > (area.bottom / 4) * 3)
        openProductPage(dialog);
}

void onBarAction(HWND dialog, int iconId)
{
    // Home at the page's first place closes the page and the screen together.
    if (iconId == IDI_BAR_HOME && !(pageOpen() && pageViewer.currentPane->historyIndex > 0)) {
        releasePictures();
        closeScreenHome(dialog, about.frame);
        return;
    }
    if (pageBarAction(dialog, iconId))
        return;
    switch (iconId) {
    case IDI_BAR_BACK:
        closeAbout(dialog);
        break;
    case IDI_BAR_HELP:
        openScreenHelp(dialog, nullptr);
        break;
    case IDI_BAR_EXIT:
        releasePictures();
        endProgram(dialog, about.frame);
        break;
    default:
        break;
    }
}

} // namespace

INT_PTR CALLBACK aboutScreenProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        about = AboutScreen{};
        initSurface(about.upper);
        initSurface(about.lower);
        openScreen(dialog, about.frame);
        return TRUE;
    case WM_PAINT:
        return onPaint(dialog) ? TRUE : FALSE;
    case WM_SIZE:
        resetPictures();
        return TRUE;
    case WM_LBUTTONDOWN:
        onStylusDown(dialog, stylusX(lParam), stylusY(lParam));
        return TRUE;
    case WM_LBUTTONUP:
        if (const int iconId = releaseBarAt(dialog, stylusX(lParam), stylusY(lParam)); iconId != 0)
            onBarAction(dialog, iconId);
        return TRUE;
    case WM_NOTIFY:
        if (pageViewer.currentPane == nullptr) {
            if (reinterpret_cast<const NMHDR*>(lParam)->code != NM_HOTSPOT)
                return FALSE;
            openProductPage(dialog);
            SetWindowLongW(dialog, DWL_MSGRESULT, 0);
            return TRUE;
        }
        return screenFrameMessage(dialog, message, wParam, lParam, closeAbout) ? TRUE : FALSE;
    default:
        return screenFrameMessage(dialog, message, wParam, lParam, closeAbout) ? TRUE : FALSE;
    }
}
