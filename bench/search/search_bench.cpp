// The directory's lists and searches over a 1 000 000-firm edition (see bench/search.cmake):
//   Search/<mode>          one runSearch per iteration, the questions answered No
//   LetterIndex            the white pages' index
//   RubricFirmList         the largest rubric firm list of the edition
//   Fragment/sqlite        the "contains" key by LIKE '%KEY%' over an in-memory table of the names
//   Fragment/memmem        the same key by memmem over all names laid end to end
//   Fragment/memmemWeb     the web key by memmem over every firm's address key (web|e-mail)
//   Fragment/memmemNotes   the notes key by memmem over every upper-cased note
//   Read/firms, Read/details   the table read through the window and nothing else: what a scan
//                          of it pays before it looks at a byte
// The window is a quarter of an emulated 24 MB of free memory (6 MB), as on a device.
//
// Instruction counts: every measured call is bracketed by CALLGRIND_TOGGLE_COLLECT, so
//   valgrind --tool=callgrind --collect-atstart=no bench_search --benchmark_filter=Search/contains
//     --benchmark_min_time=0.001
// counts the searches alone (divide by the firms scanned, the "firms" counter).
#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/search/fragment_baselines.h"
#include "db/database.h"
#include "db/database_program.h"
#include "db/details_scan.h"
#include "db/firm_scan.h"
#include "emulator.h"
#include "search/firm_lists.h"
#include "search/address_key.h"
#include "search/letter_index.h"
#include "search/search_run.h"
#include "search/search_state.h"
#include "search/street_list.h"
#include "search/text_match.h"

