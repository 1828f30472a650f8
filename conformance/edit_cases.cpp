// The edit control: upper-case and number styles, the limit, the order of EN_UPDATE and
// EN_CHANGE, and the selection and caret after WM_SETTEXT.
#include "conformance/cases.h"
#include "conformance/record.h"

namespace conformance {

namespace {

void printState(HWND edit, const char* when)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    fact("%s: \"%s\" sel %lu-%lu modified %ld", when, windowText(edit).c_str(), static_cast<unsigned long>(start),
         static_cast<unsigned long>(end), send(edit, EM_GETMODIFY));
}

HWND makeEdit(HWND parent, const char* label, DWORD style, int id)
{
    setRecording(false);
    HWND edit = createChild(label, CW("EDIT"), CW(""), WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | style, 10, 10, 120, 20,
                            parent, id);
    useCaseFont(edit);
    pump();
    setRecording(true);
    return edit;
}

void plain(HWND parent)
{
    beginCase("edit.settext");
    HWND edit = makeEdit(parent, "edit", 0, 41);
    printState(edit, "new");
    fact("WM_SETTEXT -> %ld", send(edit, WM_SETTEXT, 0, text(CW("Невский 28"))));
    printState(edit, "after WM_SETTEXT");
    fact("EM_SETSEL 2,5");
    send(edit, EM_SETSEL, 2, 5);
    printState(edit, "selected");
    fact("WM_SETTEXT again");
    send(edit, WM_SETTEXT, 0, text(CW("Литейный")));
    printState(edit, "after WM_SETTEXT");
    fact("WM_SETTEXT same text");
    send(edit, WM_SETTEXT, 0, text(CW("Литейный")));
    pump();

    beginCase("edit.focus");
    SetFocus(edit);
    printState(edit, "focused");
    pump();

    beginCase("edit.typing");
    send(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    printState(edit, "EM_SETSEL -1");
    send(edit, EM_SETSEL, 100, 100);
    printState(edit, "EM_SETSEL past the end");
    typeCharacter(edit, CW('!'));
    printState(edit, "typed !");
    typeCharacter(edit, 8);
    printState(edit, "backspace");
    send(edit, EM_SETSEL, 0, 3);
    send(edit, EM_REPLACESEL, FALSE, text(CW("Ка")));
    printState(edit, "EM_REPLACESEL");
    send(edit, EM_SETMODIFY, FALSE);
    pressKey(edit, VK_HOME);
    printState(edit, "Home");
    pressKey(edit, VK_DELETE);
    printState(edit, "Delete");
    pump();

    beginCase("edit.limit");
    fact("EM_GETLIMITTEXT -> %ld", send(edit, EM_GETLIMITTEXT));
    send(edit, EM_LIMITTEXT, 6);
    fact("after 6: EM_GETLIMITTEXT -> %ld", send(edit, EM_GETLIMITTEXT));
    send(edit, WM_SETTEXT, 0, text(CW("abcdefghij")));
    printState(edit, "WM_SETTEXT of 10");
    send(edit, WM_SETTEXT, 0, text(CW("abcde")));
    send(edit, EM_SETSEL, 5, 5);
    typeCharacter(edit, CW('f'));
    printState(edit, "typed the sixth");
    typeCharacter(edit, CW('g'));
    printState(edit, "typed the seventh");
    send(edit, EM_SETSEL, 0, 0);
    send(edit, EM_REPLACESEL, FALSE, text(CW("XYZ")));
    printState(edit, "EM_REPLACESEL over the limit");
    send(edit, EM_LIMITTEXT, 0);
    fact("after 0: EM_GETLIMITTEXT -> %ld", send(edit, EM_GETLIMITTEXT));
    pump();
    discardWindow(edit);
}

void styled(HWND parent)
{
    beginCase("edit.uppercase");
    HWND upper = makeEdit(parent, "upper", ES_UPPERCASE, 42);
    send(upper, WM_SETTEXT, 0, text(CW("abc ёлка")));
    printState(upper, "WM_SETTEXT");
    typeCharacter(upper, CW('d'));
    typeCharacter(upper, CW('я'));
    printState(upper, "typed d я");
    pump();
    discardWindow(upper);

    beginCase("edit.number");
    HWND number = makeEdit(parent, "number", ES_NUMBER, 43);
    send(number, WM_SETTEXT, 0, text(CW("12a")));
    printState(number, "WM_SETTEXT 12a");
    typeCharacter(number, CW('x'));
    printState(number, "typed x");
    typeCharacter(number, CW('7'));
    printState(number, "typed 7");
    typeCharacter(number, CW('-'));
    printState(number, "typed -");
    typeCharacter(number, 8);
    printState(number, "backspace");
    pump();
    discardWindow(number);

    beginCase("edit.readonly");
    HWND fixed = makeEdit(parent, "fixed", ES_READONLY, 44);
    send(fixed, WM_SETTEXT, 0, text(CW("abc")));
    typeCharacter(fixed, CW('x'));
    printState(fixed, "typed x");
    fact("EM_SETREADONLY 0 -> %ld", send(fixed, EM_SETREADONLY, FALSE));
    typeCharacter(fixed, CW('x'));
    printState(fixed, "typed x");
    pump();
    discardWindow(fixed);
}

} // namespace

void editCases()
{
    setRecording(false);
    HWND parent = createFrame("parent", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    pump();
    plain(parent);
    styled(parent);
    setRecording(false);
    discardWindow(parent);
}

} // namespace conformance
