#include "tests/controls/control_fixture.h"

namespace controls_test {
namespace {

constexpr int comboId = 1015;

class ComboBoxTest : public ControlTest {
protected:
    HWND combo = nullptr;

    HWND makeCombo(DWORD style, int height = 150)
    {
        combo = create(WC_COMBOBOXW, style, comboId, 0, 0, 200, height);
        return combo;
    }

    LRESULT add(const char16_t* text)
    {
        return SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }

    std::u16string line(int index)
    {
        WCHAR buffer[256]{};
        if (SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)) < 0)
            return u"<err>";
        return buffer;
    }

    HWND droppedList()
    {
        RECT r{};
        SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
        return WindowFromPoint(POINT{(r.left + r.right) / 2, r.top + 3});
    }

    int fieldHeight()
    {
        RECT r{};
        GetWindowRect(combo, &r);
        return r.bottom - r.top;
    }
};

TEST_F(ComboBoxTest, SortedAndUnsortedListsAndPrefixSearch)
{
    makeCombo(CBS_DROPDOWNLIST | CBS_SORT);
    add(u"Связь");
    add(u"<<выбрать тему>>");
    add(u"аптеки");
    EXPECT_EQ(line(0), u"<<выбрать тему>>");
    EXPECT_EQ(line(1), u"аптеки");
    EXPECT_EQ(SendMessageW(combo, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"СВЯ")), 2);
    EXPECT_EQ(SendMessageW(combo, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"Я")), CB_ERR);

    DestroyWindow(combo);
    makeCombo(CBS_DROPDOWNLIST);
    add(u"НАИМЕНОВАНИЕ начинается с:");
    add(u"НАИМЕНОВАНИЕ содержит:");
    add(u"ИНТЕРНЕТ-АДРЕС (www/e-mail) содержит:");
    EXPECT_EQ(line(2), u"ИНТЕРНЕТ-АДРЕС (www/e-mail) содержит:");
    EXPECT_EQ(SendMessageW(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"первая")), 0);
    EXPECT_EQ(SendMessageW(combo, CB_SETITEMDATA, 1, 77), TRUE);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 1, 0), 77);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 4);
}

TEST_F(ComboBoxTest, FullListAnswersErrSpace)
{
    makeCombo(CBS_DROPDOWN | CBS_SORT);
    emu::setListCapacity(2);
    EXPECT_EQ(add(u"А"), 0);
    EXPECT_EQ(add(u"Б"), 1);
    EXPECT_EQ(add(u"В"), CB_ERRSPACE);
    EXPECT_EQ(received, std::vector<Received>{command(comboId, CBN_ERRSPACE)});
}

TEST_F(ComboBoxTest, KeepsOnlyTheFieldsHeightAndDropsTheRestAsItsList)
{
    makeCombo(CBS_DROPDOWNLIST, 150);
    int field = fieldHeight();
    EXPECT_LT(field, 30);
    for (int i = 0; i < 20; ++i)
        add(u"строка");
    EXPECT_TRUE(SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0));
    pump();
    EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    RECT dropped{};
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(dropped.top, field);
    EXPECT_EQ(dropped.bottom - dropped.top, 150 - field);
    EXPECT_EQ(received, std::vector<Received>{command(comboId, CBN_DROPDOWN)});
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
}

TEST_F(ComboBoxTest, TappingALineOfTheDroppedListSelectsItAndCloses)
{
    makeCombo(CBS_DROPDOWNLIST);
    add(u"первая");
    add(u"вторая");
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    SetFocus(combo);
    pump();
    received.clear();
    tap(combo, 100, fieldHeight() / 2);  // a tap on the field drops the list
    ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    HWND list = droppedList();
    ASSERT_NE(list, nullptr);
    RECT second{};
    SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    tap(list, 30, (second.top + second.bottom) / 2);
    std::vector<Received> expected{command(comboId, CBN_DROPDOWN), command(comboId, CBN_SELCHANGE),
                                   command(comboId, CBN_SELENDOK), command(comboId, CBN_CLOSEUP)};
    EXPECT_EQ(received, expected);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(textOf(combo), u"вторая");
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
}

TEST_F(ComboBoxTest, TapOutsideTheDroppedListClosesItWithoutChange)
{
    makeCombo(CBS_DROPDOWNLIST);
    add(u"первая");
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    pump();
    received.clear();
    tap(parent, 220, 300);
    EXPECT_EQ(received, (std::vector<Received>{command(comboId, CBN_SELENDCANCEL), command(comboId, CBN_CLOSEUP)}));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
}

TEST_F(ComboBoxTest, EditFieldShowsUpperCaseAndReportsOnlyTyping)
{
    makeCombo(CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_UPPERCASE);
    SetFocus(combo);
    pump();
    received.clear();
    type(u"ап");
    EXPECT_EQ(textOf(combo), u"АП");
    EXPECT_EQ(received, (std::vector<Received>{command(comboId, CBN_EDITUPDATE), command(comboId, CBN_EDITCHANGE),
                                               command(comboId, CBN_EDITUPDATE), command(comboId, CBN_EDITCHANGE)}));

    // The program's own changes of the text are not reported as editing.
    received.clear();
    SetWindowTextW(combo, u"аптека");
    EXPECT_EQ(textOf(combo), u"АПТЕКА");
    SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(6, 6));
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(combo, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 6u);
    EXPECT_EQ(end, 6u);
    add(u"Аптека №1");
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    EXPECT_EQ(textOf(combo), u"АПТЕКА №1");
    EXPECT_TRUE(received.empty());

    // Emptying the list empties the field too, as on the device.
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(textOf(combo), u"");
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
}

