// Vantory driven as a user drives it: taps on its picture buttons and link, its accelerators,
// and what it starts, read from the journal (nothing is launched).
#include "launcher/choice.h"
#include "launcher/editions.h"
#include "launcher/launcher_state.h"
#include "launcher/main_window.h"
#include "resources/launcher/launcher_ids.h"

#include "emulator.h"
#include "win32/controls.h"
#include "platform/gdi/faces.h"
#include "platform/gdi/screen.h"
#include "platform/host/host_services.h"
#include "platform/testing/scenario.h"
#include "platform/testing/script.h"
#include "platform/testing/window_dump.h"
#include "platform/testing/windows.h"
#include "platform/ui/window_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
void registerStandardControls();

namespace {

namespace fs = std::filesystem;

// Client points of the launcher's window (button table and link area).
constexpr POINT petersburgButton = {300, 170};
constexpr POINT moscowButton = {620, 170};  // inside entry 1 only thanks to its 168-pixel width
constexpr POINT bothButton = {300, 480};
constexpr POINT nextButton = {700, 570};
constexpr POINT linkArea = {530, 250};
constexpr POINT emptyPlace = {100, 100};

class LauncherScenario : public ::testing::Test {
protected:
    void SetUp() override
    {
        device = fs::temp_directory_path() / ("vantory-" + std::to_string(::getpid()));
        // The medium the launcher starts from, with a setup program in each install folder.
        for (const char* folder : {"Install_SPb", "Install_Msk", "Install_ALL"}) {
            const fs::path setup = device / "Distrib" / folder / "setup.exe";
            fs::create_directories(setup.parent_path());
            std::ofstream(setup) << "#!/bin/sh\n";
            fs::permissions(setup, fs::perms::owner_all);
        }
        ASSERT_EQ(emu::setDeviceRoot(device.string()), 0);
        emu::setModuleFileName(u"\\Distrib\\Vantory.exe");
        emu::clearJournal();
        host::setLaunchMode(host::LaunchMode::Journal);
        gdi::resizeScreen(1024, 768);
        ui::resetWindowManager();
        ui::setCaptionStrips(true);
        gdi::setDeviceLook(gdi::DeviceLook::desktop);
        registerStandardControls();
    }
    void TearDown() override
    {
        ui::resetWindowManager();
        gdi::setDeviceLook(gdi::DeviceLook::handheld);
        std::error_code ignored;
        fs::remove_all(device, ignored);
    }

    // Runs Vantory with `body`; the body's failures and the program's exit code come back.
    int run(const driver::ScenarioBody& body)
    {
        const driver::ScenarioResult result = driver::runScenario(
            [] { return WinMain(emu::programInstance(), nullptr, nullptr, SW_SHOWNORMAL); }, body);
        for (const std::string& failure : result.failures)
            ADD_FAILURE() << failure;
        return result.exitCode;
    }

    static HWND launcherWindow() { return driver::findWindow(u"VANTORY", u""); }

    static int tapClient(POINT client)
    {
        HWND window = launcherWindow();
        if (window == nullptr) {
            driver::fail("the launcher's window is not there");
            return -1;
        }
        POINT screen = client;
        ClientToScreen(window, &screen);
        return driver::tap(screen.x, screen.y);
    }

