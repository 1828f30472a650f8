// Turning the screen: the shell's windows, the work area and the sized dialogs follow, and the
// program is told.
#include "tests/shell/shell_fixture.h"

namespace shell_test {

using RotationTest = ShellTest;

TEST_F(RotationTest, EverythingFollowsTheTurnAndTheProgramIsTold)
{
    HWND main = makeWindow(u"Главная");
    HWND dialog = CreateDialogParamW(emu::programInstance(), MAKEINTRESOURCEW(dialogId), main, shellDialogProc,
                                     SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR);
    ASSERT_NE(dialog, nullptr);
    pump();
    SetActiveWindow(main);
    pump();

    gdi::resizeScreen(320, 240);
    shell::screenTurned(320, 240);
    pump();

    RECT r{};
    GetWindowRect(FindWindowW(u"HHTaskBar", u""), &r);
    EXPECT_EQ(r.right, 320);
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.top, 26);
    EXPECT_EQ(r.right, 320);
    EXPECT_EQ(r.bottom, 240);
    EXPECT_EQ(GetSystemMetrics(SM_CXFULLSCREEN), 320);
    EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 214);
    EXPECT_TRUE(sawMessage(WM_SETTINGCHANGE, SETTINGCHANGE_RESET));
    GetWindowRect(main, &r);
    EXPECT_EQ(r.right, 320) << "SHHandleWMSettingChange widens the window";
    EXPECT_EQ(r.bottom, 240);

    SIPINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(SipGetInfo(&info));
    EXPECT_EQ(info.rcSipRect.top, 134);
    EXPECT_EQ(info.rcSipRect.right, 320);
    SipShowIM(SIPF_ON);
    saveShot("rotated_russian");
}

TEST_F(RotationTest, TurningWithoutTheShellDoesNothing)
{
    shell::stopShell();
    gdi::resizeScreen(320, 240);
    shell::screenTurned(320, 240);
    EXPECT_FALSE(shell::shellRunning());
    EXPECT_EQ(FindWindowW(u"HHTaskBar", u""), nullptr);
    EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 240);
}

}  // namespace shell_test
