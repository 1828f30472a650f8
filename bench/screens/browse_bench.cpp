// Dernolo browsing the 1 000 000-firm edition (see bench/search.cmake), driven as its user drives
// it: from the key or tap to the painted screen for the edition's largest rubric firm list, the
// white pages (their index and first range), a business card, and the home screen's main and
// favourites pages repainted; beside them the same firm list and white pages filled by the list
// operations alone, as `ydb query firms` fills the list, so that what the screen adds shows. The device has the emulated 24 MB of free memory of bench_search.
//
// Instructions of the timed part only (the program's thread counts between its idle moments):
//   valgrind --tool=callgrind --collect-atstart=no build-bench/bench/bench_browse
//     --benchmark_filter=BusinessCard --benchmark_min_time=0.001 (one command line)
// and divide the total by the iterations printed.
#include "bench/screens/driven_program.h"
#include "bench/screens/million_edition.h"
#include "db/database.h"
#include "win32/commctrl.h"
#include "resources/dernolo/dernolo_ids.h"
#include "search/firm_lists.h"
#include "search/letter_index.h"
#include "search/search_state.h"

#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <fstream>
#include <functional>
#include <vector>

namespace {

using namespace driven;

constexpr int catalogueTile = 1;
constexpr int rubricsTile = 3;
constexpr int favouritesTile = 4;

void runOnEdition(benchmark::State& state, const Step& prepare, const Step& action, const Step& undo)
{
    edition();
    runTimed(state, prepare, action, undo);
}

// The flat list of rubrics with the largest list selected as a key would select it (which opens
// nothing yet).
void selectLargestRubric()
{
    tapTile(rubricsTile);
    const RubricTable& table = searchState.rubricTable;
    for (uint32_t i = 1; i < table.count; ++i)
        if (table.entries[i].firmListRef == edition().largestList) {
            HWND tree = GetDlgItem(GetActiveWindow(), IDC_RUBRIC_TREE);
            SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, static_cast<LPARAM>(table.entries[i].treeItem));
            driver::waitIdle();
            return;
        }
    driver::fail("the largest rubric is not in the flat list");
}

void BM_LargestFirmList(benchmark::State& state)
{
    runOnEdition(state, selectLargestRubric, [] { driver::pressKey(VK_RETURN); }, [] { tapBar(IDI_BAR_BACK); });
    state.counters["firms"] = edition().largestListFirms;
}
BENCHMARK(BM_LargestFirmList)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_WhitePages(benchmark::State& state)
{
    // Every first letter of this edition has more firms than the list holds: the first range ends
    // with the overflow box, answered at once as part of the action.
    runOnEdition(
        state, [] {},
        [] {
            tapTile(catalogueTile);
            if (driver::openBox())
                driver::answerBox(IDOK);
        },
        [] { tapBar(IDI_BAR_BACK); });
}
BENCHMARK(BM_WhitePages)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_BusinessCard(benchmark::State& state)
{
    // Lines 0 and 1 in turn: a tap on the line already selected opens nothing.
    int line = 0;
    runOnEdition(
        state,
        [] {
            selectLargestRubric();
            driver::pressKey(VK_RETURN);
        },
        [&line] {
            tapLine(IDC_FIRM_LIST, line);
            line ^= 1;
        },
        [] { tapBar(IDI_BAR_BACK); });
}
BENCHMARK(BM_BusinessCard)->UseManualTime()->Unit(benchmark::kMillisecond);

// The home screen's main page and its favourites page repainted whole, as after a box over them
// closes; the favourites page with all twelve slots taken by rubric titles of the edition.
void repaintHome()
{
    InvalidateRect(mainWindow(), nullptr, TRUE);
    driver::waitIdle();
}

void BM_MainPageRepaint(benchmark::State& state)
{
    runOnEdition(state, [] {}, repaintHome, [] {});
}
BENCHMARK(BM_MainPageRepaint)->UseManualTime()->Unit(benchmark::kMillisecond);

