// The edition compiler at scale, over the generated sources of `ydb synth`:
//   Build/N   what `ydb build` does: read and check the source, order the firms, lay out and write
//             the file (one iteration: the largest runs for tens of seconds)
//   Check/N   what `ydb check` does with the file Build/N wrote: open it through the reader and
//             validate every table and cross reference
// peakRssMB is the process's peak resident memory after the run. The sizes run smallest first, so
// the figure of each is its own peak (the source is generated outside the timing).
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tools/writer/edition_writer.h"
#include "tools/ydb/build/edition_from_source.h"
#include "tools/ydb/examine/database_check.h"
#include "tools/ydb/examine/host_database.h"
#include "tools/ydb/source/source_reader.h"
#include "tools/ydb/source/synth.h"

namespace {

namespace fs = std::filesystem;

fs::path workFolder() {
    static const fs::path folder = fs::temp_directory_path() / ("bench-ydb-" + std::to_string(::getpid()));
    return folder;
}

fs::path sourceFolder(int64_t firms) { return workFolder() / ("source-" + std::to_string(firms)); }
fs::path editionFile(int64_t firms) { return workFolder() / ("edition-" + std::to_string(firms) + ".ydb"); }

double peakRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void Build(benchmark::State& state) {
    const int64_t firms = state.range(0);
    std::string error;
    if (!fs::exists(sourceFolder(firms)) &&
        !writeSynthEdition(sourceFolder(firms).string(), {static_cast<uint32_t>(firms), 1}, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    size_t bytes = 0;
    for (auto _ : state) {
        SourceEdition source;
        IssueList issues;
        if (!readSourceEdition(sourceFolder(firms).string(), source, issues)) {
            state.SkipWithError(formatIssue(issues.items.front()).c_str());
            return;
        }
        Edition edition = editionFromSource(source);
        DatabaseImage image;
        if (writeEdition(edition, image, error) != writeOk ||
            saveImage(image, editionFile(firms).string(), error) != writeOk) {
            state.SkipWithError(error.c_str());
            return;
        }
        bytes = image.bytes.size();
    }
    state.counters["fileMB"] = static_cast<double>(bytes) / 1e6;
    state.counters["peakRssMB"] = peakRssMegabytes();
    state.counters["firmsPerSecond"] =
        benchmark::Counter(static_cast<double>(firms) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void Check(benchmark::State& state) {
    const int64_t firms = state.range(0);
    if (!fs::exists(editionFile(firms))) {
        state.SkipWithError("run Build/N first: it writes the file");
        return;
    }
    size_t faults = 0;
    for (auto _ : state) {
        std::string error;
        DirectoryDatabase* db = openHostDatabase(editionFile(firms).string(), error);
        if (!db) {
            state.SkipWithError(error.c_str());
            return;
        }
        faults = checkDatabase(*db).faults.size();
        destroyDatabase(db);
    }
    if (faults) state.SkipWithError("the built file is not sound");
    state.counters["peakRssMB"] = peakRssMegabytes();
}

BENCHMARK(Build)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(Check)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(workFolder(), ec);
    return 0;
}
