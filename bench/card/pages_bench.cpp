// Dernolo on the sample device, used through the test driver as a user uses it: the time from a tap
// to the painted result, for an information page from its tile, help at an anchor, the metro scheme
// opened and one arrow-key pan of it. Each iteration is undone (back) outside the timing.
//
// Instructions of the timed part only:
//   valgrind --tool=callgrind --collect-atstart=no build-bench/bench/bench_pages --benchmark_filter=Pan
//     --benchmark_min_time=0.001 (one command line)
// and divide the total by the iterations printed.
#include "emulator.h"
#include "platform/testing/scenario.h"
#include "platform/testing/windows.h"
#include "resources/dernolo/dernolo_ids.h"
#include "shell/button_bar.h"
#include "shell/tile_table.h"
#include "tests/scenarios/dernolo_device.h"

#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string_view>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);

namespace {

using Step = std::function<void()>;

void switchDeviceOn()
{
    emu::setDeviceRoot(SAMPLE_DEVICE);
    emu::setModuleFileName(u"\\Windows\\dernolo.exe");
    switchDernoloDeviceOn();
}

void tapAt(HWND window, int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(window, &p);
    driver::tap(p.x, p.y);
}

HWND mainWindow() { return driver::findWindow(u"DERNOLO", u"Morvane Quillden"); }

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
}

// Callgrind counts per thread: the program's thread turns the counting on and off in its idle moment
// when asked, so that only what it does for the action is counted.
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

// The program runs on this thread; the iterations run as its user. `action` is timed (and counted
// by callgrind), `undo` is not.
void runTimed(benchmark::State& state, const Step& prepare, const Step& action, const Step& undo)
{
    switchDeviceOn();
    driver::ScenarioSettings settings;
    settings.onIdle = onProgramIdle;
    driver::runScenario([] { return WinMain(emu::programInstance(), nullptr, nullptr, SW_SHOW); },
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
}

void nothing() {}

// The bridges page is Saint Petersburg's: the banner changes the edition until it is open.
void openBridgesEdition()
{
    for (int change = 0; change < 3 && std::u16string_view(tileTable[8].page) != u"HTML\\bridges.html"; ++change)
        tapTile(0);
}

void BM_BridgesPageFromItsTile(benchmark::State& state)
{
    runTimed(state, openBridgesEdition, [] { tapTile(8); }, [] { tapBar(IDI_BAR_BACK); });
}
BENCHMARK(BM_BridgesPageFromItsTile)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_HelpAtAnAnchor(benchmark::State& state)
{
    // The favourites page's help opens at its anchor.
    runTimed(state, [] { tapTile(4); }, [] { tapBar(IDI_BAR_HELP); }, [] { tapBar(IDI_BAR_BACK); });
}
BENCHMARK(BM_HelpAtAnAnchor)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_MetroSchemeOpened(benchmark::State& state)
{
    runTimed(state, nothing, [] { tapTile(7); }, [] { tapBar(IDI_BAR_BACK); });
}
BENCHMARK(BM_MetroSchemeOpened)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_MetroSchemePan(benchmark::State& state)
{
    bool right = true;
    runTimed(
        state, [] { tapTile(7); },
        [&right] {
            driver::pressKey(right ? VK_RIGHT : VK_LEFT);
            right = !right;
        },
        nothing);
}
BENCHMARK(BM_MetroSchemePan)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
