#include "tests/scenarios/dernolo_fixture.h"

#include "emulator.h"
#include "platform/gdi/png_writer.h"
#include "platform/gdi/screen.h"
#include "platform/shell/shell.h"
#include "platform/testing/windows.h"
#include "shell/button_bar.h"
#include "shell/tile_table.h"
#include "tests/scenarios/dernolo_device.h"

#include <cstdlib>
#include <fstream>
#include <unistd.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);

namespace dernolo_test {

const char installFolderPath[] = "Storage Card/Program Files/MORVANE/QUILLDEN";

std::string cp1251(std::u16string_view text)
{
    std::string bytes(text.size() * 2 + 1, '\0');
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                                           static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return bytes;
}

void DernoloScenario::SetUp()
{
    device = fs::temp_directory_path() / ("dernolo-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(device);
    fs::create_directories(device / installFolderPath);
    fs::create_directories(device / "Windows");
    ASSERT_EQ(emu::setDeviceRoot(device.string()), 0);
    emu::setModuleFileName(u"\\Windows\\dernolo.exe");
    switchDernoloDeviceOn();
}

void DernoloScenario::TearDown()
{
    switchDernoloDeviceOff();
    std::error_code ignored;
    fs::remove_all(device, ignored);
}

void DernoloScenario::restartDevice()
{
    switchDernoloDeviceOff();
    switchDernoloDeviceOn();
}

void DernoloScenario::installEdition(const Edition& edition, const std::string& name, const std::string& folder)
{
    DatabaseImage image;
    std::string error;
    ASSERT_EQ(writeEdition(edition, image, error), 0) << error;
    const fs::path place = device / installFolderPath / folder;
    fs::create_directories(place);
    ASSERT_EQ(saveImage(image, (place / name).string(), error), 0) << error;
}

void DernoloScenario::installFile(const std::string& relativePath, std::string_view bytes)
{
    const fs::path path = device / installFolderPath / relativePath;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

driver::ScenarioResult DernoloScenario::run(const driver::ScenarioBody& body)
{
    driver::ScenarioResult result =
        driver::runScenario([] { return WinMain(emu::programInstance(), nullptr, nullptr, SW_SHOW); }, body);
    for (const std::string& failure : result.failures)
        ADD_FAILURE() << failure;
    return result;
}

HWND DernoloScenario::mainWindow()
{
    return driver::findWindow(u"DERNOLO", u"Morvane Quillden");
}

void DernoloScenario::tapClient(int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(mainWindow(), &p);
    driver::tap(p.x, p.y);
}

void DernoloScenario::tapTile(int tile)
{
    const RECT& r = tileTable[tile].rect;
    tapClient((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void DernoloScenario::tapBar(HWND window, int iconId)
{
    for (const BarSlot& slot : buttonBar.slots) {
        if (slot.iconId != iconId || !slot.visible)
            continue;
        POINT p = {slot.x + slot.width / 2, slot.y + slot.height / 2};
        ClientToScreen(window, &p);
        driver::tap(p.x, p.y);
        return;
    }
    driver::fail("no visible bar button " + std::to_string(iconId));
}

void tapFrontBar(int iconId)
{
    DernoloScenario::tapBar(GetActiveWindow(), iconId);
}

void DernoloScenario::turnScreen(int width, int height)
{
    gdi::resizeScreen(width, height);
    shell::screenTurned(width, height);
    driver::waitIdle();
}

void DernoloScenario::screenshot(const std::string& name)
{
    const char* folder = std::getenv("DERNOLO_SCREENSHOTS");
    if (folder != nullptr && *folder)
        gdi::savePng(gdi::screen(), std::string(folder) + "/" + name + ".png");
}

}  // namespace dernolo_test
