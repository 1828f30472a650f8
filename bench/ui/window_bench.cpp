// The window manager's share of the handheld's figures.
//
// Repaint: a 240 x 320 top-level window with a caption-less list of 22 text lines in two
// columns (a list screen) is invalidated and repainted through WM_ERASEBKGND and WM_PAINT, as an
// UpdateWindow after a scroll does it. A second case adds eleven child windows (list rows as
// controls) so that visible regions and clipping take their part. Each repaint is bracketed by
// CALLGRIND_TOGGLE_COLLECT:
//   valgrind --tool=callgrind --collect-atstart=no bench_ui --benchmark_filter='Repaint.*iterations'
// counts the repaints alone.
//
// Idle: a GetMessage loop with nothing to do but a 50 ms timer, over an idle handler that blocks
// the way the presenters do (until input or the next timer). The counters give the CPU time the
// process used per second of wall time (getrusage) and the idle handler's calls per second: an
// idle loop that spins shows up as CPU time near 1000 ms/s and thousands of calls. Nothing asserts
// a time; the figures go into the note.
#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "platform/gdi/screen.h"
#include "platform/ui/input.h"
#include "platform/ui/window_manager.h"
#include "win32.h"

namespace {

HFONT listFont = nullptr;

LRESULT CALLBACK listProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    HGDIOBJ old = SelectObject(dc, listFont);
    SetBkMode(dc, TRANSPARENT);
    static HBRUSH stripe = CreateSolidBrush(RGB(232, 240, 250));
    const int lineHeight = 14;
    for (int line = 0; line * lineHeight < client.bottom; ++line) {
        RECT row{0, line * lineHeight, client.right, (line + 1) * lineHeight};
        if (line % 2)
            FillRect(dc, &row, stripe);
        SetTextColor(dc, RGB(0, 0, 0));
        RECT name{2, row.top, 150, row.bottom};
        static const char16_t* names[] = {u"Аптека «Невская»", u"Булочная № 12", u"Вокзал Московский",
                                          u"Гостиница «Октябрьская»", u"Дом книги", u"Ермитаж"};
        DrawTextW(dc, names[line % 6], -1, &name, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        SetTextColor(dc, RGB(90, 90, 90));
        RECT phone{152, row.top, client.right - 2, row.bottom};
        DrawTextW(dc, u"+7 812 315-00-12", -1, &phone, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, old);
    EndPaint(window, &ps);
    return 0;
}

struct ListScreen {
    HWND window = nullptr;

    explicit ListScreen(int children)
    {
        gdi::resizeScreen(240, 320);
        ui::resetWindowManager();
        if (listFont == nullptr)
            listFont = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, nullptr);
        WNDCLASSW wc{};
        wc.lpfnWndProc = listProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
        wc.lpszClassName = u"BenchList";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, u"BenchList", u"Список", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                 nullptr, nullptr);
        // Rows as children: the parent does not clip them, so they repaint with it.
        for (int i = 0; i < children; ++i)
            CreateWindowExW(0, u"BenchList", nullptr, WS_CHILD | WS_VISIBLE, 0, 28 * i + 4, 240, 28, window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)), nullptr, nullptr);
        UpdateWindow(window);
    }
    ~ListScreen() { ui::resetWindowManager(); }

    void repaint()
    {
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
    }
};

void repaintLoop(benchmark::State& state, int children)
{
    ListScreen screen(children);
    for (auto _ : state) {
        CALLGRIND_TOGGLE_COLLECT;
        screen.repaint();
        CALLGRIND_TOGGLE_COLLECT;
        benchmark::DoNotOptimize(gdi::screen().pixels.data());
    }
    state.counters["pixels"] = 240 * 320;
}

void BM_RepaintListWindow(benchmark::State& state) { repaintLoop(state, 0); }
void BM_RepaintListWindowWithChildRows(benchmark::State& state) { repaintLoop(state, 11); }

BENCHMARK(BM_RepaintListWindow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RepaintListWindow)->Iterations(100);
BENCHMARK(BM_RepaintListWindowWithChildRows)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RepaintListWindowWithChildRows)->Iterations(100);

// ---- idle ----------------------------------------------------------------------------------

int idleCalls = 0;
std::chrono::steady_clock::time_point idleUntil;

// Blocks as a presenter does: until the next timer is due (there is no input in a benchmark).
bool blockingIdle(int maxWaitMs)
{
    ++idleCalls;
    if (std::chrono::steady_clock::now() >= idleUntil) {
        PostQuitMessage(0);
        return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(maxWaitMs < 0 ? 1000 : maxWaitMs));
    return true;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BM_IdleMessageLoop(benchmark::State& state)
{
    gdi::resizeScreen(240, 320);
    ui::resetWindowManager();
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"BenchIdle";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, u"BenchIdle", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                  nullptr, nullptr);
    SetTimer(window, 1, 50, nullptr);
    const ui::IdleHandler previous = ui::setIdleHandler(blockingIdle);
    double cpu = 0, wall = 0;
    long timers = 0;
    idleCalls = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = cpuSeconds();
        idleUntil = start + std::chrono::milliseconds(1000);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_TIMER)
                ++timers;
            DispatchMessageW(&msg);
        }
        cpu += cpuSeconds() - cpuStart;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    ui::setIdleHandler(previous);
    ui::resetWindowManager();
    state.counters["cpu_ms_per_s"] = 1000.0 * cpu / wall;
    state.counters["idle_calls_per_s"] = idleCalls / wall;
    state.counters["timers_per_s"] = static_cast<double>(timers) / wall;
}

BENCHMARK(BM_IdleMessageLoop)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