    static bool journalHas(const std::string& line)
    {
        const std::vector<std::string> lines = emu::journal();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    fs::path device;
};

TEST_F(LauncherScenario, HiddenNextButtonBeforeAChoiceOnlyClears)
{
    run([] {
        tapClient(nextButton);
        EXPECT_NE(launcherWindow(), nullptr) << "the launcher must still be open";
        EXPECT_EQ(launcherState.activeButtons, buttonsBeforeChoice);
        EXPECT_EQ(launcherState.chosenEdition, 0);
        EXPECT_TRUE(emu::journal().empty());
    });
}

TEST_F(LauncherScenario, EachEditionSetsItsCommandAndMessage)
{
    run([] {
        const struct {
            POINT at;
            int chosen;
            const char* command;
        } choices[] = {
            {petersburgButton, 1, "\\Distrib\\Install_SPb\\setup.exe"},
            {moscowButton, 2, "\\Distrib\\Install_Msk\\setup.exe"},
            {bothButton, 3, "\\Distrib\\Install_ALL\\setup.exe"},
        };
        for (const auto& choice : choices) {
            tapClient(choice.at);
            EXPECT_EQ(launcherState.chosenEdition, choice.chosen);
            EXPECT_STREQ(launcherState.setupCommand, choice.command);
            EXPECT_EQ(launcherState.editionMessage, editionChoices[choice.chosen - 1].message);
            EXPECT_EQ(launcherState.activeButtons, buttonCount);
        }
        // A tap beside every button clears the choice and hides "next" again.
        tapClient(emptyPlace);
        EXPECT_EQ(launcherState.chosenEdition, 0);
        EXPECT_EQ(launcherState.editionMessage, nullptr);
        EXPECT_STREQ(launcherState.setupCommand, "");
        EXPECT_EQ(launcherState.activeButtons, buttonsBeforeChoice);
    });
}

// The share of sampled pixels of a client rectangle that show `picture` from its (sourceX,
// sourceY): 1 when the screen shows that part of the picture.
double showsPicture(HWND window, HBITMAP picture, int sourceX, int sourceY, const RECT& client)
{
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    BITMAP size = {};
    if (picture == nullptr || GetObjectW(picture, sizeof size, &size) == 0)
        return 0;
    // A button's place may be larger than its picture: only what the picture covers is compared.
    const int right = std::min<int>(client.right, client.left + size.bmWidth - sourceX);
    const int bottom = std::min<int>(client.bottom, client.top + size.bmHeight - sourceY);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, picture);
    const gdi::Framebuffer& fb = gdi::screen();
    int sampled = 0;
    int same = 0;
    for (int y = client.top; y < bottom; y += 5)
        for (int x = client.left; x < right; x += 5) {
            const COLORREF want = GetPixel(memory, sourceX + x - client.left, sourceY + y - client.top);
            const uint32_t shown = fb.pixels[static_cast<size_t>(origin.y + y) * static_cast<size_t>(fb.width) +
                                             static_cast<size_t>(origin.x + x)];
            ++sampled;
            same += GetRValue(want) == ((shown >> 16) & 0xFF) && GetGValue(want) == ((shown >> 8) & 0xFF) &&
                    GetBValue(want) == (shown & 0xFF);
        }
    SelectObject(memory, previous);
    DeleteDC(memory);
    return sampled == 0 ? 0 : static_cast<double>(same) / sampled;
}

RECT buttonRect(int entry)
{
    const ButtonEntry& b = launcherState.buttons[entry];
    return RECT{b.x, b.y, b.x + b.width, b.y + b.height};
}

TEST_F(LauncherScenario, PaintsTheBackgroundTheChoiceTheNextButtonAndTheSentence)
{
    run([] {
        HWND window = launcherWindow();
        ASSERT_NE(window, nullptr);
        const LauncherState& s = launcherState;
        const RECT next = buttonRect(nextButtonEntry);
        // Beside the buttons, and where "next" will be: the background picture.
        EXPECT_EQ(showsPicture(window, s.background, 0, 0, RECT{0, 0, 280, 120}), 1.0);
        EXPECT_EQ(showsPicture(window, s.background, next.left, next.top, next), 1.0) << "no \"next\" yet";
        EXPECT_LT(showsPicture(window, s.buttons[nextButtonEntry].normal, 0, 0, next), 0.5);
        for (int entry = 0; entry < buttonsBeforeChoice; ++entry)
            EXPECT_EQ(showsPicture(window, s.buttons[entry].normal, 0, 0, buttonRect(entry)), 1.0) << entry;

        tapClient(petersburgButton);
        EXPECT_EQ(showsPicture(window, s.buttons[0].highlighted, 0, 0, buttonRect(0)), 1.0) << "the choice lights";
        EXPECT_LT(showsPicture(window, s.buttons[0].normal, 0, 0, buttonRect(0)), 0.9);
        EXPECT_EQ(showsPicture(window, s.buttons[1].normal, 0, 0, buttonRect(1)), 1.0);
        EXPECT_EQ(showsPicture(window, s.buttons[nextButtonEntry].normal, 0, 0, next), 1.0) << "\"next\" shows";

        // The edition's sentence, wrapped inside its box under the buttons.
        const driver::ScreenDump dump = driver::dumpWindows();
        const driver::WindowDump* shown = driver::findDumped(dump, u"VANTORY");
        ASSERT_NE(shown, nullptr);
        POINT origin = {0, 0};
        ClientToScreen(window, &origin);
        std::u16string sentence;
        for (const driver::DrawnTextDump& run : shown->drawn) {
            EXPECT_GE(run.rect.left - origin.x, 292);
            EXPECT_LE(run.rect.right - origin.x, 658);
            EXPECT_GE(run.rect.top - origin.y, 531);
            EXPECT_LE(run.rect.bottom - origin.y, 600);
            sentence += (sentence.empty() ? u"" : u" ") + run.text;
        }
        WCHAR expected[512] = {};
        MultiByteToWideChar(1251, 0, editionChoices[0].message, -1, expected, 512);
        EXPECT_EQ(sentence, std::u16string(expected));

        tapClient(bothButton);
        EXPECT_EQ(showsPicture(window, s.buttons[0].normal, 0, 0, buttonRect(0)), 1.0) << "one choice lights at a time";
        EXPECT_EQ(showsPicture(window, s.buttons[2].highlighted, 0, 0, buttonRect(2)), 1.0);
        tapClient(emptyPlace);
        EXPECT_EQ(showsPicture(window, s.background, next.left, next.top, next), 1.0) << "\"next\" hidden again";
        EXPECT_TRUE(driver::findDumped(driver::dumpWindows(), u"VANTORY")->drawn.empty()) << "no sentence";
    });
}

TEST_F(LauncherScenario, NextStartsTheChosenSetupAndEnds)
{
    const int exitCode = run([] {
        tapClient(moscowButton);
        tapClient(nextButton);
        EXPECT_TRUE(driver::programEnded());
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(journalHas("start \\Distrib\\Install_Msk\\setup.exe")) << ::testing::PrintToString(emu::journal());
}

TEST_F(LauncherScenario, LinkClearsTheChoiceAndOpensTheSite)
{
    run([] {
        tapClient(bothButton);
        tapClient(linkArea);
        EXPECT_EQ(launcherState.chosenEdition, 0);
        EXPECT_EQ(launcherState.activeButtons, buttonsBeforeChoice);
        EXPECT_NE(launcherWindow(), nullptr);
    });
    EXPECT_TRUE(journalHas(std::string("browser ") + makerSiteAddress)) << ::testing::PrintToString(emu::journal());
}

TEST_F(LauncherScenario, WindowStaysCentredOnANarrowScreen)
{
    gdi::resizeScreen(640, 480);
    run([] {
        RECT frame{};
        GetWindowRect(launcherWindow(), &frame);
        EXPECT_LT(frame.left, 0);
        EXPECT_LT(frame.top, 0);
        EXPECT_EQ(frame.right - frame.left, launcherWindowWidth);
        EXPECT_EQ(frame.bottom - frame.top, launcherWindowHeight);
    });
}

TEST_F(LauncherScenario, AboutBoxOpensFromBothAccelerators)
{
    run([] {
        for (char16_t key : {u'?', u'/'}) {
            driver::typeText(std::u16string(1, key), {VK_MENU});
            HWND about = driver::findWindow(u"", u"About");
            ASSERT_NE(about, nullptr) << "Alt+" << static_cast<char>(key);
            EXPECT_FALSE(IsWindowEnabled(launcherWindow())) << "the launcher waits for its about box";
            driver::pressKey(VK_RETURN);
            EXPECT_EQ(driver::findWindow(u"", u"About"), nullptr);
            EXPECT_TRUE(IsWindowEnabled(launcherWindow()));
        }
    });
}

// The reference's desktop frame: a 4-pixel sizing frame (kept after the launcher takes WS_THICKFRAME
// away) and a 19-pixel caption, so the 798 x 608 background fills the client area exactly.
TEST_F(LauncherScenario, TheWindowFrameIsTheDesktopsAndTheClientAreaFitsThePicture)
{
    run([] {
        RECT client{};
        GetClientRect(launcherWindow(), &client);
        EXPECT_EQ(client.right, 798);
        EXPECT_EQ(client.bottom, 608);
        RECT frame{};
        GetWindowRect(launcherWindow(), &frame);
        EXPECT_EQ(frame.right - frame.left, launcherWindowWidth);
        EXPECT_EQ(frame.bottom - frame.top, launcherWindowHeight);
        RECT wanted{0, 0, 798, 608};
        ASSERT_TRUE(AdjustWindowRect(&wanted, WS_OVERLAPPEDWINDOW, FALSE));
        EXPECT_EQ(wanted.right - wanted.left, launcherWindowWidth);
        EXPECT_EQ(wanted.bottom - wanted.top, launcherWindowHeight);
        EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
        EXPECT_EQ(GetSystemMetrics(SM_CXFRAME), 4);
        EXPECT_EQ(GetSystemMetrics(SM_CXDLGFRAME), 3);
    });
}

// The about box: dialog units of the "System" 8-point face (Tahoma), and its icon control showing
// icon 107, which the template names by number.
TEST_F(LauncherScenario, TheAboutBoxMeasuresInItsFontAndShowsTheProgramsIcon)
{
    run([] {
        driver::typeText(u"?", {VK_MENU});
        HWND about = driver::findWindow(u"", u"About");
        ASSERT_NE(about, nullptr);
        RECT units{0, 0, 4, 8};
        ASSERT_TRUE(MapDialogRect(about, &units));
        EXPECT_EQ(units.right, 6);
        EXPECT_EQ(units.bottom, 13);
        RECT client{};
        GetClientRect(about, &client);
        EXPECT_EQ(client.right, 230 * 6 / 4);
        EXPECT_EQ(client.bottom, (75 * 13 + 4) / 8);
        HWND icon = nullptr;
        for (HWND child = GetWindow(about, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
            if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                icon = child;
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0)),
                  LoadIconA(launcherState.instance, MAKEINTRESOURCEA(IDI_VANTORY)));
        RECT iconRect{};
        GetClientRect(icon, &iconRect);
        EXPECT_EQ(iconRect.right, 32);
        EXPECT_EQ(iconRect.bottom, 32);
        driver::pressKey(VK_RETURN);
    });
}

// A screen point of the launcher's caption strip, `fromRight` pixels left of its right edge.
POINT captionPoint(int fromRight)
{
    RECT frame{};
    GetWindowRect(driver::findWindow(u"VANTORY", u""), &frame);
    return POINT{frame.right - fromRight, frame.top + 11};
}

int hitAt(POINT screen)
{
    return static_cast<int>(
        SendMessageA(driver::findWindow(u"VANTORY", u""), WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)));
}

TEST_F(LauncherScenario, TheCaptionHasTheDesktopsIconAndButtons)
{
    run([] {
        RECT frame{};
        GetWindowRect(launcherWindow(), &frame);
        EXPECT_EQ(hitAt(POINT{frame.left + 8, frame.top + 11}), HTSYSMENU);
        EXPECT_EQ(hitAt(captionPoint(11)), HTCLOSE);
        EXPECT_EQ(hitAt(captionPoint(29)), HTMAXBUTTON);
        EXPECT_EQ(hitAt(captionPoint(45)), HTMINBUTTON);
        EXPECT_EQ(hitAt(captionPoint(200)), HTCAPTION);
        // A press on the close button taken back by sliding off it closes nothing.
        const POINT close = captionPoint(11);
        driver::drag(close.x, close.y, close.x - 100, close.y);
        EXPECT_NE(launcherWindow(), nullptr);
        // The maximise button of a window that cannot be maximised does nothing either.
        const POINT maximise = captionPoint(29);
        driver::tap(maximise.x, maximise.y);
        EXPECT_NE(launcherWindow(), nullptr);
        EXPECT_TRUE(emu::journal().empty());
    });
}

TEST_F(LauncherScenario, ClosesByTheCaptionButtonAltF4AndEscape)
{
    const std::vector<std::function<void()>> ways = {
        [] {
            const POINT close = captionPoint(11);
            driver::tap(close.x, close.y);
        },
        [] { driver::pressKey(VK_F4, {VK_MENU}); },
        [] { driver::pressKey(VK_ESCAPE); },
    };
    for (size_t way = 0; way < ways.size(); ++way) {
        ui::resetWindowManager();
        const int exitCode = run([&] {
            ASSERT_NE(launcherWindow(), nullptr);
            ways[way]();
            EXPECT_TRUE(driver::programEnded()) << "way " << way;
        });
        EXPECT_EQ(exitCode, 0) << "way " << way;
        // Closing is not choosing: nothing is installed.
        EXPECT_TRUE(emu::journal().empty()) << "way " << way;
    }
}

// The script language's "/" key: Alt with it opens the about box, as the typed character does.
TEST_F(LauncherScenario, AboutBoxOpensFromTheSlashKey)
{
    run([] {
        const UINT slash = driver::virtualKeyNamed("/");
        ASSERT_EQ(slash, driver::virtualKeyNamed("VK_OEM_2"));
        driver::pressKey(slash, {VK_MENU});
        ASSERT_NE(driver::findWindow(u"", u"About"), nullptr);
        driver::pressKey(VK_ESCAPE);
        EXPECT_EQ(driver::findWindow(u"", u"About"), nullptr);
        EXPECT_NE(launcherWindow(), nullptr) << "Esc in the about box closes only the box";
    });
}

} // namespace
