#include "tests/controls/control_fixture.h"

namespace controls_test {
namespace {

constexpr int editId = 1017;
constexpr int buttonId = 1031;
constexpr int staticId = 1005;

using EditTest = ControlTest;

DWORD selection(HWND edit)
{
    return static_cast<DWORD>(SendMessageW(edit, EM_GETSEL, 0, 0));
}

TEST_F(EditTest, UpperCaseFieldConvertsTypingAndSetText)
{
    HWND edit = create(WC_EDITW, WS_BORDER | ES_UPPERCASE | ES_AUTOHSCROLL, editId, 0, 0, 200, 20);
    SetFocus(edit);
    pump();
    received.clear();
    type(u"ул. ленина");
    EXPECT_EQ(textOf(edit), u"УЛ. ЛЕНИНА");
    SetWindowTextW(edit, u"невский");
    EXPECT_EQ(textOf(edit), u"НЕВСКИЙ");
    // Each change: EN_UPDATE, then EN_CHANGE.
    ASSERT_GE(received.size(), 2u);
    EXPECT_EQ(received[received.size() - 2], command(editId, EN_UPDATE));
    EXPECT_EQ(received.back(), command(editId, EN_CHANGE));
}

TEST_F(EditTest, LowerCaseFieldConvertsEveryAlphabet)
{
    HWND edit = create(WC_EDITW, WS_BORDER | ES_LOWERCASE | ES_AUTOHSCROLL, editId, 0, 0, 200, 20);
    SetFocus(edit);
    pump();
    type(u"ЁЛКА Café ÀÞ×");
    EXPECT_EQ(textOf(edit), u"ёлка café àþ×");
}

TEST_F(EditTest, DigitsOnlyAndTheLimitApplyToTypingNotToSetText)
{
    HWND edit = create(WC_EDITW, WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL, editId, 0, 0, 200, 20);
    SendMessageW(edit, EM_LIMITTEXT, 9, 0);
    SetFocus(edit);
    pump();
    type(u"12а3-45678901");
    EXPECT_EQ(textOf(edit), u"123456789");
    SetWindowTextW(edit, u"0123456789AB");
    EXPECT_EQ(textOf(edit), u"0123456789AB");
}

TEST_F(EditTest, CaretKeysSelectionAndDeletion)
{
    HWND edit = create(WC_EDITW, WS_BORDER | ES_AUTOHSCROLL, editId, 0, 0, 200, 20);
    SetFocus(edit);
    SetWindowTextW(edit, u"КАФЕ");
    SendMessageW(edit, EM_SETSEL, 4, 4);
    pump();
    EXPECT_EQ(selection(edit), static_cast<DWORD>(MAKELONG(4, 4)));
    type(u"\b");
    EXPECT_EQ(textOf(edit), u"КАФ");
    key(VK_HOME);
    key(VK_DELETE);
    EXPECT_EQ(textOf(edit), u"АФ");
    key(VK_RIGHT);
    type(u"Х");
    EXPECT_EQ(textOf(edit), u"АХФ");
    key(VK_END);
    key(VK_LEFT);
    EXPECT_EQ(selection(edit), static_cast<DWORD>(MAKELONG(2, 2)));

    // A selection is replaced by what is typed; -1 as the end means the end of the text.
    SendMessageW(edit, EM_SETSEL, 1, static_cast<LPARAM>(-1));
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 3u);
    type(u"Я");
    EXPECT_EQ(textOf(edit), u"АЯ");
    key(VK_DELETE);  // nothing after the caret
    EXPECT_EQ(textOf(edit), u"АЯ");
}

TEST_F(EditTest, WithoutAutoScrollTheFieldTakesOnlyWhatFits)
{
    HWND edit = create(WC_EDITW, WS_BORDER, editId, 0, 0, 40, 20);
    SetFocus(edit);
    pump();
    type(u"ШШШШШШШШШШШШ");
    std::u16string text = textOf(edit);
    EXPECT_FALSE(text.empty());
    EXPECT_LT(text.size(), 12u);
}

TEST_F(EditTest, LimitCutsTypingAndReportsIt)
{
    HWND edit = create(WC_EDITW, WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL, editId, 0, 0, 200, 20);
    SendMessageW(edit, EM_LIMITTEXT, 3, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 3);
    SetFocus(edit);
    pump();
    type(u"123");
    received.clear();
    type(u"4");
    EXPECT_EQ(received, std::vector<Received>{command(editId, EN_MAXTEXT)});
    EXPECT_EQ(textOf(edit), u"123");
    // A letter in a digits-only field changes nothing and reports nothing.
    SendMessageW(edit, EM_SETSEL, 0, 1);
    received.clear();
    type(u"ж");
    EXPECT_TRUE(received.empty());
    type(u"9");
    EXPECT_EQ(textOf(edit), u"923");
}

TEST_F(EditTest, StylusPlacesTheCaretAndDragsASelection)
{
    HWND edit = create(WC_EDITW, WS_BORDER | ES_AUTOHSCROLL, editId, 0, 0, 200, 20, u"ШШШШШШ");
    tap(edit, 1, 10);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(selection(edit), static_cast<DWORD>(MAKELONG(0, 0)));
    press(edit, 1, 10);
    drag(edit, 190, 10);
    release(edit, 190, 10);
    EXPECT_EQ(selection(edit), static_cast<DWORD>(MAKELONG(0, 6)));
    type(u"Ю");
    EXPECT_EQ(textOf(edit), u"Ю");
}

TEST_F(EditTest, ModifiedFlagFollowsTheUserNotTheProgram)
{
    HWND edit = create(WC_EDITW, WS_BORDER | ES_AUTOHSCROLL, editId, 0, 0, 60, 20, u"Невский");
    EXPECT_EQ(SendMessageW(edit, EM_GETMODIFY, 0, 0), FALSE);
    SetFocus(edit);
    pump();
    type(u"Малоохтинский проспект");
    EXPECT_EQ(SendMessageW(edit, EM_GETMODIFY, 0, 0), TRUE);
    SetWindowTextW(edit, u"");
    EXPECT_EQ(SendMessageW(edit, EM_GETMODIFY, 0, 0), FALSE);
    SendMessageW(edit, EM_SETMODIFY, TRUE, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETMODIFY, 0, 0), TRUE);
}

