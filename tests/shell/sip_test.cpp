// The soft input panel: where it is, how programs raise and lower it, what they are told, and
// typing into a field through it.
#include "tests/shell/shell_fixture.h"

namespace shell_test {

namespace {

SIPINFO readPanel()
{
    SIPINFO info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(SipGetInfo(&info));
    return info;
}

void expectRect(const RECT& r, int left, int top, int right, int bottom)
{
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

}  // namespace

using SipTest = ShellTest;

TEST_F(SipTest, PanelRectangleSitsAboveTheBottomBarAndShrinksTheVisibleDesktop)
{
    SIPINFO info = readPanel();
    EXPECT_EQ(info.fdwFlags & SIPF_ON, 0u);
    expectRect(info.rcSipRect, 0, 214, 240, 294);
    expectRect(info.rcVisibleDesktop, 0, 26, 240, 320);

    // The program's way: the record read with its size set, bit 0 set, written back.
    info.fdwFlags |= SIPF_ON;
    ASSERT_TRUE(SipSetInfo(&info));
    info = readPanel();
    EXPECT_EQ(info.fdwFlags & SIPF_ON, static_cast<DWORD>(SIPF_ON));
    expectRect(info.rcVisibleDesktop, 0, 26, 240, 214);
    EXPECT_TRUE(IsWindowVisible(FindWindowW(u"SipWndClass", nullptr)));
}

TEST_F(SipTest, DeviceSizedRecordIsReadAndWrongSizesAreRefused)
{
    SIPINFO info{};
    info.cbSize = 48;
    info.pvImData = &info;
    ASSERT_TRUE(SipGetInfo(&info));
    expectRect(info.rcSipRect, 0, 214, 240, 294);
    EXPECT_EQ(info.pvImData, &info) << "nothing written beyond the 48 bytes the program declared";

    info.cbSize = 0;
    SetLastError(0);
    EXPECT_FALSE(SipGetInfo(&info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(SipSetInfo(&info));
    EXPECT_FALSE(SipGetInfo(nullptr));

    shell::stopShell();
    info.cbSize = sizeof info;
    EXPECT_FALSE(SipGetInfo(&info)) << "no shell, no panel: screens treat it as down";
}

TEST_F(SipTest, ProgramWindowsHearOfEveryChangeAndTheActiveOneMakesRoom)
{
    HWND main = makeWindow(u"Главная");
    SipShowIM(SIPF_ON);
    pump();
    EXPECT_TRUE(sawMessage(WM_SETTINGCHANGE, SPI_SETSIPINFO));
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_EQ(r.bottom, 214) << "SHHandleWMSettingChange ends the window at the panel";

    seen.clear();
    SipShowIM(SIPF_ON);
    pump();
    EXPECT_FALSE(sawMessage(WM_SETTINGCHANGE, SPI_SETSIPINFO)) << "no change, no news";

    SipShowIM(SIPF_OFF);
    pump();
    EXPECT_TRUE(sawMessage(WM_SETTINGCHANGE, SPI_SETSIPINFO));
    GetWindowRect(main, &r);
    EXPECT_EQ(r.bottom, 320);
}

TEST_F(SipTest, PreferenceDownWaitsForQueuedMessagesAndUpCancelsIt)
{
    HWND main = makeWindow(u"Главная");
    ASSERT_TRUE(SHSipPreference(main, SIP_UP));
    EXPECT_TRUE(readPanel().fdwFlags & SIPF_ON);

    ASSERT_TRUE(SHSipPreference(main, SIP_DOWN));
    EXPECT_TRUE(readPanel().fdwFlags & SIPF_ON) << "still up until the queue has been handled";
    SHSipPreference(main, SIP_UP);
    pump();
    EXPECT_TRUE(readPanel().fdwFlags & SIPF_ON) << "the field that took the focus wants it";

    SHSipPreference(main, SIP_DOWN);
    pump();
    EXPECT_FALSE(readPanel().fdwFlags & SIPF_ON);

    SHSipPreference(main, SIP_UP);
    SHSipPreference(main, SIP_FORCEDOWN);
    EXPECT_FALSE(readPanel().fdwFlags & SIPF_ON) << "force down acts at once";
    EXPECT_FALSE(SHSipPreference(nullptr, SIP_UP));
}

TEST_F(SipTest, TypingIntoAnUpperCaseFieldThroughEveryLayout)
{
    HWND main = makeWindow(u"Поиск");
    HWND edit = CreateWindowExW(0, WC_EDITW, u"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_UPPERCASE | ES_AUTOHSCROLL, 10, 20,
                                200, 22, main, reinterpret_cast<HMENU>(static_cast<INT_PTR>(editId)), nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    SetFocus(edit);
    SipShowIM(SIPF_ON);
    pump();

    using shell::KeyKind;
    using shell::SipLayout;
    for (const char16_t ch : std::u16string(u"ремонт")) {
        const POINT p = keyOnScreen(SipLayout::russian, ch);
        tapScreen(p.x, p.y);
    }
    const POINT space = keyOnScreen(SipLayout::russian, u' ');
    tapScreen(space.x, space.y);
    for (const char16_t ch : std::u16string(u"обувиё")) {
        const POINT p = keyOnScreen(SipLayout::russian, ch);
        tapScreen(p.x, p.y);
    }
    EXPECT_EQ(textOf(edit), u"РЕМОНТ ОБУВИЁ");
    EXPECT_EQ(GetFocus(), edit) << "the panel never takes the focus";
    EXPECT_EQ(GetForegroundWindow(), main);
    saveShot("sip_russian");

    const POINT back = keyOnScreen(SipLayout::russian, KeyKind::backspace);
    tapScreen(back.x, back.y);
    EXPECT_EQ(textOf(edit), u"РЕМОНТ ОБУВИ");

    const POINT latin = keyOnScreen(SipLayout::russian, KeyKind::layout, SipLayout::latin);
    tapScreen(latin.x, latin.y);
    const POINT shift = keyOnScreen(SipLayout::latin, KeyKind::shift);
    tapScreen(shift.x, shift.y);
    EXPECT_TRUE(shell::shellState().shift);
    saveShot("sip_latin_shift");
    const POINT w = keyOnScreen(SipLayout::latin, u'w');
    tapScreen(w.x, w.y);
    EXPECT_FALSE(shell::shellState().shift) << "shift holds for one letter";
    const POINT at = keyOnScreen(SipLayout::latin, u'@');
    tapScreen(at.x, at.y);

    const POINT digits = keyOnScreen(SipLayout::latin, KeyKind::layout, SipLayout::digits);
    tapScreen(digits.x, digits.y);
    const POINT seven = keyOnScreen(SipLayout::digits, u'7');
    tapScreen(seven.x, seven.y);
    EXPECT_EQ(textOf(edit), u"РЕМОНТ ОБУВИW@7");
    saveShot("sip_digits");
}

TEST_F(SipTest, SlidingOffAKeyTypesNothing)
{
    HWND main = makeWindow(u"Поиск");
    HWND edit = CreateWindowExW(0, WC_EDITW, u"", WS_CHILD | WS_VISIBLE | ES_UPPERCASE, 10, 20, 200, 22, main, nullptr,
                                nullptr, nullptr);
    SetFocus(edit);
    SipShowIM(SIPF_ON);
    pump();
    const POINT from = keyOnScreen(shell::SipLayout::russian, u'ж');
    const POINT to = keyOnScreen(shell::SipLayout::russian, u'э');
    ui::stylusDown(from.x, from.y);
    pump();
    ui::stylusMove(to.x, to.y);
    pump();
    ui::stylusUp(to.x + 30, to.y - 40);
    pump();
    EXPECT_EQ(textOf(edit), u"");
}

TEST_F(SipTest, PreferenceControlFollowsTheFocusBetweenFieldAndButton)
{
    HWND main = makeWindow(u"Главная");
    HWND dialog = CreateDialogParamW(emu::programInstance(), MAKEINTRESOURCEW(dialogWithSipPreferenceId), main,
                                     shellDialogProc, SHIDIF_SIZEDLGFULLSCREEN);
    ASSERT_NE(dialog, nullptr);
    pump();
    HWND edit = GetDlgItem(dialog, editId);
    HWND button = GetDlgItem(dialog, buttonId);
    ASSERT_NE(edit, nullptr);
    SetFocus(edit);
    pump();
    EXPECT_TRUE(readPanel().fdwFlags & SIPF_ON) << "a field with the focus wants the panel";
    SetFocus(button);
    pump();
    EXPECT_FALSE(readPanel().fdwFlags & SIPF_ON);
    SetFocus(edit);
    pump();
    EXPECT_TRUE(readPanel().fdwFlags & SIPF_ON);
}

TEST_F(SipTest, WindowGetsBackThePanelAndFocusItHadWhenItLostActivation)
{
    HWND first = makeWindow(u"Первое");
    HWND edit = CreateWindowExW(0, WC_EDITW, u"", WS_CHILD | WS_VISIBLE, 10, 20, 200, 22, first, nullptr, nullptr, nullptr);
    SetFocus(edit);
    SipShowIM(SIPF_ON);
    SHACTIVATEINFO state{sizeof(SHACTIVATEINFO), nullptr, 0, 0, 0, 0};
    ASSERT_TRUE(SHHandleWMActivate(first, MAKEWPARAM(WA_INACTIVE, 0), 0, &state, 0));
    EXPECT_EQ(state.hwndLastFocus, edit);
    EXPECT_EQ(state.fSipOnDeactivation, 1u);

    HWND second = makeWindow(u"Второе");
    SetFocus(second);
    SipShowIM(SIPF_OFF);
    ASSERT_TRUE(SHHandleWMActivate(first, MAKEWPARAM(WA_ACTIVE, 0), 0, &state, 0));
    EXPECT_TRUE(readPanel().fdwFlags & SIPF_ON);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(state.fActive, 1u);
    EXPECT_FALSE(SHHandleWMActivate(first, MAKEWPARAM(WA_ACTIVE, 0), 0, nullptr, 0));
}

}  // namespace shell_test

namespace shell_test {

TEST_F(SipTest, ResettingTheWindowManagerTakesTheShellAway)
{
    SipShowIM(SIPF_ON);
    ui::resetWindowManager();
    EXPECT_FALSE(shell::shellRunning());
    SIPINFO info{};
    info.cbSize = sizeof info;
    EXPECT_FALSE(SipGetInfo(&info)) << "no panel is claimed to be up when none is on the screen";
    EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 320);
    shell::startShell();
    ASSERT_TRUE(SipGetInfo(&info));
    EXPECT_EQ(info.fdwFlags & SIPF_ON, 0u);
}

}  // namespace shell_test
