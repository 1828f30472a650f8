// Buttons (push, check, radio, owner-drawn), the static control, the list's scroll bar, and the
// answers of message boxes.
#include "conformance/cases.h"
#include "conformance/record.h"

namespace conformance {

namespace {

HWND makeButton(HWND parent, const char* label, const WCHAR* text, DWORD style, int x, int id)
{
    HWND button = createChild(label, CW("BUTTON"), text, WS_VISIBLE | style, x, 10, 60, 24, parent, id);
    useCaseFont(button);
    return button;
}

bool answerOwnerDraw(HWND, UINT message, WPARAM, LPARAM, LRESULT& result)
{
    if (message != WM_DRAWITEM)
        return false;
    result = TRUE;
    return true;
}

void pushButtons(HWND parent)
{
    beginCase("button.push");
    HWND push = makeButton(parent, "push", CW("Go"), BS_PUSHBUTTON, 0, 61);
    pump();
    tap(push, 10, 10);
    fact("focus=%s", windowLabel(GetFocus()).c_str());
    fact("BM_CLICK -> %ld", send(push, BM_CLICK));
    pump();
    send(push, BM_SETSTATE, TRUE);
    fact("BM_GETSTATE pushed -> %04lx", send(push, BM_GETSTATE) & 0x0004);
    send(push, BM_SETSTATE, FALSE);
    EnableWindow(push, FALSE);
    tap(push, 10, 10);
    fact("disabled: focus=%s", windowLabel(GetFocus()).c_str());
    pump();
    discardWindow(push);

    beginCase("button.default");
    HWND plain = makeButton(parent, "plain", CW("A"), BS_PUSHBUTTON, 0, 62);
    fact("style %lx", static_cast<unsigned long>(GetWindowLongW(plain, GWL_STYLE) & BS_TYPEMASK));
    send(plain, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    fact("after BM_SETSTYLE: style %lx", static_cast<unsigned long>(GetWindowLongW(plain, GWL_STYLE) & BS_TYPEMASK));
    pump();
    discardWindow(plain);
}

void checkButtons(HWND parent)
{
    beginCase("button.check");
    HWND check = makeButton(parent, "check", CW("Да"), BS_AUTOCHECKBOX, 0, 63);
    pump();
    fact("BM_GETCHECK -> %ld", send(check, BM_GETCHECK));
    tap(check, 5, 10);
    fact("tap: BM_GETCHECK -> %ld", send(check, BM_GETCHECK));
    send(check, BM_SETCHECK, BST_UNCHECKED);
    fact("BM_SETCHECK 0: BM_GETCHECK -> %ld", send(check, BM_GETCHECK));
    typeCharacter(check, CW(' '));
    pressKey(check, VK_SPACE);
    fact("space: BM_GETCHECK -> %ld", send(check, BM_GETCHECK));
    pump();
    discardWindow(check);

    beginCase("button.radio");
    HWND first = makeButton(parent, "radio1", CW("Один"), BS_AUTORADIOBUTTON | WS_GROUP, 0, 64);
    HWND second = makeButton(parent, "radio2", CW("Два"), BS_AUTORADIOBUTTON, 70, 65);
    pump();
    send(first, BM_SETCHECK, BST_CHECKED);
    tap(second, 5, 10);
    fact("tap second: first %ld second %ld", send(first, BM_GETCHECK), send(second, BM_GETCHECK));
    tap(second, 5, 10);
    fact("tap second again: first %ld second %ld", send(first, BM_GETCHECK), send(second, BM_GETCHECK));
    pump();
    discardWindow(first);
    discardWindow(second);
}

void ownerDrawn(HWND parent)
{
    beginCase("button.ownerdraw");
    setAnswer(answerOwnerDraw);
    HWND drawn = makeButton(parent, "drawn", CW("Drawn"), BS_OWNERDRAW, 0, 66);
    fact("created");
    UpdateWindow(drawn);
    pump();
    fact("tap");
    tap(drawn, 10, 10);
    fact("SetFocus elsewhere");
    SetFocus(parent);
    pump();
    fact("disable");
    EnableWindow(drawn, FALSE);
    pump();
    discardWindow(drawn);
    setAnswer(nullptr);
}

void statics(HWND parent)
{
    beginCase("static");
    HWND notifying = createChild("note", CW("STATIC"), CW("Адрес"), WS_VISIBLE | SS_LEFT | SS_NOTIFY, 0, 40, 60, 20, parent, 67);
    HWND silent = createChild("silent", CW("STATIC"), CW("Тихо"), WS_VISIBLE | SS_LEFT, 70, 40, 60, 20, parent, 68);
    pump();
    tap(notifying, 5, 5);
    tap(silent, 5, 5);
    fact("SetWindowText -> %d", SetWindowTextW(silent, CW("Громко")) ? 1 : 0);
    fact("text \"%s\"", windowText(silent).c_str());
    fact("focus=%s", windowLabel(GetFocus()).c_str());
    pump();
    discardWindow(notifying);
    discardWindow(silent);
}

void listScrollBar(HWND parent)
{
    beginCase("scrollbar.list");
    HWND list = createChild("list", CW("LISTBOX"), CW(""), WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 0,
                            100, 60, parent, 69);
    useCaseFont(list);
    for (int i = 0; i < 30; ++i)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(CW("item")));
    long perPage = 0;
    RECT client;
    GetClientRect(list, &client);
    perPage = client.bottom / send(list, LB_GETITEMHEIGHT);
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    fact("SB_LINEDOWN: top %ld", send(list, LB_GETTOPINDEX));
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    fact("SB_PAGEDOWN: top is one page further %d", send(list, LB_GETTOPINDEX) == 1 + perPage ? 1 : 0);
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), 0);
    fact("SB_LINEUP: top moved back one %d", send(list, LB_GETTOPINDEX) == perPage ? 1 : 0);
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 12), 0);
    fact("SB_THUMBPOSITION 12: top %ld", send(list, LB_GETTOPINDEX));
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    fact("SB_TOP: top %ld", send(list, LB_GETTOPINDEX));
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
    fact("SB_BOTTOM: top is the last page %d", send(list, LB_GETTOPINDEX) == 30 - perPage ? 1 : 0);
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
    fact("selection %ld", send(list, LB_GETCURSEL));
    pump();
    discardWindow(list);
}

