// Dernolo on the sample device, used through the test driver as a user uses it: the time from a tap
// to the painted result, for an information page from its tile, help at an anchor, the metro scheme
// opened and one arrow-key pan of it. Each iteration is undone (back) outside the timing.
//
// Instructions of the timed part only:
//   valgrind --tool=callgrind --collect-atstart=no build-bench/bench/bench_pages --benchmark_filter=Pan
//     --benchmark_min_time=0.001 (one command line)
// and divide the total by the iterations printed.
#include "bench/screens/driven_program.h"
#include "emulator.h"
#include "resources/dernolo/dernolo_ids.h"
#include "shell/tile_table.h"

#include <string_view>

namespace {

using namespace driven;

// The sample device, switched on afresh by each benchmark.
void onSampleDevice(benchmark::State& state, const Step& prepare, const Step& action, const Step& undo)
{
    emu::setDeviceRoot(SAMPLE_DEVICE);
    runTimed(state, prepare, action, undo);
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
    onSampleDevice(state, openBridgesEdition, [] { tapTile(8); }, [] { tapBar(IDI_BAR_BACK); });
}
BENCHMARK(BM_BridgesPageFromItsTile)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_HelpAtAnAnchor(benchmark::State& state)
{
    // The favourites page's help opens at its anchor.
    onSampleDevice(state, [] { tapTile(4); }, [] { tapBar(IDI_BAR_HELP); }, [] { tapBar(IDI_BAR_BACK); });
}
BENCHMARK(BM_HelpAtAnAnchor)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_MetroSchemeOpened(benchmark::State& state)
{
    onSampleDevice(state, nothing, [] { tapTile(7); }, [] { tapBar(IDI_BAR_BACK); });
}
BENCHMARK(BM_MetroSchemeOpened)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_MetroSchemePan(benchmark::State& state)
{
    bool right = true;
    onSampleDevice(
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
