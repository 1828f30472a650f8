#include "card/business_card.h"

#include "card/card_fields.h"
#include "card/contact_actions.h"
#include "card/html_pane.h"
#include "db/database.h"
#include "db/database_program.h"
#include "resources/dernolo/dernolo_ids.h"
#include "shell/button_bar.h"
#include "shell/screen_frame.h"
#include "shell/screen_protocol.h"
#include "shell/shell_state.h"
#include "win32/controls.h"

namespace {

constexpr int nameStyle = 5;
constexpr int labelStyle = 6;
constexpr int bodyStyle = 7;
constexpr int linkStyle = 8;
constexpr int mailStyle = 12;

constexpr int iconColumn = 59;
constexpr int addressIconHeight = 37;
constexpr int buttonIconHeight = 20;
constexpr int droppedLines = 8;

struct BusinessCard {
    ScreenFrame frame;
    HWND owner;
    uint32_t detailsRef;  // the firm's details record, read again for its notes
};

// The one business card while it is open.
BusinessCard card;

// The brush the card's controls stand on where the colours ask for the light face.
HBRUSH lightFace() { return GetSysColorBrush(COLOR_3DLIGHT); }

// The colour of the label and link styles' brushes, which the text behind a control's letters
// takes where the colours table names those styles' background.
constexpr COLORREF styleBackground = RGB(132, 211, 247);

void setText(HWND dialog, int controlId, const std::u16string& text)
{
    SetDlgItemTextW(dialog, controlId, text.c_str());
}

void setFont(HWND dialog, int controlId, int style)
{
    SendDlgItemMessageW(dialog, controlId, WM_SETFONT, reinterpret_cast<WPARAM>(textStyle(style).font), FALSE);
}

void fillTelephones(HWND dialog, const Firm& firm, const FirmDetails& details)
{
    HWND box = GetDlgItem(dialog, IDC_CARD_TELEPHONES);
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    for (const std::u16string& entry : telephoneEntries(firm.phone, details.phones))
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    SendMessageW(box, CB_SETCURSEL, 0, 0);
}

void fillList(HWND dialog, DirectoryDatabase& db)
{
    HWND list = GetDlgItem(dialog, IDC_CARD_LIST);
    CardHooks hooks(dialog);
    for (const CardListLine& line : cardListLines(db, db.details.hours, db.details.rubricCodes, hooks)) {
        const LRESULT index = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.text.c_str()));
        if (index >= 0)
            SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(line.value));
    }
}

void fillControls(HWND dialog)
{
    DirectoryDatabase* db = databaseProgram.current;
    if (db == nullptr)
        return;
    const Firm& firm = db->firm;
    const FirmDetails& details = db->details;
    card.detailsRef = firm.detailsRef;
    // The name is a text of the read window: it goes before any other read moves the window.
    setText(dialog, IDC_CARD_NAME, cardNameText(details.namePrefix, firm.name));
    setText(dialog, IDC_CARD_ADDRESS, cardAddressText(firm.streetName, firm.house, firm.houseSuffix));
    setText(dialog, IDC_CARD_WEB, cardLinkText(firm.web));
    setText(dialog, IDC_CARD_EMAIL, cardLinkText(firm.email));
    fillTelephones(dialog, firm, details);
    fillList(dialog, *db);
}

void setFonts(HWND dialog)
{
    setFont(dialog, IDC_CARD_NAME, nameStyle);
    setFont(dialog, IDC_CARD_ADDRESS, bodyStyle);
    setFont(dialog, IDC_CARD_WEB, linkStyle);
    setFont(dialog, IDC_CARD_EMAIL, mailStyle);
    setFont(dialog, IDC_CARD_LIST_LABEL, labelStyle);
    setFont(dialog, IDC_CARD_LIST, bodyStyle);
}

