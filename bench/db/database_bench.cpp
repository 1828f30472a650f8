// The reader over a generated edition of 200 000 firms, written by the writer library onto the
// device file system of the benchmark:
//   Scan/detail:0   the white-pages walk: every firm's length and name
//   Scan/detail:1   every firm's body decoded (name, street reference, house, web, e-mail, phone)
//   RandomReads     10 000 firms entered at their references with street and details (detail 7,
//                   the business card's read, capped at 10 240 bytes)
// The window is a quarter of an emulated 24 MB of free memory (6 MB), as on a device.
//
// Instruction counts: each scan is bracketed by CALLGRIND_TOGGLE_COLLECT, so
//   valgrind --tool=callgrind --collect-atstart=no bench_database --benchmark_filter='Scan/1'
// counts the scans alone.
#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

#include "db/database.h"
#include "db/database_program.h"
#include "emulator.h"
#include "tools/writer/edition_writer.h"

namespace {

constexpr uint32_t firmCount = 200000;
constexpr uint32_t streetCount = 2000;
constexpr uint32_t randomReads = 10000;
constexpr uint64_t emulatedFreeMemory = 24u << 20;

// Code page 1251 syllables, so that names look like the city's (and sort over the whole alphabet).
const char* const syllables[] = {"\xC0\xEB", "\xC1\xE0", "\xC2\xE5", "\xC3\xEE", "\xC4\xF0", "\xC5\xEA",
                                 "\xC6\xE8", "\xC7\xE0", "\xC8\xED", "\xCA\xEE", "\xCB\xE0", "\xCC\xE8",
                                 "\xCD\xE5", "\xCE\xF0", "\xCF\xE5", "\xD0\xEE", "\xD1\xF2", "\xD2\xE5",
                                 "\xD3\xF0", "\xD4\xE0", "\xD5\xEE", "\xD6\xE5", "\xD7\xE0", "\xD8\xE8"};
const char* const kinds[] = {"\xCE\xCE\xCE ", "\xC7\xC0\xCE ", "\xC8\xCF ", "", "\xC0\xCE "};  // ООО ЗАО ИП АО

Edition generatedEdition() {
    std::mt19937 random(2024);
    auto pick = [&](uint32_t n) { return static_cast<uint32_t>(random() % n); };
    Edition e;
    e.title = "Benchmark edition";
    for (uint32_t s = 0; s < streetCount; ++s) {
        EditionStreet street;
        street.name = std::string(syllables[s % 24]) + syllables[(s / 24) % 24] + "\xF1\xEA\xE0\xFF \xF3\xEB.";
        street.key = street.name.substr(0, 3);
        e.streets.push_back(street);
    }
    for (uint32_t i = 0; i < firmCount; ++i) {
        EditionFirm firm;
        firm.name = std::string(kinds[pick(5)]) + "\xAB" + syllables[pick(24)] + syllables[pick(24)] + syllables[pick(24)] +
                    "\xBB " + std::to_string(i);
        firm.street = pick(streetCount);
        e.streets[firm.street].firms.push_back(i);
        firm.house = 1 + pick(200);
        if (pick(4) == 0) firm.houseSuffix = std::to_string(1 + pick(9));
        firm.web = "www.firm" + std::to_string(i) + ".ru";
        if (pick(2) == 0) firm.email = "info@firm" + std::to_string(i) + ".ru";
        firm.phone = std::to_string(3000000 + i);
        firm.phones = firm.phone + ", " + std::to_string(3500000 + i);
        firm.namePrefix = pick(3) == 0 ? "\xCE\xCE\xCE" : "";
        firm.rubricCodes = "|" + std::to_string(10 + pick(80)) + "|" + std::to_string(1000 + pick(8000)) + "|";
        firm.hours = "\xEF\xED-\xEF\xF2 9-18";
        firm.comment = std::string(pick(120), 'x');
        e.firms.push_back(std::move(firm));
        e.phones.push_back({3000000 + i, i});
    }
    return e;
}

// The edition written once and opened once for all benchmarks.
struct Fixture {
    std::string root;
    DatabaseImage image;
    DirectoryDatabase* db = nullptr;
    uint32_t firmTableBytes = 0;

    Fixture() {
        char pattern[] = "/tmp/db-bench-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        root = pattern;
        emu::setDeviceRoot(root);
        std::string error;
        if (writeEdition(generatedEdition(), image, error) != writeOk || saveImage(image, root + "/bench.ydb", error) != writeOk) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::abort();
        }
        emu::setAvailablePhysicalMemory(emulatedFreeMemory);
        takeMemoryReading();
        db = createDatabase();
        if (!db || openDatabase(*db, u"\\bench.ydb") != 0) std::abort();
        firmTableBytes = tableLength(*db, tableFirms);
    }
    ~Fixture() {
        destroyDatabase(db);
        std::filesystem::remove_all(root);
    }
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

// One full scan of the firm table: the number of firms read.
[[gnu::noinline]] uint32_t scanFirms(DirectoryDatabase& db, uint16_t detail) {
    uint32_t firms = 0;
    uint32_t checksum = 0;
    seekTable(db, tableFirms, 0, false, noCap);
    while (readRecord(db, tableFirms, readNext, detail, noCap) == 0) {
        checksum += db.firm.length + db.firm.house;
        ++firms;
    }
    benchmark::DoNotOptimize(checksum);
    return firms;
}

void Scan(benchmark::State& state) {
    Fixture& f = fixture();
    const auto detail = static_cast<uint16_t>(state.range(0));
    uint32_t firms = 0;
    for (auto _ : state) {
        CALLGRIND_TOGGLE_COLLECT;
        firms = scanFirms(*f.db, detail);
        CALLGRIND_TOGGLE_COLLECT;
    }
    if (firms != firmCount) state.SkipWithError("the scan did not read every firm");
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["firms/s"] = benchmark::Counter(firms * iterations, benchmark::Counter::kIsRate);
    state.counters["MB/s"] = benchmark::Counter(f.firmTableBytes * iterations / 1e6, benchmark::Counter::kIsRate);
    state.counters["window_MB"] = static_cast<double>(f.db->windowCapacity) / (1 << 20);
}
BENCHMARK(Scan)->ArgName("detail")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void RandomReads(benchmark::State& state) {
    Fixture& f = fixture();
    std::mt19937 random(99);
    std::vector<uint32_t> refs(randomReads);
    for (uint32_t& ref : refs) ref = f.image.firmRefs[random() % firmCount];
    uint64_t detailBytes = 0;
    for (auto _ : state) {
        for (uint32_t ref : refs) {
            if (readRecord(*f.db, tableFirms, ref, detailBody | detailStreet | detailDetails, cardReadCap) != 0) {
                state.SkipWithError("a firm read failed");
                return;
            }
            detailBytes += f.db->details.length;
        }
    }
    benchmark::DoNotOptimize(detailBytes);
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["firms/s"] = benchmark::Counter(randomReads * iterations, benchmark::Counter::kIsRate);
    state.counters["s/firm"] =
        benchmark::Counter(randomReads * iterations, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(RandomReads)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
