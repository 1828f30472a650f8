#include "bench/screens/driven_program.h"

#include "emulator.h"
#include "platform/testing/windows.h"
#include "win32/commctrl.h"
#include "shell/button_bar.h"
#include "shell/tile_table.h"
#include "tests/scenarios/dernolo_device.h"

#include <valgrind/callgrind.h>

#include <atomic>
#include <chrono>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);

namespace driven {
namespace {

// Callgrind counts per thread: the program's thread turns the counting on and off in its idle
// moment when asked, so that only what it does for the action is counted.
std::atomic<bool> toggleWhenIdle{false};

bool onProgramIdle()
{
    if (toggleWhenIdle.exchange(false))
        CALLGRIND_TOGGLE_COLLECT;
    return true;
}

void toggleCounting()
{
    toggleWhenIdle = true;
    driver::waitIdle();
}

}  // namespace

void runTimed(benchmark::State& state, const Step& prepare, const Step& action, const Step& undo)
{
    emu::setModuleFileName(u"\\Windows\\dernolo.exe");
    switchDernoloDeviceOn();
    driver::ScenarioSettings settings;
    settings.onIdle = onProgramIdle;
    const driver::ScenarioResult result = driver::runScenario(
        [] { return WinMain(emu::programInstance(), nullptr, nullptr, SW_SHOW); },
        [&] {
            prepare();
            for (auto _ : state) {
                toggleCounting();
                const auto start = std::chrono::steady_clock::now();
                action();
                const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
                toggleCounting();
                state.SetIterationTime(took.count());
                undo();
            }
        },
        settings);
    switchDernoloDeviceOff();
    if (!result.failures.empty())
        state.SkipWithError(result.failures.front().c_str());
}

HWND mainWindow() { return driver::findWindow(u"DERNOLO", u"Morvane Quillden"); }

void tapAt(HWND window, int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(window, &p);
    driver::tap(p.x, p.y);
}

void tapTile(int tile)
{
    const RECT& r = tileTable[tile].rect;
    tapAt(mainWindow(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void tapBar(int iconId)
{
    HWND front = GetActiveWindow();
    for (const BarSlot& slot : buttonBar.slots)
        if (slot.iconId == iconId && slot.visible) {
            tapAt(front, slot.x + slot.width / 2, slot.y + slot.height / 2);
            return;
        }
    driver::fail("no visible bar button " + std::to_string(iconId));
}

void tapLine(int controlId, int line)
{
    HWND list = GetDlgItem(GetActiveWindow(), controlId);
    RECT r = {};
    if (list == nullptr ||
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&r)) == LB_ERR) {
        driver::fail("no line " + std::to_string(line) + " in list " + std::to_string(controlId));
        return;
    }
    tapAt(list, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

}  // namespace driven