// The height the name needs, word-wrapped in the name style across `width`.
int nameHeight(HWND dialog, int width)
{
    WCHAR name[600] = {};
    GetDlgItemTextW(dialog, IDC_CARD_NAME, name, 600);
    HDC dc = GetDC(dialog);
    if (dc == nullptr)
        return 0;
    HGDIOBJ previous = SelectObject(dc, textStyle(nameStyle).font);
    RECT measured = {0, 0, width, 0};
    DrawTextW(dc, name, -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    SelectObject(dc, previous);
    ReleaseDC(dialog, dc);
    return measured.bottom - measured.top;
}

void place(HWND dialog, int controlId, int x, int y, int width, int height)
{
    MoveWindow(GetDlgItem(dialog, controlId), x, y, width, height, TRUE);
}

void layOut(HWND dialog)
{
    RECT content;
    contentRect(dialog, content);
    const int width = content.right - content.left + 1;
    const int height = content.bottom - content.top;
    const int addressHeight = 14 * height / 100;
    const int labelHeight = 7 * height / 100;
    const int nameTall = nameHeight(dialog, width);
    RECT box = {};
    GetWindowRect(GetDlgItem(dialog, IDC_CARD_TELEPHONES), &box);
    const int row = box.bottom - box.top;
    const int wide = width - 61;

    place(dialog, IDC_CARD_NAME, 0, 2, width, nameTall + 4);
    place(dialog, IDC_CARD_ADDRESS_ICON, 0, nameTall + 7, iconColumn, addressHeight);
    place(dialog, IDC_CARD_ADDRESS, iconColumn, nameTall + 7, wide, addressHeight);
    int y = nameTall + 7 + addressHeight + 8;
    place(dialog, IDC_CARD_DIAL, 0, y, iconColumn, row);
    place(dialog, IDC_CARD_TELEPHONES, iconColumn, y, wide, droppedLines * row);
    y += row + 1;
    place(dialog, IDC_CARD_WEB_BUTTON, 0, y, iconColumn, row);
    place(dialog, IDC_CARD_WEB, iconColumn, y, wide, row);
    y += row + 1;
    place(dialog, IDC_CARD_EMAIL_BUTTON, 0, y, iconColumn, row);
    place(dialog, IDC_CARD_EMAIL, iconColumn, y, wide, row);
    place(dialog, IDC_CARD_LIST_LABEL, 0, y + row + 1, width, labelHeight);
    const int listTop = y + row + labelHeight + 2;
    place(dialog, IDC_CARD_LIST, 0, listTop, width, content.bottom - listTop);
    SetDlgItemTextW(dialog, IDC_CARD_ADDRESS_ICON, W("\nАдрес"));
}

void drawButton(const DRAWITEMSTRUCT& item)
{
    const bool pressed = (SendMessageW(item.hwndItem, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    int iconId = 0;
    int iconHeight = buttonIconHeight;
    switch (item.CtlID) {
    case IDC_CARD_ADDRESS_ICON:
        iconId = IDI_CARD_ADDRESS;
        iconHeight = addressIconHeight;
        break;
    case IDC_CARD_DIAL:
        iconId = pressed ? IDI_CARD_DIAL_PRESSED : IDI_CARD_DIAL;
        break;
    case IDC_CARD_WEB_BUTTON:
        iconId = pressed ? IDI_CARD_WEB_PRESSED : IDI_CARD_WEB;
        break;
    case IDC_CARD_EMAIL_BUTTON:
        iconId = pressed ? IDI_CARD_EMAIL_PRESSED : IDI_CARD_EMAIL;
        break;
    default:
        return;
    }
    const RECT& r = item.rcItem;
    FillRect(item.hDC, &r, textStyle(linkStyle).brush);
    auto icon = static_cast<HICON>(
        LoadImageW(shellState.instanceHandle, MAKEINTRESOURCEW(iconId), IMAGE_ICON, 0, 0, 0));
    if (icon == nullptr)
        return;
    DrawIcon(item.hDC, r.left + (r.right - r.left - iconColumn) / 2, r.top + (r.bottom - r.top - iconHeight) / 2,
             icon);
    DestroyIcon(icon);
}

// The colours table of the card: the brush returned, the DC's font and colours set for the text.
HBRUSH colours(HDC dc, HWND control, UINT message)
{
    const COLORREF linkBackground = styleBackground;
    auto use = [&](int fontStyle, int textColourStyle, COLORREF background, bool transparent) {
        if (fontStyle != 0)
            SelectObject(dc, textStyle(fontStyle).font);
        if (textColourStyle != 0)
            SetTextColor(dc, textStyle(textColourStyle).textColour);
        SetBkColor(dc, background);
        if (transparent)
            SetBkMode(dc, TRANSPARENT);
    };
    switch (message) {
    case WM_CTLCOLORDLG:
        return textStyle(linkStyle).brush;
    case WM_CTLCOLORLISTBOX:
        use(bodyStyle, bodyStyle, linkBackground, false);
        return textStyle(linkStyle).brush;
    case WM_CTLCOLOREDIT:
        use(0, linkStyle, linkBackground, false);
        return lightFace();
    default:
        break;
    }
    switch (GetDlgCtrlID(control)) {
    case IDC_CARD_NAME:
        use(nameStyle, nameStyle, linkBackground, true);
        return textStyle(labelStyle).brush;
    case IDC_CARD_ADDRESS_ICON:
        use(0, labelStyle, linkBackground, true);
        return textStyle(linkStyle).brush;
    case IDC_CARD_ADDRESS:
        use(bodyStyle, bodyStyle, linkBackground, false);
        return lightFace();
    case IDC_CARD_WEB:
        use(linkStyle, linkStyle, linkBackground, false);
        return lightFace();
    case IDC_CARD_EMAIL:
        use(mailStyle, linkStyle, linkBackground, false);
        return lightFace();
    case IDC_CARD_LIST_LABEL:
        use(labelStyle, labelStyle, styleBackground, true);
        return textStyle(labelStyle).brush;
    case IDC_CARD_TELEPHONES:
        use(0, linkStyle, linkBackground, false);
        return lightFace();
    default:
        return lightFace();
    }
}

void closeCard(HWND dialog)
{
    closeScreen(dialog, card.frame, IDOK);
}

void lowerInputPanel(HWND dialog)
{
    if (setInputPanel(shellState.mainWindow, inputPanelQuery) != 0)
        setInputPanel(dialog, inputPanelLower);
}

void onInit(HWND dialog)
{
    card = BusinessCard{};
    card.owner = GetWindow(dialog, GW_OWNER);
    openScreen(dialog, card.frame);
    setFonts(dialog);
    fillControls(dialog);
    layOut(dialog);
    SetCursor(nullptr);
    lowerInputPanel(dialog);
    SetFocus(GetDlgItem(dialog, IDC_CARD_TELEPHONES));
}

void onBarAction(HWND dialog, int iconId)
{
    if (pageBarAction(dialog, iconId))
        return;
    switch (iconId) {
    case IDI_BAR_FORWARD:
        // The owner opens the next card once this one is gone.
        PostMessageW(card.owner, cardNextFirmMessage, 0, 0);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        break;
    case IDI_BAR_BACK:
        closeCard(dialog);
        break;
    case IDI_BAR_HELP:
        openScreenHelp(dialog, "#t2");
        break;
    case IDI_BAR_EXIT:
        endProgram(dialog, card.frame);
        break;
    case IDI_BAR_HOME:
        closeScreenHome(dialog, card.frame);
        break;
    case IDI_BAR_KEYBOARD:
        lowerInputPanel(dialog);
        break;
    default:
        break;
    }
}

bool onCommand(HWND dialog, int controlId, int code)
{
    // Taps only: the texts' other notifications (a double tap) do nothing.
    const bool tap = code == BN_CLICKED;
    switch (controlId) {
    case IDC_CARD_DIAL:
        if (tap)
            dialSelectedTelephone(dialog);
        return true;
    case IDC_CARD_WEB_BUTTON:
    case IDC_CARD_WEB:
        if (tap)
            openWebAddress(dialog);
        return true;
    case IDC_CARD_EMAIL_BUTTON:
    case IDC_CARD_EMAIL:
        if (tap)
            writeEmail(dialog);
        return true;
    case IDC_CARD_LIST:
        if (code == LBN_SELCHANGE)
            showRubricNotes(dialog, GetDlgItem(dialog, IDC_CARD_LIST), card.detailsRef);
        return true;
    case IDC_CARD_NAME:
    case IDC_CARD_ADDRESS_ICON:
    case IDC_CARD_TELEPHONES:
        return true;
    default:
        return false;
    }
}

} // namespace

INT_PTR CALLBACK businessCardProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        onInit(dialog);
        return FALSE;
    case WM_SIZE:
        layOut(dialog);
        return TRUE;
    case WM_PAINT:
        return paintScreenFrame(dialog) ? TRUE : FALSE;
    case WM_SETFOCUS:
        if (!pageOpen()) {
            keepFullScreen(dialog);
            drawBar(buttonBar, dialog);
        }
        return FALSE;
    case WM_DRAWITEM:
        drawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(
            colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message));
    case WM_LBUTTONDOWN:
        pressBarAt(dialog, stylusX(lParam), stylusY(lParam));
        return TRUE;
    case WM_LBUTTONUP:
        if (const int iconId = releaseBarAt(dialog, stylusX(lParam), stylusY(lParam)); iconId != 0)
            onBarAction(dialog, iconId);
        return TRUE;
    case WM_COMMAND:
        if (onCommand(dialog, LOWORD(wParam), HIWORD(wParam)))
            return TRUE;
        return screenFrameMessage(dialog, message, wParam, lParam, closeCard) ? TRUE : FALSE;
    default:
        return screenFrameMessage(dialog, message, wParam, lParam, closeCard) ? TRUE : FALSE;
    }
}

INT_PTR showBusinessCard(HWND owner)
{
    return DialogBoxParamW(shellState.instanceHandle, MAKEINTRESOURCEW(IDD_BUSINESS_CARD), owner, businessCardProc,
                           0);
}

INT_PTR openBusinessCard(HWND owner, uint32_t firmRef)
{
    DirectoryDatabase* db = databaseProgram.current;
    if (db == nullptr ||
        readRecord(*db, tableFirms, firmRef, detailBody | detailStreet | detailDetails, cardReadCap) != readOk)
        return -1;
    return showBusinessCard(owner);
}