// Twelve rubric titles of the lengths rubric titles have, one a slot.
void writeFavourites()
{
    const char16_t* titles[] = {u"Аптеки", u"Круглосуточные аптеки", u"Кафе", u"Рестораны и бары",
        u"Автосервисы: ремонт ходовой части и двигателя", u"Такси", u"Стоматологические клиники",
        u"Гостиницы", u"Банки и банкоматы", u"Ремонт обуви и часов", u"Доставка воды", u"Цветы"};
    std::string file;
    for (const char16_t* title : titles) {
        char bytes[256];
        const int n = WideCharToMultiByte(1251, 0, reinterpret_cast<const WCHAR*>(title), -1, bytes, sizeof bytes,
                                          nullptr, nullptr);
        file.append(bytes, n > 0 ? n - 1 : 0).append("\r\n");
    }
    std::ofstream(edition().root / "Storage Card" / "Program Files" / "MORVANE" / "QUILLDEN" / "Million" /
                      "Favorites.txt",
                  std::ios::binary)
        << file;
}

void BM_FavouritesPageRepaint(benchmark::State& state)
{
    edition();
    writeFavourites();
    runTimed(state, [] { tapTile(favouritesTile); }, repaintHome, [] {});
}
BENCHMARK(BM_FavouritesPageRepaint)->UseManualTime()->Unit(benchmark::kMillisecond);

// An operation alone on a database of its own, as `ydb query` runs it: `fill` runs it once,
// counted by callgrind around the operation only, and answers the lines it gave.
void runOperation(benchmark::State& state, const std::function<uint32_t(DirectoryDatabase&, ScreenHooks&)>& fill)
{
    edition();
    DirectoryDatabase* db = openEdition();
    if (db == nullptr) {
        state.SkipWithError("the edition cannot be opened");
        return;
    }
    SilentHooks hooks;
    uint32_t lines = 0;
    for (auto _ : state)
        lines = fill(*db, hooks);
    destroyDatabase(db);
    state.counters["lines"] = lines;
}

void BM_LargestFirmListOperation(benchmark::State& state)
{
    runOperation(state, [](DirectoryDatabase& db, ScreenHooks& hooks) {
        CountedList list;
        CALLGRIND_TOGGLE_COLLECT;
        fillRubricFirmList(db, edition().largestList, list, hooks);
        CALLGRIND_TOGGLE_COLLECT;
        return list.lines;
    });
    // For the same list through `ydb query firms REF`.
    state.SetLabel("ref " + std::to_string(edition().largestList));
}
BENCHMARK(BM_LargestFirmListOperation)->Unit(benchmark::kMillisecond);

// The white pages' operations alone: the letter index, then the firms of the line it selects.
struct IndexLines : ListSink {
    std::vector<ItemValue> values;
    int32_t selected = -1;
    bool addLine(const WCHAR*, ItemValue value) override
    {
        values.push_back(value);
        return true;
    }
    void selectLine(int32_t index) override { selected = index; }
};

void BM_WhitePagesOperation(benchmark::State& state)
{
    runOperation(state, [](DirectoryDatabase& db, ScreenHooks& hooks) {
        IndexLines index;
        CountedList firms;
        CALLGRIND_TOGGLE_COLLECT;
        fillLetterIndex(db, index, hooks);
        const auto line = static_cast<size_t>(index.selected);
        if (index.selected >= 0 && line < index.values.size()) {
            const auto end = line + 1 < index.values.size() ? static_cast<uint32_t>(index.values[line + 1])
                                                            : tableLength(db, tableFirms);
            fillLetterFirms(db, static_cast<uint32_t>(index.values[line]), end, firms, hooks);
        }
        CALLGRIND_TOGGLE_COLLECT;
        return firms.lines;
    });
}
BENCHMARK(BM_WhitePagesOperation)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
