// Dernolo run on the emulated device with a benchmark as its user: the taps a user makes, and a
// timed action between two idle moments of the program.
#pragma once

#include "platform/testing/scenario.h"
#include "search/sinks.h"

#include <benchmark/benchmark.h>

#include <functional>

namespace driven {

using Step = std::function<void()>;

// Runs the program on a device switched on afresh (its root is the caller's) and the iterations as
// its user: `prepare` once, then per iteration `action` timed (and, under callgrind, counted on the
// program's thread alone) and `undo` untimed.
void runTimed(benchmark::State& state, const Step& prepare, const Step& action, const Step& undo);

HWND mainWindow();
void tapAt(HWND window, int x, int y);
void tapTile(int tile);
// The bar button of the window in front.
void tapBar(int iconId);
// The middle of a line of a list box of the window in front.
void tapLine(int controlId, int line);

struct CountedList : ListSink {
    uint32_t lines = 0;
    bool addLine(const WCHAR*, ItemValue) override
    {
        ++lines;
        return true;
    }
    void selectLine(int32_t) override {}
};

// Every question answered No, every message OK.
struct SilentHooks : ScreenHooks {
    int messageBox(const WCHAR*, const WCHAR*, UINT type) override
    {
        return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
    }
};

}  // namespace driven
