// The list box: add, insert and delete answers, the sorted order of Cyrillic and Latin texts,
// finding, item data, selection by the program against by a tap and by keys (only the user's
// choice notifies), the top index, the horizontal extent, and a list that is full.
#include "conformance/cases.h"
#include "conformance/record.h"

namespace conformance {

namespace {

void printItems(HWND list)
{
    long count = send(list, LB_GETCOUNT);
    std::string line;
    for (long i = 0; i < count; ++i) {
        WCHAR item[64] = {};
        if (send(list, LB_GETTEXTLEN, static_cast<WPARAM>(i)) < 64)
            send(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
        line += (i == 0 ? "" : " | ") + utf8(item);
    }
    fact("items (%ld): %s", count, line.c_str());
}

void editing(HWND parent)
{
    beginCase("listbox.edit");
    HWND list = createChild("list", CW("LISTBOX"), CW(""), WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, 0, 0, 100, 80, parent, 21);
    fact("LB_ADDSTRING one -> %ld", send(list, LB_ADDSTRING, 0, text(CW("one"))));
    fact("LB_ADDSTRING two -> %ld", send(list, LB_ADDSTRING, 0, text(CW("two"))));
    fact("LB_ADDSTRING three -> %ld", send(list, LB_ADDSTRING, 0, text(CW("three"))));
    fact("LB_INSERTSTRING 1 -> %ld", send(list, LB_INSERTSTRING, 1, text(CW("inserted"))));
    fact("LB_INSERTSTRING -1 -> %ld", send(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), text(CW("last"))));
    fact("LB_INSERTSTRING past the end -> %ld", send(list, LB_INSERTSTRING, 9, text(CW("far"))));
    fact("LB_INSERTSTRING at the count -> %ld", send(list, LB_INSERTSTRING, 5, text(CW("end"))));
    printItems(list);
    fact("LB_DELETESTRING 0 -> %ld", send(list, LB_DELETESTRING, 0));
    fact("LB_DELETESTRING 10 -> %ld", send(list, LB_DELETESTRING, 10));
    fact("LB_GETTEXTLEN 0 -> %ld; 10 -> %ld", send(list, LB_GETTEXTLEN, 0), send(list, LB_GETTEXTLEN, 10));
    WCHAR item[16] = {};
    fact("LB_GETTEXT 10 -> %ld", send(list, LB_GETTEXT, 10, reinterpret_cast<LPARAM>(item)));
    printItems(list);

    beginCase("listbox.data");
    fact("LB_SETITEMDATA 1 -> %ld", send(list, LB_SETITEMDATA, 1, 777));
    fact("LB_GETITEMDATA 1 -> %ld; 0 -> %ld", send(list, LB_GETITEMDATA, 1), send(list, LB_GETITEMDATA, 0));
    fact("LB_SETITEMDATA 10 -> %ld", send(list, LB_SETITEMDATA, 10, 1));
    fact("LB_GETITEMDATA 10 -> %ld", send(list, LB_GETITEMDATA, 10));
    send(list, LB_DELETESTRING, 0);
    fact("after deleting item 0, LB_GETITEMDATA 0 -> %ld", send(list, LB_GETITEMDATA, 0));

    beginCase("listbox.reset");
    fact("LB_RESETCONTENT -> %ld", send(list, LB_RESETCONTENT));
    fact("count %ld; LB_GETCURSEL -> %ld", send(list, LB_GETCOUNT), send(list, LB_GETCURSEL));
    discardWindow(list);
}

void sorting(HWND parent)
{
    beginCase("listbox.sorted");
    HWND list = createChild("sorted", CW("LISTBOX"), CW(""), WS_VISIBLE | LBS_SORT | LBS_NOTIFY, 0, 0, 100, 80, parent, 22);
    const WCHAR* texts[] = {CW("Яблоко"), CW("apple"), CW("Banana"), CW("банан"), CW("Ёж"), CW("ель"), CW("Еж"),
                            CW("Zebra"), CW("10"), CW("2"), CW("Ápfel"), CW("b-side"), CW("bside"), CW("яблоко")};
    std::string answers;
    for (const WCHAR* value : texts)
        answers += " " + std::to_string(send(list, LB_ADDSTRING, 0, text(value)));
    fact("LB_ADDSTRING ->%s", answers.c_str());
    printItems(list);
    fact("LB_INSERTSTRING 0 keeps its place -> %ld", send(list, LB_INSERTSTRING, 0, text(CW("zzz"))));
    printItems(list);

    beginCase("listbox.find");
    fact("LB_FINDSTRING ban -> %ld", send(list, LB_FINDSTRING, static_cast<WPARAM>(-1), text(CW("ban"))));
    fact("LB_FINDSTRING БАН -> %ld", send(list, LB_FINDSTRING, static_cast<WPARAM>(-1), text(CW("БАН"))));
    fact("LB_FINDSTRING я after the first -> %ld",
         send(list, LB_FINDSTRING, static_cast<WPARAM>(send(list, LB_FINDSTRING, static_cast<WPARAM>(-1), text(CW("я")))),
              text(CW("я"))));
    fact("LB_FINDSTRING a from the last wraps -> %ld", send(list, LB_FINDSTRING, static_cast<WPARAM>(send(list, LB_GETCOUNT) - 1),
                                                            text(CW("a"))));
    fact("LB_FINDSTRING empty -> %ld", send(list, LB_FINDSTRING, static_cast<WPARAM>(-1), text(CW(""))));
    fact("LB_FINDSTRING none -> %ld", send(list, LB_FINDSTRING, static_cast<WPARAM>(-1), text(CW("q"))));
    fact("LB_FINDSTRINGEXACT APPLE -> %ld", send(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), text(CW("APPLE"))));
    fact("LB_FINDSTRINGEXACT app -> %ld", send(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), text(CW("app"))));
    fact("LB_SELECTSTRING zeb -> %ld", send(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), text(CW("zeb"))));
    fact("LB_GETCURSEL -> %ld", send(list, LB_GETCURSEL));
    pump();
    discardWindow(list);
}

