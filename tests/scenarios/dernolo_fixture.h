// The handheld program run headless on a 240 x 320 device with the shell's 26-pixel task bar and
// editions written for the test into the install folder of its storage card: what every Dernolo
// scenario starts from, and the taps it makes in the program's own coordinates.
#pragma once

#include "platform/testing/scenario.h"
#include "tools/writer/edition_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace dernolo_test {

namespace fs = std::filesystem;

extern const char installFolderPath[];

std::string cp1251(std::u16string_view text);

class DernoloScenario : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Written as `name` into the install folder, or into its sub-folder `folder`.
    void installEdition(const Edition& edition, const std::string& name, const std::string& folder = "");
    // A file beside the editions (a page of HTML\, say), its bytes as given.
    void installFile(const std::string& relativePath, std::string_view bytes);

    // The device as it is switched on, its files kept: for a second run of the program in one test.
    void restartDevice();

    // Runs the program with the body as its user; the body's failures become the test's.
    driver::ScenarioResult run(const driver::ScenarioBody& body);

    static HWND mainWindow();
    // A tap in the main window's client coordinates, and one in the middle of a home tile.
    static void tapClient(int x, int y);
    static void tapTile(int tile);
    // A tap on the bar slot of this icon in the window (it must be visible there).
    static void tapBar(HWND window, int iconId);

    // The device's screen turned to this size, as the host's turn key does, the program run to idle.
    static void turnScreen(int width, int height);

    // NAME.png into $DERNOLO_SCREENSHOTS when that is set.
    static void screenshot(const std::string& name);

    fs::path device;

    friend void tapFrontBar(int iconId);
};

// A tap on the bar slot of this icon in the front window.
void tapFrontBar(int iconId);

}  // namespace dernolo_test