// A message box is answered from inside its own loop by a timer of the thread.
WPARAM boxAnswer = 0;
bool boxAnswerIsCommand = false;

void CALLBACK answerBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    HWND box = GetActiveWindow();
    if (boxAnswerIsCommand) {
        PostMessageW(box, WM_COMMAND, boxAnswer, 0);
        return;
    }
    HWND target = GetFocus() != nullptr ? GetFocus() : box;
    PostMessageW(target, WM_KEYDOWN, boxAnswer, 1);
    PostMessageW(target, WM_KEYUP, boxAnswer, static_cast<LPARAM>(0xC0000001u));
}

void askBox(HWND owner, const char* what, UINT type, WPARAM answer, bool asCommand)
{
    boxAnswer = answer;
    boxAnswerIsCommand = asCommand;
    SetTimer(nullptr, 0, 50, answerBox);
    setRecording(false);
    int result = MessageBoxW(owner, CW("Текст"), CW("Заголовок"), type);
    setRecording(true);
    fact("MessageBox %s -> %d", what, result);
}

void messageBoxes(HWND owner)
{
    beginCase("messagebox");
    askBox(owner, "MB_OK, Enter", MB_OK, VK_RETURN, false);
    askBox(owner, "MB_OK, Esc", MB_OK, VK_ESCAPE, false);
    askBox(owner, "MB_OKCANCEL, Esc", MB_OKCANCEL, VK_ESCAPE, false);
    askBox(owner, "MB_YESNO, Enter", MB_YESNO | MB_ICONQUESTION, VK_RETURN, false);
    askBox(owner, "MB_YESNO | MB_DEFBUTTON2, Enter", MB_YESNO | MB_DEFBUTTON2, VK_RETURN, false);
    askBox(owner, "MB_YESNOCANCEL, No", MB_YESNOCANCEL, IDNO, true);
    askBox(owner, "MB_RETRYCANCEL, Esc", MB_RETRYCANCEL, VK_ESCAPE, false);
    fact("owner enabled=%d", IsWindowEnabled(owner) ? 1 : 0);
}

} // namespace

void buttonCases()
{
    setRecording(false);
    HWND parent = createFrame("parent", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    pump();
    pushButtons(parent);
    checkButtons(parent);
    ownerDrawn(parent);
    statics(parent);
    listScrollBar(parent);
    messageBoxes(parent);
    setRecording(false);
    discardWindow(parent);
}

} // namespace conformance
