// What the screens' fills cost in the controls: a sorted list of 10 000 firm names (the white
// pages' limit), the white pages' own list filled with item values, a tree of 2 000 rubrics under
// 100 headings sorted one level (the flat rubric list), and the repaint of a full list after a
// scroll. Nothing asserts a time; the figures go into the note.
#include <benchmark/benchmark.h>

#include "platform/gdi/screen.h"
#include "platform/ui/window_manager.h"
#include "win32.h"
#include "win32/commctrl.h"
#include "win32/controls.h"

#include <valgrind/callgrind.h>

#include <string>
#include <vector>

namespace {

// Names that spread over the alphabet the way a directory's do: a varying first word, a fixed tail.
std::vector<std::u16string> firmNames(int count)
{
    static const char16_t* heads[] = {u"Аптека", u"Булочная", u"Вокзал", u"Гостиница", u"Дом книги", u"Ермитаж",
                                      u"Жилкомсервис", u"Завод", u"Институт", u"Кафе", u"Лицей", u"Магазин"};
    std::vector<std::u16string> names;
    names.reserve(static_cast<size_t>(count));
    unsigned seed = 12345;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        std::u16string name = heads[(seed >> 16) % 12];
        name += u" №";
        name += std::u16string(1, static_cast<char16_t>(u'А' + (seed >> 8) % 32));
        name += std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
        names.push_back(std::move(name));
    }
    return names;
}

HWND freshParent()
{
    gdi::resizeScreen(240, 320);
    ui::resetWindowManager();
    registerStandardControls();
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = u"BenchParent";
    RegisterClassW(&wc);
    return CreateWindowExW(0, u"BenchParent", u"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 240, 320, nullptr,
                           nullptr, nullptr, nullptr);
}

HWND makeChild(HWND parent, LPCWSTR className, DWORD style)
{
    return CreateWindowExW(0, className, u"", WS_CHILD | WS_VISIBLE | style, 0, 26, 240, 268, parent, nullptr, nullptr,
                           nullptr);
}

void pump()
{
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

void BM_SortedListFill(benchmark::State& state)
{
    HWND list = makeChild(freshParent(), WC_LISTBOXW, LBS_NOTIFY | LBS_SORT | WS_VSCROLL);
    const std::vector<std::u16string> names = firmNames(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        for (const std::u16string& name : names)
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        pump();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SortedListFill)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The white pages' firm list as the screen fills it, without the reading: 10 000 lines, each
// added with its item value, the list pumped every 100 lines so that it paints as it grows. The
// screen cannot cost less than its operation plus this; bench_browse gives the operation.
void BM_ValuedListFill(benchmark::State& state)
{
    HWND list = makeChild(freshParent(), WC_LISTBOXW, LBS_NOTIFY | WS_VSCROLL);
    const std::vector<std::u16string> names = firmNames(10000);
    pump();
    for (auto _ : state) {
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        pump();
        // Run with callgrind --collect-atstart=no, only the fills are counted.
        CALLGRIND_TOGGLE_COLLECT;
        LPARAM value = 0;
        for (const std::u16string& name : names) {
            const LRESULT line = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
            SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(line), value);
            value += 58;  // a firm record's mean length in the million-firm edition
            if (line % 100 == 0)
                pump();
        }
        pump();
        CALLGRIND_TOGGLE_COLLECT;
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_ValuedListFill)->Unit(benchmark::kMillisecond);

void BM_ListScrollRepaint(benchmark::State& state)
{
    HWND list = makeChild(freshParent(), WC_LISTBOXW, LBS_NOTIFY | WS_VSCROLL | WS_HSCROLL | LBS_DISABLENOSCROLL);
    for (const std::u16string& name : firmNames(10000))
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    pump();
    int top = 0;
    for (auto _ : state) {
        top = (top + 1) % 9000;
        SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
        UpdateWindow(list);
    }
}
BENCHMARK(BM_ListScrollRepaint)->Unit(benchmark::kMicrosecond);

void BM_TreeFillAndSort(benchmark::State& state)
{
    HWND tree = makeChild(freshParent(), WC_TREEVIEWW,
                          TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP);
    const std::vector<std::u16string> names = firmNames(2000);
    for (auto _ : state) {
        TreeView_DeleteAllItems(tree);
        HTREEITEM heading = nullptr;
        for (size_t i = 0; i < names.size(); ++i) {
            TVINSERTSTRUCTW insert{};
            insert.hParent = i % 20 == 0 ? TVI_ROOT : heading;
            insert.hInsertAfter = TVI_LAST;
            insert.item.mask = TVIF_TEXT;
            insert.item.pszText = const_cast<LPWSTR>(names[i].c_str());
            HTREEITEM item = TreeView_InsertItem(tree, &insert);
            if (i % 20 == 0)
                heading = item;
        }
        TreeView_SortChildren(tree, TVI_ROOT, FALSE);
        pump();
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_TreeFillAndSort)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