void selection(HWND parent)
{
    beginCase("listbox.select.program");
    HWND list = createChild("list", CW("LISTBOX"), CW(""), WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                            0, 0, 100, 60, parent, 23);
    useCaseFont(list);
    for (int i = 0; i < 20; ++i) {
        WCHAR item[8] = {CW('i'), static_cast<WCHAR>(CW('a') + i), 0};
        send(list, LB_ADDSTRING, 0, text(item));
    }
    fact("LB_GETCURSEL -> %ld", send(list, LB_GETCURSEL));
    fact("LB_SETCURSEL 2 -> %ld", send(list, LB_SETCURSEL, 2));
    fact("LB_SETCURSEL 30 -> %ld", send(list, LB_SETCURSEL, 30));
    fact("LB_GETCURSEL -> %ld", send(list, LB_GETCURSEL));
    fact("LB_SETCURSEL -1 -> %ld", send(list, LB_SETCURSEL, static_cast<WPARAM>(-1)));
    fact("LB_GETCURSEL -> %ld", send(list, LB_GETCURSEL));
    fact("LB_SETCURSEL 15 -> %ld", send(list, LB_SETCURSEL, 15));
    fact("top %ld", send(list, LB_GETTOPINDEX));
    pump();

    beginCase("listbox.select.tap");
    RECT item = {};
    send(list, LB_SETTOPINDEX, 0);
    fact("LB_GETITEMRECT 1 -> %ld", send(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item)));
    tap(list, item.left + 5, (item.top + item.bottom) / 2);
    fact("LB_GETCURSEL -> %ld focus=%s", send(list, LB_GETCURSEL), windowLabel(GetFocus()).c_str());
    tap(list, item.left + 5, (item.top + item.bottom) / 2);
    fact("same item again: LB_GETCURSEL -> %ld", send(list, LB_GETCURSEL));
    pump();

    beginCase("listbox.select.keys");
    pressKey(list, VK_DOWN);
    fact("Down: LB_GETCURSEL -> %ld", send(list, LB_GETCURSEL));
    pressKey(list, VK_END);
    fact("End: LB_GETCURSEL -> %ld top %ld", send(list, LB_GETCURSEL), send(list, LB_GETTOPINDEX));
    pressKey(list, VK_DOWN);
    fact("Down at the end: LB_GETCURSEL -> %ld", send(list, LB_GETCURSEL));
    pressKey(list, VK_HOME);
    fact("Home: LB_GETCURSEL -> %ld top %ld", send(list, LB_GETCURSEL), send(list, LB_GETTOPINDEX));
    typeCharacter(list, CW('i'));
    fact("character i: LB_GETCURSEL -> %ld", send(list, LB_GETCURSEL));
    pump();

    beginCase("listbox.top");
    fact("LB_SETTOPINDEX 5 -> %ld", send(list, LB_SETTOPINDEX, 5));
    fact("LB_GETTOPINDEX -> %ld", send(list, LB_GETTOPINDEX));
    fact("LB_SETTOPINDEX 19 -> %ld", send(list, LB_SETTOPINDEX, 19));
    fact("LB_GETTOPINDEX -> %ld", send(list, LB_GETTOPINDEX));
    fact("LB_SETTOPINDEX 40 -> %ld", send(list, LB_SETTOPINDEX, 40));
    fact("LB_GETTOPINDEX -> %ld", send(list, LB_GETTOPINDEX));

    beginCase("listbox.extent");
    fact("LB_GETHORIZONTALEXTENT -> %ld", send(list, LB_GETHORIZONTALEXTENT));
    send(list, LB_SETHORIZONTALEXTENT, 300);
    fact("after 300: LB_GETHORIZONTALEXTENT -> %ld", send(list, LB_GETHORIZONTALEXTENT));
    pump();
    discardWindow(list);
}

void fullList(HWND parent)
{
    beginCase("listbox.full");
    setRecording(false);
    HWND list = createChild("full", CW("LISTBOX"), CW(""), LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 0, 100, 60, parent, 24);
    for (int i = 0; i < 32767; ++i)
        SendMessageW(list, LB_ADDSTRING, 0, text(CW("x")));
    setRecording(true);
    fact("count %ld", send(list, LB_GETCOUNT));
    fact("one more LB_ADDSTRING -> %ld", send(list, LB_ADDSTRING, 0, text(CW("y"))));
    fact("one more LB_INSERTSTRING -> %ld", send(list, LB_INSERTSTRING, 0, text(CW("y"))));
    fact("count %ld", send(list, LB_GETCOUNT));
    pump();
    discardWindow(list);
}

} // namespace

void listBoxCases()
{
    setRecording(false);
    HWND parent = createFrame("parent", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    pump();
    editing(parent);
    sorting(parent);
    selection(parent);
    fullList(parent);
    setRecording(false);
    discardWindow(parent);
}

} // namespace conformance
