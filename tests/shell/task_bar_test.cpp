// The task bar strip, full screen and the dialogs the shell initialises: what the screens build
// their frame on.
#include "tests/shell/shell_fixture.h"

namespace shell_test {

namespace {

RECT rectOf(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

void expectRect(const RECT& r, int left, int top, int right, int bottom)
{
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

constexpr POINT okButton{221, 13};

}  // namespace

using TaskBarTest = ShellTest;

TEST_F(TaskBarTest, StripIsFoundByClassAndEmptyTitleAndProgramsStartBelowIt)
{
    HWND strip = FindWindowW(u"HHTaskBar", u"");
    ASSERT_NE(strip, nullptr);
    expectRect(rectOf(strip), 0, 0, 240, 26);
    EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 294);
    HWND main = makeWindow(u"Morvane Quillden");
    expectRect(rectOf(main), 0, 26, 240, 320);
    EXPECT_EQ(GetForegroundWindow(), main) << "the strip never takes activation";
    EXPECT_EQ(shell::shellState().shownCaption, u"Morvane Quillden");
    EXPECT_FALSE(shell::shellState().shownDone);

    SetWindowTextW(main, u"Справочник");
    SHDoneButton(main, SHDB_SHOW);
    pump();
    EXPECT_EQ(shell::shellState().shownCaption, u"Справочник");
    EXPECT_TRUE(shell::shellState().shownDone);
    saveShot("task_bar");
}

TEST_F(TaskBarTest, FullScreenHidesStripAndButtonAndGivesTheWholeScreen)
{
    HWND main = makeWindow(u"Главная");
    HWND strip = FindWindowW(u"HHTaskBar", u"");
    HWND button = FindWindowW(u"MS_SIPBUTTON", nullptr);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(IsWindowVisible(button));

    ASSERT_TRUE(SHFullScreen(main, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON));
    EXPECT_FALSE(IsWindowVisible(strip));
    EXPECT_FALSE(IsWindowVisible(button));
    EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 320);
    expectRect(rectOf(main), 0, 26, 240, 320);  // the program places itself
    HWND later = makeWindow(u"Позже");
    expectRect(rectOf(later), 0, 0, 240, 320);
    SIPINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(SipGetInfo(&info));
    expectRect(info.rcVisibleDesktop, 0, 0, 240, 320);
    EXPECT_EQ(FindWindowW(u"HHTaskBar", u""), strip) << "hidden, not gone: programs still read its height";

    ASSERT_TRUE(SHFullScreen(main, SHFS_SHOWTASKBAR | SHFS_SHOWSIPBUTTON));
    EXPECT_TRUE(IsWindowVisible(strip));
    EXPECT_TRUE(IsWindowVisible(button));
    EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 294);

    EXPECT_FALSE(SHFullScreen(main, SHFS_SHOWTASKBAR | SHFS_HIDETASKBAR));
    EXPECT_TRUE(IsWindowVisible(strip)) << "a contradictory request changes nothing";
    EXPECT_FALSE(SHFullScreen(nullptr, SHFS_HIDETASKBAR));
    EXPECT_TRUE(IsWindowVisible(strip));
}

TEST_F(TaskBarTest, DoneButtonEndsTheDialogWithIdok)
{
    HWND main = makeWindow(u"Главная");
    RECT dialogRect{};
    bool stripShowedDone = false;
    int idleCalls = 0;
    onIdle = [&](int) {
        if (++idleCalls == 1) {
            HWND dialog = GetForegroundWindow();
            dialogRect = rectOf(dialog);
            stripShowedDone = shell::shellState().shownDone && shell::shellState().shownCaption == u"Поиск";
            ui::stylusDown(okButton.x, okButton.y);
            ui::stylusUp(okButton.x, okButton.y);
            return true;
        }
        ADD_FAILURE() << "the dialog is still open after the ok button";
        EndDialog(GetForegroundWindow(), IDCANCEL);
        return true;
    };
    const INT_PTR result = DialogBoxParamW(emu::programInstance(), MAKEINTRESOURCEW(dialogId), main, shellDialogProc,
                                           SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR);
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(stripShowedDone);
    expectRect(dialogRect, 0, 26, 240, 320);
    pump();
    EXPECT_EQ(shell::shellState().shownCaption, u"Главная") << "the strip follows the window back in front";
    EXPECT_FALSE(shell::shellState().shownDone);
}

TEST_F(TaskBarTest, WithoutDoneFlagTheStripHasNoButtonAndTheMenuBarStripStaysFree)
{
    HWND main = makeWindow(u"Главная");
    RECT dialogRect{};
    int idleCalls = 0;
    onIdle = [&](int) {
        HWND dialog = GetForegroundWindow();
        if (++idleCalls == 1) {
            dialogRect = rectOf(dialog);
            ui::stylusDown(okButton.x, okButton.y);
            ui::stylusUp(okButton.x, okButton.y);
        } else {
            EndDialog(dialog, 77);
        }
        return true;
    };
    const INT_PTR result =
        DialogBoxParamW(emu::programInstance(), MAKEINTRESOURCEW(dialogId), main, shellDialogProc, SHIDIF_SIZEDLGFULLSCREEN);
    EXPECT_EQ(result, 77) << "a tap where the button would be does nothing";
    expectRect(dialogRect, 0, 26, 240, 294);
}

TEST_F(TaskBarTest, SizedDialogKeepsTheStripsPlaceInFullScreen)
{
    HWND main = makeWindow(u"Главная");
    SHFullScreen(main, SHFS_HIDETASKBAR);
    HWND dialog = CreateDialogParamW(emu::programInstance(), MAKEINTRESOURCEW(dialogId), main, shellDialogProc,
                                     SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR);
    ASSERT_NE(dialog, nullptr);
    expectRect(rectOf(dialog), 0, 26, 240, 320);
    SHINITDLGINFO bad{SHIDIM_FLAGS, nullptr, SHIDIF_DONEBUTTON};
    EXPECT_FALSE(SHInitDialog(&bad));
    EXPECT_FALSE(SHInitDialog(nullptr));
}

}  // namespace shell_test

namespace shell_test {

TEST_F(TaskBarTest, DialogsKeepWorkingWhenTheShellStopsUnderThem)
{
    HWND main = makeWindow(u"Главная");
    HWND dialog = CreateDialogParamW(emu::programInstance(), MAKEINTRESOURCEW(dialogId), main, shellDialogProc,
                                     SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN);
    ASSERT_NE(dialog, nullptr);
    shell::stopShell();
    EXPECT_EQ(FindWindowW(u"HHTaskBar", u""), nullptr);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindowVisible(dialog)) << "the dialog's own procedure still answers";
}

}  // namespace shell_test
