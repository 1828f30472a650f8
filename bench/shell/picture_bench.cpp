// The bitmap surface over a database written by the writer library, whose resource area holds a
// help text, the four about pictures and an 800 x 900 metro scheme at 8 bits (picture 4):
//   LoadMetroScheme   the walk to picture 4, its header and colour table, 720 000 bytes of rows
//                     read into the bitmap section
//   CopyMetroWindow   the metro screen's repaint: 240 x 268 pixels copied from the scheme into the
//                     screen below the task bar
//
// Instruction counts: each load or copy is bracketed by CALLGRIND_TOGGLE_COLLECT, so
//   valgrind --tool=callgrind --collect-atstart=no bench_pictures --benchmark_filter='Copy.*iterations'
// counts the copies alone, over 100 repaints.
#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "db/database.h"
#include "db/database_program.h"
#include "emulator.h"
#include "platform/gdi/screen.h"
#include "shell/bitmap_surface.h"
#include "tools/writer/edition_writer.h"

namespace {

constexpr int schemeWidth = 800;
constexpr int schemeHeight = 900;
constexpr int screenWidth = 240;
constexpr int contentTop = 26;     // below the task bar
constexpr int contentHeight = 268; // above the button bar
constexpr uint32_t metroPicture = 4;

void put32(std::string& file, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        file[at + static_cast<size_t>(i)] = static_cast<char>(value >> (8 * i));
}

// An 8-bit picture with a 256-colour table: white, with coloured lines across it every 37 rows and
// every 53 columns, as a scheme's lines cross a mostly empty page.
std::string linedPicture(int width, int height) {
    const size_t stride = (static_cast<size_t>(width) + 3) / 4 * 4;
    const size_t offset = 14 + 40 + 1024;
    std::string file(offset + stride * static_cast<size_t>(height), '\0');
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 2, static_cast<uint32_t>(file.size()));
    put32(file, 10, static_cast<uint32_t>(offset));
    put32(file, 14, 40);
    put32(file, 18, static_cast<uint32_t>(width));
    put32(file, 22, static_cast<uint32_t>(height));
    put32(file, 26, 1 | 8 << 16); // planes 1, then 8 bits per pixel
    for (uint32_t i = 0; i < 256; ++i)
        put32(file, 54 + 4 * i, i == 0 ? 0xFFFFFF : (i * 0x3F1D27u) & 0xFFFFFF);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int line = y % 37 < 3 ? 1 + y / 37 : x % 53 < 3 ? 100 + x / 53 : 0;
            file[offset + static_cast<size_t>(y) * stride + static_cast<size_t>(x)] = static_cast<char>(line);
        }
    return file;
}

struct Fixture {
    std::string root;
    DirectoryDatabase* db = nullptr;
    HDC screen = nullptr;

    Fixture() {
        char pattern[] = "/tmp/picture-bench-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        root = pattern;
        emu::setDeviceRoot(root);
        Edition edition;
        edition.title = "Pictures";
        EditionFirm firm;
        firm.name = "Alpha";
        edition.firms = {firm};
        edition.chunks = {{ChunkKind::help, std::string(6000, 'h')},
                          {ChunkKind::picture, linedPicture(240, 60)},
                          {ChunkKind::picture, linedPicture(240, 40)},
                          {ChunkKind::picture, linedPicture(320, 50)},
                          {ChunkKind::picture, linedPicture(320, 30)},
                          {ChunkKind::picture, linedPicture(schemeWidth, schemeHeight)}};
        DatabaseImage image;
        std::string error;
        if (writeEdition(edition, image, error) != writeOk ||
            saveImage(image, root + "/bench.ydb", error) != writeOk) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::abort();
        }
        db = createDatabase();
        if (!db || openDatabase(*db, u"\\bench.ydb") != 0) std::abort();
        databaseProgram.current = db;
        gdi::resizeScreen(240, 320);
        screen =
            gdi::createWindowDC(0, contentTop, {{0, contentTop, screenWidth, contentTop + contentHeight}});
    }
    ~Fixture() {
        gdi::releaseWindowDC(screen);
        databaseProgram.current = nullptr;
        destroyDatabase(db);
        std::filesystem::remove_all(root);
    }
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

void LoadMetroScheme(benchmark::State& state) {
    Fixture& f = fixture();
    BitmapSurface surface;
    initSurface(surface);
    int32_t code = 0;
    for (auto _ : state) {
        CALLGRIND_TOGGLE_COLLECT;
        code = loadPicture(surface, f.screen, metroPicture);
        CALLGRIND_TOGGLE_COLLECT;
    }
    if (code != pictureLoaded || pictureWidth(surface) != schemeWidth)
        state.SkipWithError("the scheme did not load");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * schemeWidth * schemeHeight);
    resetSurface(surface);
}

void CopyMetroWindow(benchmark::State& state) {
    Fixture& f = fixture();
    BitmapSurface surface;
    initSurface(surface);
    if (loadPicture(surface, f.screen, metroPicture) != pictureLoaded) {
        state.SkipWithError("the scheme did not load");
        return;
    }
    // Centred, as the screen opens it, then panned by ten pixels a repaint as the arrow keys do.
    int x = (schemeWidth - screenWidth) / 2;
    const int y = (schemeHeight - contentHeight) / 2;
    for (auto _ : state) {
        CALLGRIND_TOGGLE_COLLECT;
        copyPicture(surface, f.screen, x, y, screenWidth, contentHeight);
        CALLGRIND_TOGGLE_COLLECT;
        x = x + 10 > schemeWidth - screenWidth ? 0 : x + 10;
    }
    state.counters["pixels/s"] = benchmark::Counter(static_cast<double>(screenWidth) * contentHeight *
                                                        static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate);
    resetSurface(surface);
}

} // namespace

BENCHMARK(LoadMetroScheme)->Unit(benchmark::kMicrosecond);
BENCHMARK(CopyMetroWindow)->Unit(benchmark::kMicrosecond);
// Fixed counts for callgrind.
BENCHMARK(LoadMetroScheme)->Iterations(20);
BENCHMARK(CopyMetroWindow)->Iterations(100);

BENCHMARK_MAIN();
