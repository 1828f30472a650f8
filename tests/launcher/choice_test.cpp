// The launcher's choice, apart from any window. Compiled with -fexec-charset=CP1251 like the
// launcher, so the expected sentences are the same code page 1251 bytes.
#include "launcher/choice.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class LauncherChoice : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetLauncherState(state);
        setLauncherFolder(state, "D:\\Distrib\\Vantory.exe");
    }
    LauncherState state{};
};

TEST_F(LauncherChoice, NextButtonIsNotThereBeforeAChoice)
{
    EXPECT_EQ(hitTest(state, 700, 570), noHitCode);
    EXPECT_EQ(releaseOn(state, hitTest(state, 700, 570)), ReleaseAction::Repaint);
    EXPECT_EQ(state.activeButtons, 3);
    EXPECT_EQ(state.chosenEdition, 0);
    EXPECT_STREQ(state.setupCommand, "");

    chooseEdition(state, 1);
    EXPECT_EQ(hitTest(state, 700, 570), nextButtonEntry);
    EXPECT_EQ(hitTest(state, 656, 551), nextButtonEntry);
    EXPECT_EQ(hitTest(state, 774, 570), noHitCode);
}

TEST_F(LauncherChoice, ButtonsAreHitInsideTheirTableRectangles)
{
    EXPECT_EQ(hitTest(state, 292, 159), 0);
    EXPECT_EQ(hitTest(state, 449, 193), 0);
    EXPECT_EQ(hitTest(state, 450, 170), noHitCode);
    EXPECT_EQ(hitTest(state, 300, 194), noHitCode);
    EXPECT_EQ(hitTest(state, 291, 170), noHitCode);
    // Entry 1 is taken 168 pixels wide, though its pictures are 158.
    EXPECT_EQ(hitTest(state, 461, 159), 1);
    EXPECT_EQ(hitTest(state, 625, 170), 1);
    EXPECT_EQ(hitTest(state, 628, 194 - 1), 1);
    EXPECT_EQ(hitTest(state, 629, 170), noHitCode);
    EXPECT_EQ(state.buttons[1].width, 168);
    EXPECT_EQ(hitTest(state, 478, 499), 2);
    EXPECT_EQ(hitTest(state, 479, 480), noHitCode);
}

TEST_F(LauncherChoice, LinkBoundsAreExclusive)
{
    EXPECT_EQ(hitTest(state, 488, 242), linkHitCode);
    EXPECT_EQ(hitTest(state, 582, 265), linkHitCode);
    EXPECT_EQ(hitTest(state, 487, 250), noHitCode);
    EXPECT_EQ(hitTest(state, 583, 250), noHitCode);
    EXPECT_EQ(hitTest(state, 530, 241), noHitCode);
    EXPECT_EQ(hitTest(state, 530, 266), noHitCode);
}

TEST_F(LauncherChoice, EachEditionSetsItsSetupProgramAndSentence)
{
    struct Expected {
        const char* command;
        const char* message;
    };
    const Expected expected[] = {
        {"D:\\Distrib\\Install_SPb\\setup.exe",
         "Для запуска программы установки Morvane Quillden с базой <Санкт-Петербург> на КПК нажмите кнопку "
         "\"Далее\""},
        {"D:\\Distrib\\Install_Msk\\setup.exe",
         "Для запуска программы установки Morvane Quillden с базой <Москва> на КПК нажмите кнопку \"Далее\""},
        {"D:\\Distrib\\Install_ALL\\setup.exe",
         "Для запуска программы установки Morvane Quillden с базами <Санкт-Петербург> и <Москва> на КПК "
         "нажмите кнопку \"Далее\""},
    };
    for (int entry = 0; entry < 3; ++entry) {
        SCOPED_TRACE(entry);
        const ButtonEntry& button = state.buttons[entry];
        EXPECT_EQ(releaseOn(state, hitTest(state, button.x + 5, button.y + 5)), ReleaseAction::Repaint);
        EXPECT_EQ(state.activeButtons, 4);
        EXPECT_EQ(state.chosenEdition, entry + 1);
        EXPECT_STREQ(state.setupCommand, expected[entry].command);
        ASSERT_NE(state.editionMessage, nullptr);
        EXPECT_STREQ(state.editionMessage, expected[entry].message);
    }
    // The sentences are code page 1251: "Д" is 0xC4 there.
    EXPECT_EQ(static_cast<unsigned char>(state.editionMessage[0]), 0xC4);
}

