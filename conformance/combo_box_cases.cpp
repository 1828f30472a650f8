// The combo box, drop-down and drop-down list: edit change notifications and their order, the
// list shown and hidden by the program, by a tap and by keys, selection and the edit text.
#include "conformance/cases.h"
#include "conformance/record.h"

namespace conformance {

namespace {

HWND makeCombo(HWND parent, const char* label, DWORD style, int id)
{
    setRecording(false);
    HWND combo = createChild(label, CW("COMBOBOX"), CW(""), WS_VISIBLE | WS_VSCROLL | style, 10, 10, 120, 120, parent, id);
    useCaseFont(combo);
    const WCHAR* items[] = {CW("Москва"), CW("Минск"), CW("Омск"), CW("Berlin")};
    for (const WCHAR* item : items)
        SendMessageW(combo, CB_ADDSTRING, 0, text(item));
    pump();
    setRecording(true);
    return combo;
}

void printState(HWND combo, const char* when)
{
    fact("%s: text \"%s\" sel %ld dropped %ld", when, windowText(combo).c_str(), send(combo, CB_GETCURSEL),
         send(combo, CB_GETDROPPEDSTATE));
}

void dropDown(HWND parent)
{
    beginCase("combo.dropdown.program");
    HWND combo = makeCombo(parent, "combo", CBS_DROPDOWN | CBS_AUTOHSCROLL, 31);
    HWND edit = GetWindow(combo, GW_CHILD);
    nameWindow(edit, "combo.edit");
    fact("CB_GETCOUNT -> %ld", send(combo, CB_GETCOUNT));
    fact("CB_ADDSTRING -> %ld", send(combo, CB_ADDSTRING, 0, text(CW("Anapa"))));
    fact("CB_SETCURSEL 1 -> %ld", send(combo, CB_SETCURSEL, 1));
    printState(combo, "after CB_SETCURSEL");
    fact("CB_SETCURSEL 9 -> %ld", send(combo, CB_SETCURSEL, 9));
    printState(combo, "after CB_SETCURSEL 9");
    fact("WM_SETTEXT -> %ld", send(combo, WM_SETTEXT, 0, text(CW("Омск"))));
    printState(combo, "after WM_SETTEXT");
    fact("CB_SELECTSTRING мос -> %ld", send(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), text(CW("мос"))));
    printState(combo, "after CB_SELECTSTRING");
    fact("CB_FINDSTRINGEXACT минск -> %ld", send(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), text(CW("минск"))));
    WCHAR item[32] = {};
    fact("CB_GETLBTEXT 3 -> %ld", send(combo, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(item)));
    fact("item 3 \"%s\"", utf8(item).c_str());
    fact("CB_GETLBTEXT 9 -> %ld", send(combo, CB_GETLBTEXT, 9, reinterpret_cast<LPARAM>(item)));
    pump();

    beginCase("combo.dropdown.show");
    fact("CB_SHOWDROPDOWN 1 -> %ld", send(combo, CB_SHOWDROPDOWN, TRUE));
    printState(combo, "shown");
    fact("CB_SHOWDROPDOWN 1 again -> %ld", send(combo, CB_SHOWDROPDOWN, TRUE));
    fact("CB_SHOWDROPDOWN 0 -> %ld", send(combo, CB_SHOWDROPDOWN, FALSE));
    printState(combo, "hidden");
    pump();

    beginCase("combo.dropdown.typing");
    SetFocus(edit);
    pump();
    fact("focus=%s", windowLabel(GetFocus()).c_str());
    send(edit, EM_SETSEL, 0, -1);
    typeCharacter(edit, CW('М'));
    printState(combo, "typed М");
    typeCharacter(edit, CW('и'));
    printState(combo, "typed и");
    typeCharacter(edit, 8);
    printState(combo, "backspace");
    pump();

    beginCase("combo.dropdown.keys");
    pressKey(edit, VK_DOWN);
    printState(combo, "Down in the edit");
    pressKey(edit, VK_F4);
    printState(combo, "F4");
    pressKey(edit, VK_DOWN);
    printState(combo, "Down in the open list");
    pressKey(edit, VK_RETURN);
    printState(combo, "Enter");
    pump();
    discardWindow(combo);
}

void dropDownList(HWND parent)
{
    beginCase("combo.list.program");
    HWND combo = makeCombo(parent, "droplist", CBS_DROPDOWNLIST, 32);
    fact("child windows: %s", GetWindow(combo, GW_CHILD) != nullptr ? "some" : "none");
    printState(combo, "new");
    fact("WM_SETTEXT Минск -> %ld", send(combo, WM_SETTEXT, 0, text(CW("Минск"))));
    printState(combo, "after WM_SETTEXT");
    fact("CB_SETCURSEL 2 -> %ld", send(combo, CB_SETCURSEL, 2));
    printState(combo, "after CB_SETCURSEL");
    fact("CB_SETCURSEL -1 -> %ld", send(combo, CB_SETCURSEL, static_cast<WPARAM>(-1)));
    printState(combo, "after CB_SETCURSEL -1");
    pump();

    beginCase("combo.list.tap");
    SetFocus(combo);
    pump();
    RECT box;
    GetClientRect(combo, &box);
    tap(combo, box.right - 5, box.bottom / 2);
    printState(combo, "tap on the button");
    tap(combo, box.right - 5, box.bottom / 2);
    printState(combo, "tap again");
    pump();

    beginCase("combo.list.keys");
    pressKey(combo, VK_DOWN);
    printState(combo, "Down");
    pressKey(combo, VK_DOWN);
    printState(combo, "Down");
    pressKey(combo, VK_UP);
    printState(combo, "Up");
    typeCharacter(combo, CW('b'));
    printState(combo, "character b");
    pressKey(combo, VK_F4);
    printState(combo, "F4");
    pressKey(combo, VK_UP);
    printState(combo, "Up in the open list");
    pressKey(combo, VK_ESCAPE);
    printState(combo, "Esc");
    pressKey(combo, VK_F4);
    pressKey(combo, VK_DOWN);
    pressKey(combo, VK_RETURN);
    printState(combo, "F4 Down Enter");
    pump();
    discardWindow(combo);
}

} // namespace

void comboBoxCases()
{
    setRecording(false);
    HWND parent = createFrame("parent", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    pump();
    dropDown(parent);
    dropDownList(parent);
    setRecording(false);
    discardWindow(parent);
}

} // namespace conformance