using ButtonTest = ControlTest;

TEST_F(ButtonTest, OwnerDrawnButtonIsDrawnPressedWhileHeldAndClicksOnRelease)
{
    HWND button = create(WC_BUTTONW, BS_OWNERDRAW, buttonId, 10, 10, 60, 24, u"Телефон");
    received.clear();
    press(button, 20, 10);
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.back().message, static_cast<UINT>(WM_DRAWITEM));
    EXPECT_TRUE(received.back().itemState & ODS_SELECTED);

    received.clear();
    release(button, 20, 10);
    ASSERT_GE(received.size(), 2u);
    EXPECT_EQ(received.front().message, static_cast<UINT>(WM_DRAWITEM));
    EXPECT_FALSE(received.front().itemState & ODS_SELECTED);
    EXPECT_EQ(received.back(), command(buttonId, BN_CLICKED));

    // Sliding off before lifting the stylus is no click.
    received.clear();
    press(button, 20, 10);
    drag(button, 200, 200);
    release(button, 200, 200);
    for (const Received& r : received)
        EXPECT_NE(r, command(buttonId, BN_CLICKED));
}

TEST_F(ButtonTest, DisabledButtonIgnoresTheStylus)
{
    HWND button = create(WC_BUTTONW, BS_PUSHBUTTON, buttonId, 10, 10, 60, 24, u"ИСКАТЬ");
    EnableWindow(button, FALSE);
    pump();
    received.clear();
    tap(button, 20, 10);
    EXPECT_TRUE(received.empty());
    EnableWindow(button, TRUE);
    tap(button, 20, 10);
    EXPECT_EQ(received, std::vector<Received>{command(buttonId, BN_CLICKED)});
}

TEST_F(ButtonTest, PushButtonClicksOnReleaseAndBySpace)
{
    HWND button = create(WC_BUTTONW, BS_DEFPUSHBUTTON, buttonId, 10, 10, 60, 24, u"ИСКАТЬ");
    press(button, 20, 10);
    EXPECT_TRUE(received.empty());  // not yet: the device clicks on release
    EXPECT_TRUE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
    release(button, 20, 10);
    EXPECT_EQ(received, std::vector<Received>{command(buttonId, BN_CLICKED)});
    EXPECT_FALSE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED);

    received.clear();
    SetFocus(button);
    pump();
    key(VK_SPACE);
    EXPECT_EQ(received, std::vector<Received>{command(buttonId, BN_CLICKED)});
    EXPECT_EQ(SendMessageW(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
}

using StaticTest = ControlTest;

TEST_F(StaticTest, OnlyNotifyingStaticsReportTaps)
{
    HWND name = create(WC_STATICW, SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY, staticId, 0, 0, 240, 30, u"Наименование");
    HWND label = create(WC_STATICW, SS_LEFT, 1013, 0, 40, 240, 20, u"Часы работы");
    received.clear();
    tap(name, 100, 15);
    EXPECT_EQ(received, std::vector<Received>{command(staticId, STN_CLICKED)});
    received.clear();
    tap(label, 50, 10);
    EXPECT_TRUE(received.empty());
}

}  // namespace
}  // namespace controls_test