TEST_F(LauncherChoice, NextStartsTheChosenSetupAndHidesItself)
{
    chooseEdition(state, 2);
    EXPECT_EQ(releaseOn(state, nextButtonEntry), ReleaseAction::StartSetup);
    EXPECT_EQ(state.activeButtons, 3);
    EXPECT_STREQ(state.setupCommand, "D:\\Distrib\\Install_ALL\\setup.exe");
}

TEST_F(LauncherChoice, LinkAndElsewhereClearTheChoice)
{
    chooseEdition(state, 0);
    EXPECT_EQ(releaseOn(state, hitTest(state, 530, 250)), ReleaseAction::OpenSite);
    EXPECT_EQ(state.activeButtons, 3);
    EXPECT_EQ(state.chosenEdition, 0);
    EXPECT_EQ(state.editionMessage, nullptr);
    EXPECT_STREQ(state.setupCommand, "");

    chooseEdition(state, 1);
    EXPECT_EQ(releaseOn(state, hitTest(state, 10, 10)), ReleaseAction::Repaint);
    EXPECT_EQ(state.activeButtons, 3);
    EXPECT_EQ(state.chosenEdition, 0);
    EXPECT_EQ(state.editionMessage, nullptr);
    EXPECT_STREQ(state.setupCommand, "");
}

TEST_F(LauncherChoice, ChosenEntryShowsItsHighlightedPicture)
{
    for (int entry = 0; entry < buttonCount; ++entry) {
        state.buttons[entry].normal = reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(0x100 + entry));
        state.buttons[entry].highlighted = reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(0x200 + entry));
    }
    chooseEdition(state, 1);
    EXPECT_EQ(buttonPicture(state, 0), state.buttons[0].normal);
    EXPECT_EQ(buttonPicture(state, 1), state.buttons[1].highlighted);
    EXPECT_EQ(buttonPicture(state, 3), state.buttons[3].normal);
}

TEST_F(LauncherChoice, LauncherFolderComesFromTheExecutablePath)
{
    setLauncherFolder(state, "Vantory.exe");
    EXPECT_STREQ(state.launcherFolder, "");
    chooseEdition(state, 1);
    EXPECT_STREQ(state.setupCommand, "Install_Msk\\setup.exe");

    setLauncherFolder(state, "\\CD\\sub\\Vantory.exe");
    EXPECT_STREQ(state.launcherFolder, "\\CD\\sub\\");
}

TEST_F(LauncherChoice, ASetupPathTooLongIsNotCutShort)
{
    std::string folder = "D:\\" + std::string(480, 'x') + "\\";
    setLauncherFolder(state, (folder + "Vantory.exe").c_str());
    EXPECT_EQ(std::string(state.launcherFolder), folder);
    chooseEdition(state, 0);
    // 484 + 21 characters and the terminator fit in 512 bytes ...
    EXPECT_EQ(std::string(state.setupCommand), folder + "Install_SPb\\setup.exe");

    folder = "D:\\" + std::string(490, 'x') + "\\";
    setLauncherFolder(state, (folder + "Vantory.exe").c_str());
    chooseEdition(state, 0);
    // ... 494 + 21 do not: nothing rather than a path naming some other program.
    EXPECT_STREQ(state.setupCommand, "");
    EXPECT_EQ(state.chosenEdition, 1);
}

TEST(LauncherWindowPlace, CentresWithSignedArithmetic)
{
    EXPECT_EQ(centredOrigin(1024, 806), 109);
    EXPECT_EQ(centredOrigin(640, 806), -83);
    EXPECT_EQ(centredOrigin(806, 806), 0);
}

} // namespace