TEST_F(ComboBoxTest, ArrowKeysChangeTheSelectionOfAClosedList)
{
    makeCombo(CBS_DROPDOWNLIST);
    add(u"0");
    add(u"1");
    add(u"2");
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    SetFocus(combo);
    pump();
    received.clear();
    key(VK_DOWN);
    key(VK_DOWN);
    key(VK_DOWN);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
    // In a closed list each move is a choice made: CBN_SELENDOK, then CBN_SELCHANGE.
    EXPECT_EQ(received, (std::vector<Received>{command(comboId, CBN_SELENDOK), command(comboId, CBN_SELCHANGE),
                                               command(comboId, CBN_SELENDOK), command(comboId, CBN_SELCHANGE)}));
    // An index past the list is refused and leaves the selection and the text alone.
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 7, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
    WCHAR text[8]{};
    GetWindowTextW(combo, text, 8);
    EXPECT_EQ(std::u16string(text), u"2");
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
}

TEST_F(ComboBoxTest, KeysAndTheProgramCloseTheDroppedList)
{
    makeCombo(CBS_DROPDOWNLIST);
    add(u"первая");
    add(u"вторая");
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    SetFocus(combo);
    pump();
    received.clear();
    EXPECT_TRUE(SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0));
    EXPECT_TRUE(SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0));  // already open: no second report
    key(VK_ESCAPE);
    EXPECT_EQ(received, (std::vector<Received>{command(comboId, CBN_DROPDOWN), command(comboId, CBN_SELENDCANCEL),
                                               command(comboId, CBN_CLOSEUP)}));

    received.clear();
    key(VK_F4);
    key(VK_DOWN);
    key(VK_RETURN);
    EXPECT_EQ(received, (std::vector<Received>{command(comboId, CBN_DROPDOWN), command(comboId, CBN_SELCHANGE),
                                               command(comboId, CBN_SELENDOK), command(comboId, CBN_CLOSEUP)}));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));

    // Closing a closed list reports nothing.
    received.clear();
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_TRUE(received.empty());
}

TEST_F(ComboBoxTest, DroppedListKeepsEnterAndEscapeFromTheDialog)
{
    MSG enter{nullptr, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    MSG escape{nullptr, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    auto wants = [](HWND control, MSG& msg) {
        msg.hwnd = control;
        return (SendMessageW(control, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTMESSAGE) != 0;
    };
    makeCombo(CBS_DROPDOWNLIST);
    add(u"первая");
    EXPECT_FALSE(wants(combo, enter));
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_TRUE(wants(combo, enter));
    EXPECT_TRUE(wants(combo, escape));

    // In a combo with an edit field the keys reach the field, which hands them to its box.
    DestroyWindow(combo);
    makeCombo(CBS_DROPDOWN | CBS_UPPERCASE);
    add(u"АПТЕКА");
    SetFocus(combo);
    pump();
    HWND field = GetFocus();
    ASSERT_NE(field, combo);
    EXPECT_FALSE(wants(field, enter));
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_TRUE(wants(field, enter));
    received.clear();
    key(VK_ESCAPE);
    EXPECT_EQ(received, (std::vector<Received>{command(comboId, CBN_SELENDCANCEL), command(comboId, CBN_CLOSEUP)}));
}

// What the search screen does while the user types a name: refill the list, open it, put the
// typed text back with the caret at its end; the user then goes on typing or taps a line.
TEST_F(ComboBoxTest, CompletionListRefilledWhileTypingAndChosenByTap)
{
    makeCombo(CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_UPPERCASE, 120);
    SetFocus(combo);
    pump();
    type(u"апт");
    received.clear();
    WCHAR typed[64]{};
    GetWindowTextW(combo, typed, 64);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const char16_t* name : {u"АПТЕКА №1", u"АПТЕКА НА НЕВСКОМ", u"АПТЕКИ ОЗЕРКИ"})
        add(name);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    SetWindowTextW(combo, typed);
    SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(received, std::vector<Received>{command(comboId, CBN_DROPDOWN)});
    EXPECT_EQ(textOf(combo), u"АПТ");

    // Typing goes on into the field with the list open.
    received.clear();
    type(u"е");
    EXPECT_EQ(textOf(combo), u"АПТЕ");
    EXPECT_EQ(received, (std::vector<Received>{command(comboId, CBN_EDITUPDATE), command(comboId, CBN_EDITCHANGE)}));
    EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));

    HWND list = droppedList();
    ASSERT_NE(list, nullptr);
    RECT third{};
    SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&third));
    received.clear();
    tap(list, 30, (third.top + third.bottom) / 2);
    EXPECT_EQ(textOf(combo), u"АПТЕКИ ОЗЕРКИ");
    EXPECT_EQ(received, (std::vector<Received>{command(comboId, CBN_SELCHANGE), command(comboId, CBN_SELENDOK),
                                               command(comboId, CBN_CLOSEUP)}));
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
}

TEST_F(ComboBoxTest, ListOnlyComboShowsOnlyItsLines)
{
    makeCombo(CBS_DROPDOWNLIST | CBS_SORT);
    add(u"<<выбрать тему>>");
    add(u"Аптеки");
    EXPECT_EQ(SetWindowTextW(combo, u"аптеки"), TRUE);  // found case-insensitively
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(textOf(combo), u"Аптеки");
    EXPECT_EQ(SendMessageW(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"Банки")), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(combo, CB_SETEDITSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_LIMITTEXT, 5, 0), CB_ERR);
    // Typing a letter selects the next line that begins with it.
    SetFocus(combo);
    pump();
    received.clear();
    type(u"<");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(received, (std::vector<Received>{command(comboId, CBN_SELENDOK), command(comboId, CBN_SELCHANGE)}));
}

}  // namespace
}  // namespace controls_test