namespace {

constexpr uint64_t emulatedFreeMemory = 24u << 20;
constexpr char16_t containsKey[] = u"ЛАЙН48";
constexpr char16_t webKey[] = u"FIRM12345";
constexpr char16_t notesKey[] = u"ШИНОМОНТАЖ";

struct CountedList : ListSink {
    uint32_t lines = 0;
    bool addLine(const WCHAR*, ItemValue) override {
        ++lines;
        return true;
    }
    void selectLine(int32_t) override {}
};

struct SilentHooks : ScreenHooks {
    int messageBox(const WCHAR*, const WCHAR*, UINT) override { return IDNO; }
};

std::string cp1251(const char16_t* text) {
    std::string out(64, '\0');
    const int n = WideCharToMultiByte(1251, 0, text, -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
    return out;
}

struct Fixture {
    DirectoryDatabase* db = nullptr;
    uint32_t firms = 0;
    uint32_t largestList = noFirmList;
    uint32_t largestListFirms = 0;

    Fixture() {
        const char* file = std::getenv("SEARCH_BENCH_EDITION");
        const std::filesystem::path path = std::filesystem::absolute(file ? file : SEARCH_BENCH_FILE);
        if (!std::filesystem::is_regular_file(path)) {
            std::fprintf(stderr, "%s: missing; build the target search_bench_edition first\n", path.c_str());
            std::exit(2);
        }
        if (emu::setDeviceRoot(path.parent_path().string()) != 0) std::abort();
        emu::setMessageBoxHandler([](HWND, std::u16string_view, std::u16string_view, UINT) { return IDOK; });
        emu::setAvailablePhysicalMemory(emulatedFreeMemory);
        takeMemoryReading();
        db = createDatabase();
        const std::u16string device = u"\\" + std::u16string(path.filename().u16string());
        if (!db || openDatabase(*db, device.c_str()) != 0) {
            std::fprintf(stderr, "%s: cannot be opened\n", path.c_str());
            std::abort();
        }
        loadStreetList(streetList, *db);
        seekTable(*db, tableFirms, 0, false, noCap);
        while (readRecord(*db, tableFirms, readNext, 0, noCap) == 0) ++firms;
        // The largest rubric firm list, found by walking table 2.
        seekTable(*db, tableRubricFirms, 0, false, noCap);
        uint32_t ref = tableOffset(*db, tableRubricFirms);
        while (readRecord(*db, tableRubricFirms, readNext, 0, noCap) == 0) {
            if (db->rubricFirms.byteCount / 4 > largestListFirms || largestList == noFirmList) {
                largestListFirms = db->rubricFirms.byteCount / 4;
                largestList = ref;
            }
            ref = tableOffset(*db, tableRubricFirms);
        }
    }
    ~Fixture() {
        freeStreetList(streetList);
        destroyDatabase(db);
    }

    // Every firm's compacted, upper-cased name, in table order (for the baselines only, so that a
    // callgrind run of one search does not pay for them).
    const std::vector<std::string>& keys() {
        if (keys_.empty()) {
            seekTable(*db, tableFirms, 0, false, noCap);
            while (readRecord(*db, tableFirms, readNext, 0, noCap) == 0) {
                std::string key(db->firm.length, '\0');
                key.resize(foldToKey(db->firm.name, strnlen(db->firm.name, db->firm.length), key.data()));
                keys_.push_back(std::move(key));
            }
        }
        return keys_;
    }
    // Every firm's address key and every note upper-cased, as the web and notes searches compare
    // them (for their baselines only).
    const std::vector<std::string>& addressKeys() {
        if (addresses_.empty()) {
            seekTable(*db, tableFirms, 0, false, noCap);
            uint32_t ref = 0;
            auto keep = [](const FirmFields& f, void* data) {
                char key[addressKeyCapacity];
                const size_t n = addressKey(f.web, f.webLength, f.email, f.emailLength, key);
                static_cast<std::vector<std::string>*>(data)->emplace_back(key, n);
                return false;
            };
            scanFirmTexts(*db, noCap, firmAllFields, FirmFilter{}, keep, &addresses_, &ref);
        }
        return addresses_;
    }
    const std::vector<std::string>& notes() {
        if (notes_.empty()) {
            seekTable(*db, tableDetails, 0, false, noCap);
            uint32_t ref = 0;
            auto keep = [](const DetailsFields& d, void* data) {
                if (!d.comment) return false;
                std::string note(d.commentLength, '\0');
                foldToUpper(d.comment, d.commentLength, note.data());
                static_cast<std::vector<std::string>*>(data)->push_back(std::move(note));
                return false;
            };
            scanDetailTexts(*db, ByteSet{}, keep, &notes_, &ref);
        }
        return notes_;
    }
    uint32_t details() {
        if (details_ == 0) {
            seekTable(*db, tableDetails, 0, false, noCap);
            while (readRecord(*db, tableDetails, readNext, 0, noCap) == 0) ++details_;
        }
        return details_;
    }

private:
    std::vector<std::string> keys_;
    std::vector<std::string> addresses_;
    std::vector<std::string> notes_;
    uint32_t details_ = 0;
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

void runSearchBench(benchmark::State& state, int32_t mode, const char16_t* name, const char16_t* street,
                    const char16_t* phone, uint32_t firmsScanned) {
    Fixture& f = fixture();
    SearchRequest request{mode, name, street, phone};
    SilentHooks hooks;
    uint32_t lines = 0;
    for (auto _ : state) {
        CountedList list;
        CALLGRIND_TOGGLE_COLLECT;
        runSearch(*f.db, request, list, hooks);
        CALLGRIND_TOGGLE_COLLECT;
        lines = list.lines;
    }
    state.counters["lines"] = lines;
    state.counters["firms"] = firmsScanned;
    if (firmsScanned) state.counters["ns_per_firm"] = benchmark::Counter(
        static_cast<double>(firmsScanned) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void searchPrefix(benchmark::State& state) { runSearchBench(state, modeNameBegins, u"АЛФАР", u"", u"", 0); }
void searchContains(benchmark::State& state) {
    runSearchBench(state, modeNameContains, containsKey, u"", u"", fixture().firms);
}
void searchWeb(benchmark::State& state) {
    runSearchBench(state, modeAddressContains, webKey, u"", u"", fixture().firms);
}
void searchNotes(benchmark::State& state) {
    runSearchBench(state, modeNoteContains, notesKey, u"", u"", fixture().details());
}
void searchStreet(benchmark::State& state) { runSearchBench(state, modeNameBegins, u"", u"АЛАЛСКАЯ", u"", 0); }
void searchTelephone(benchmark::State& state) { runSearchBench(state, modeNameBegins, u"", u"", u"2006540", 0); }

// One list filled per iteration; `fill` (list, hooks) is the call measured.
template <class Fill>
void runListBench(benchmark::State& state, Fill fill) {
    SilentHooks hooks;
    uint32_t lines = 0;
    for (auto _ : state) {
        CountedList list;
        CALLGRIND_TOGGLE_COLLECT;
        fill(list, hooks);
        CALLGRIND_TOGGLE_COLLECT;
        lines = list.lines;
    }
    state.counters["lines"] = lines;
}

void letterIndex(benchmark::State& state) {
    Fixture& f = fixture();
    runListBench(state, [&f](ListSink& list, ScreenHooks& hooks) { fillLetterIndex(*f.db, list, hooks); });
}

void rubricFirmList(benchmark::State& state) {
    Fixture& f = fixture();
    runListBench(state, [&f](ListSink& list, ScreenHooks& hooks) {
        fillRubricFirmList(*f.db, f.largestList, list, hooks);
    });
    state.counters["firms"] = f.largestListFirms;
}

void fragmentSqlite(benchmark::State& state) {
    Fixture& f = fixture();
    static SqliteNames names(f.keys());
    const std::string key = cp1251(containsKey);
    uint32_t matches = 0;
    for (auto _ : state) matches = names.countContaining(key);
    state.counters["lines"] = matches;
    state.counters["firms"] = f.firms;
}

void memmemBaseline(benchmark::State& state, const std::vector<std::string>& texts, const char16_t* wideKey) {
    const std::string joined = joinNames(texts);
    const std::string key = cp1251(wideKey);
    uint32_t matches = 0;
    for (auto _ : state) {
        matches = countWithMemmem(joined, key);
        benchmark::DoNotOptimize(matches);
    }
    state.counters["lines"] = matches;
    state.counters["texts"] = static_cast<double>(texts.size());
}

// The whole table read into the window, a window at a time, as a scan refills it.
void readTable(benchmark::State& state, int table) {
    Fixture& f = fixture();
    const uint32_t size = tableLength(*f.db, table);
    for (auto _ : state) {
        CALLGRIND_TOGGLE_COLLECT;
        for (uint32_t at = 0; at < size && seekTable(*f.db, table, at, true, noCap) == 0 && f.db->windowLength > 0;)
            at += f.db->windowLength;
        CALLGRIND_TOGGLE_COLLECT;
    }
    state.counters["bytes"] = size;
}
void readFirms(benchmark::State& state) { readTable(state, tableFirms); }
void readDetails(benchmark::State& state) { readTable(state, tableDetails); }

void fragmentMemmem(benchmark::State& state) { memmemBaseline(state, fixture().keys(), containsKey); }
void fragmentMemmemWeb(benchmark::State& state) { memmemBaseline(state, fixture().addressKeys(), webKey); }
void fragmentMemmemNotes(benchmark::State& state) { memmemBaseline(state, fixture().notes(), notesKey); }

}  // namespace

BENCHMARK(searchPrefix)->Name("Search/prefix")->Unit(benchmark::kMillisecond);
BENCHMARK(searchContains)->Name("Search/contains")->Unit(benchmark::kMillisecond);
BENCHMARK(searchWeb)->Name("Search/web")->Unit(benchmark::kMillisecond);
BENCHMARK(searchNotes)->Name("Search/notes")->Unit(benchmark::kMillisecond);
BENCHMARK(searchStreet)->Name("Search/street")->Unit(benchmark::kMillisecond);
BENCHMARK(searchTelephone)->Name("Search/telephone")->Unit(benchmark::kMicrosecond);
BENCHMARK(letterIndex)->Name("LetterIndex")->Unit(benchmark::kMicrosecond);
BENCHMARK(rubricFirmList)->Name("RubricFirmList")->Unit(benchmark::kMillisecond);
BENCHMARK(fragmentSqlite)->Name("Fragment/sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK(fragmentMemmem)->Name("Fragment/memmem")->Unit(benchmark::kMillisecond);
BENCHMARK(fragmentMemmemWeb)->Name("Fragment/memmemWeb")->Unit(benchmark::kMillisecond);
BENCHMARK(fragmentMemmemNotes)->Name("Fragment/memmemNotes")->Unit(benchmark::kMillisecond);

BENCHMARK(readFirms)->Name("Read/firms")->Unit(benchmark::kMillisecond);
BENCHMARK(readDetails)->Name("Read/details")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
