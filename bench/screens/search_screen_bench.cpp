// Dernolo's search screen on the 1 000 000-firm edition (see bench/search.cmake), driven as its
// user drives it: per mode, from the tap on "ИСКАТЬ" to the first painted result line and to the
// end of the search (the screen idle again, its questions answered No), with the same search by
// the search operation alone beside it, as `ydb query search` runs it; and the name completion
// when the fifth letter is typed.
//
// Instructions of the timed part only (the program's thread counts between its idle moments):
//   valgrind --tool=callgrind --collect-atstart=no build-bench/bench/bench_search_screen
//     --benchmark_filter=Screen/contains --benchmark_min_time=0.001 (one command line)
#include "bench/screens/driven_program.h"
#include "bench/screens/million_edition.h"
#include "db/database.h"
#include "platform/testing/windows.h"
#include "resources/dernolo/dernolo_ids.h"
#include "search/search_run.h"
#include "shell/tile_table.h"
#include "win32/controls.h"

#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <atomic>
#include <chrono>
#include <string>

namespace {

using namespace driven;
using Clock = std::chrono::steady_clock;

struct SearchCase {
    int32_t mode;
    const char16_t* name;
    const char16_t* street;
    const char16_t* phone;
};

// The keys of bench_search, so that the two read side by side.
const SearchCase prefixCase{modeNameBegins, u"АЛФАР", u"", u""};
const SearchCase containsCase{modeNameContains, u"ЛАЙН48", u"", u""};
const SearchCase webCase{modeAddressContains, u"FIRM12345", u"", u""};
const SearchCase notesCase{modeNoteContains, u"ШИНОМОНТАЖ", u"", u""};
const SearchCase streetCase{modeNameBegins, u"", u"АЛАЛСКАЯ", u""};
const SearchCase phoneCase{modeNameBegins, u"", u"", u"2006540"};

HWND searchScreen() { return driver::findWindow(u"", u"Поиск"); }

void openSearchScreen()
{
    for (int tile = 0; tile < tileCount; ++tile)
        if (tileTable[tile].dialogId == IDD_SEARCH) {
            tapTile(tile);
            return;
        }
    driver::fail("no search tile");
}

// The first paint of the result list that shows a line: the list is subclassed on the program's
// thread, which stamps the moment.
WNDPROC listProcBefore = nullptr;
std::atomic<bool> waitingForLine{false};
Clock::time_point firstLinePainted;

LRESULT CALLBACK stampingListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CallWindowProcW(listProcBefore, list, message, wParam, lParam);
    if (message == WM_PAINT && waitingForLine && SendMessageW(list, LB_GETCOUNT, 0, 0) > 0) {
        firstLinePainted = Clock::now();
        waitingForLine = false;
    }
    return result;
}

void fillFields(const SearchCase& c)
{
    HWND screen = searchScreen();
    SendDlgItemMessageW(screen, IDC_SEARCH_MODE, CB_SETCURSEL, static_cast<WPARAM>(c.mode), 0);
    SetDlgItemTextW(screen, IDC_SEARCH_NAME, reinterpret_cast<const WCHAR*>(c.name));
    SetDlgItemTextW(screen, IDC_SEARCH_STREET, reinterpret_cast<const WCHAR*>(c.street));
    SetDlgItemTextW(screen, IDC_SEARCH_PHONE, reinterpret_cast<const WCHAR*>(c.phone));
    HWND list = GetDlgItem(screen, IDC_SEARCH_RESULTS);
    if (listProcBefore == nullptr)
        listProcBefore = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(stampingListProc)));
}

void tapSearchButton()
{
    HWND button = GetDlgItem(searchScreen(), IDC_SEARCH_RUN);
    RECT r{};
    GetClientRect(button, &r);
    tapAt(button, r.right / 2, r.bottom / 2);
    // The fall-back chain's questions, answered No; the messages, OK.
    for (int guard = 0; guard < 4 && driver::openBox(); ++guard)
        driver::answerBox((driver::openBox()->style & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK);
}

// Back to the search screen from a card that a single result opened.
void backToSearchScreen()
{
    for (int guard = 0; guard < 3 && GetActiveWindow() != searchScreen(); ++guard)
        tapBar(IDI_BAR_BACK);
}

void screenSearch(benchmark::State& state, const SearchCase& c)
{
    edition();
    listProcBefore = nullptr;
    double firstLineSeconds = 0;
    int iterations = 0;
    runTimed(
        state,
        [&] {
            openSearchScreen();
            fillFields(c);
        },
        [&] {
            const Clock::time_point start = Clock::now();
            firstLinePainted = start;
            waitingForLine = true;
            tapSearchButton();
            if (!waitingForLine) {
                firstLineSeconds += std::chrono::duration<double>(firstLinePainted - start).count();
                ++iterations;
            }
            waitingForLine = false;
        },
        backToSearchScreen);
    if (iterations > 0)
        state.counters["first_line_ms"] = 1000 * firstLineSeconds / iterations;
}

void operationSearch(benchmark::State& state, const SearchCase& c)
{
    edition();
    DirectoryDatabase* db = openEdition();
    if (db == nullptr) {
        state.SkipWithError("the edition cannot be opened");
        return;
    }
    SearchRequest request{c.mode, reinterpret_cast<const WCHAR*>(c.name), reinterpret_cast<const WCHAR*>(c.street),
                          reinterpret_cast<const WCHAR*>(c.phone)};
    SilentHooks hooks;
    uint32_t lines = 0;
    for (auto _ : state) {
        CountedList list;
        CALLGRIND_TOGGLE_COLLECT;
        runSearch(*db, request, list, hooks);
        CALLGRIND_TOGGLE_COLLECT;
        lines = list.lines;
    }
    destroyDatabase(db);
    state.counters["lines"] = lines;
}

#define SEARCH_MODE_BENCH(label, searchCase)                                                                       \
    BENCHMARK_CAPTURE(screenSearch, label, searchCase)->Name("Screen/" #label)->UseManualTime()->Unit(             \
        benchmark::kMillisecond);                                                                                  \
    BENCHMARK_CAPTURE(operationSearch, label, searchCase)->Name("Operation/" #label)->Unit(benchmark::kMillisecond)

SEARCH_MODE_BENCH(prefix, prefixCase);
SEARCH_MODE_BENCH(contains, containsCase);
SEARCH_MODE_BENCH(web, webCase);
SEARCH_MODE_BENCH(notes, notesCase);
SEARCH_MODE_BENCH(street, streetCase);
SEARCH_MODE_BENCH(telephone, phoneCase);

// The name completion: four letters typed outside the timing, the fifth timed, then all five
// deleted again (deleting fills nothing).
void BM_NameCompletionOnTheFifthLetter(benchmark::State& state)
{
    edition();
    runTimed(
        state,
        [] {
            openSearchScreen();
            HWND name = GetDlgItem(searchScreen(), IDC_SEARCH_NAME);
            RECT r{};
            GetClientRect(name, &r);
            tapAt(name, r.right / 3, r.bottom / 2);
            driver::typeText(u"АЛФА");
        },
        [] { driver::typeText(u"Р"); },
        [] {
            for (int i = 0; i < 5; ++i)
                driver::pressKey(VK_BACK);
            driver::typeText(u"АЛФА");
        });
}
BENCHMARK(BM_NameCompletionOnTheFifthLetter)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
