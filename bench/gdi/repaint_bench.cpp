// Repainting the handheld's whole 240 x 320 screen: the home screen's gradient, nine tiles of
// icon and caption, a striped list of text lines and the button bar's eight icons, straight into
// the screen framebuffer (no window manager).
//
// Instruction counts: each repaint is bracketed by CALLGRIND_TOGGLE_COLLECT, so
//   valgrind --tool=callgrind --collect-atstart=no bench_gdi --benchmark_filter='Home.*iterations'
// counts the drawing alone, over 100 repaints.
#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <cstdint>
#include <vector>

#include "emulator.h"
#include "platform/gdi/screen.h"
#include "win32.h"

namespace {

void put16(std::vector<uint8_t>& v, size_t at, uint32_t x)
{
    v[at] = static_cast<uint8_t>(x);
    v[at + 1] = static_cast<uint8_t>(x >> 8);
}

void put32(std::vector<uint8_t>& v, size_t at, uint32_t x)
{
    put16(v, at, x);
    put16(v, at + 2, x >> 16);
}

// A 32-bit DIB icon image with a soft round edge, so that drawing it blends.
std::vector<uint8_t> iconImage(int side, uint32_t colour)
{
    std::vector<uint8_t> image(40 + static_cast<size_t>(side * side * 4) + static_cast<size_t>(side * 4), 0);
    put32(image, 0, 40);
    put32(image, 4, static_cast<uint32_t>(side));
    put32(image, 8, static_cast<uint32_t>(2 * side));
    put16(image, 12, 1);
    put16(image, 14, 32);
    const int centre = side / 2;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            int d2 = (x - centre) * (x - centre) + (y - centre) * (y - centre);
            int edge = centre * centre;
            uint8_t alpha = d2 < edge * 3 / 4 ? 255 : d2 < edge ? 128 : 0;
            size_t at = 40 + static_cast<size_t>((y * side + x) * 4);
            image[at] = static_cast<uint8_t>(colour);
            image[at + 1] = static_cast<uint8_t>(colour >> 8);
            image[at + 2] = static_cast<uint8_t>(colour >> 16);
            image[at + 3] = alpha;
        }
    return image;
}

std::vector<uint8_t> directory(int side)
{
    std::vector<uint8_t> out(20, 0);
    put16(out, 2, 1);
    put16(out, 4, 1);
    out[6] = static_cast<uint8_t>(side);
    out[7] = static_cast<uint8_t>(side);
    put16(out, 10, 1);
    put16(out, 12, 32);
    put16(out, 18, 1);
    return out;
}

struct Screen {
    std::vector<uint8_t> tileImage = iconImage(32, 0x3080D0);
    std::vector<uint8_t> barImage = iconImage(24, 0xE0A020);
    std::vector<uint8_t> tileGroup = directory(32);
    std::vector<uint8_t> barGroup = directory(24);
    HICON tile = nullptr;
    HICON bar = nullptr;
    HFONT caption = nullptr;
    HFONT line = nullptr;
    HDC dc = nullptr;

    Screen()
    {
        const emu::ResourceEntry entries[] = {
            {RT_ICON, MAKEINTRESOURCEW(1), tileImage.data(), static_cast<uint32_t>(tileImage.size())},
            {RT_GROUP_ICON, MAKEINTRESOURCEW(196), tileGroup.data(), static_cast<uint32_t>(tileGroup.size())},
        };
        emu::registerResources(entries, 2);
        tile = LoadIconW(nullptr, MAKEINTRESOURCEW(196));
        const emu::ResourceEntry barEntries[] = {
            {RT_ICON, MAKEINTRESOURCEW(1), barImage.data(), static_cast<uint32_t>(barImage.size())},
            {RT_GROUP_ICON, MAKEINTRESOURCEW(185), barGroup.data(), static_cast<uint32_t>(barGroup.size())},
        };
        emu::registerResources(barEntries, 2);
        bar = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(185), IMAGE_ICON, 24, 24, 0));
        gdi::resizeScreen(240, 320);
        dc = gdi::createWindowDC(0, 0, {{0, 0, 240, 320}});
        caption = CreateFontW(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, RUSSIAN_CHARSET, 0, 0, 0, 0, u"Tahoma");
        line = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, RUSSIAN_CHARSET, 0, 0, 0, 0, u"Tahoma");
    }
    ~Screen()
    {
        gdi::releaseWindowDC(dc);
        DeleteObject(caption);
        DeleteObject(line);
        DestroyIcon(bar);
        emu::clearResources();
    }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;
};

const char16_t* const captions[9] = {u"Рубрики",  u"Поиск фирм",   u"Избранное", u"Телефоны", u"Метро",
                                     u"Улицы",    u"Точное время", u"Справка",   u"О базе"};
const char16_t* const lines[10] = {
    u"Автосервис «Невский», ремонт и шиномонтаж", u"ул. Малая Садовая, д. 3, оф. 12",
    u"Часы работы: 9:00–21:00, без выходных",     u"Справочник фирм Санкт-Петербурга",
    u"Аптека на Лиговском проспекте",             u"Гостиница «Октябрьская»",
    u"Стоматология, детская и взрослая",          u"Ремонт обуви и изготовление ключей",
    u"Банкоматы и обмен валюты",                  u"Такси круглосуточно"};

void gradient(HDC dc, RECT r, COLORREF top, COLORREF bottom)
{
    TRIVERTEX v[2] = {{r.left, r.top, static_cast<COLOR16>(GetRValue(top) << 8), static_cast<COLOR16>(GetGValue(top) << 8),
                       static_cast<COLOR16>(GetBValue(top) << 8), 0},
                      {r.right, r.bottom, static_cast<COLOR16>(GetRValue(bottom) << 8),
                       static_cast<COLOR16>(GetGValue(bottom) << 8), static_cast<COLOR16>(GetBValue(bottom) << 8), 0}};
    GRADIENT_RECT mesh{0, 1};
    GradientFill(dc, v, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
}

// The home screen: gradient, 3 x 3 tiles of icon over a wrapped caption, the bar.
void paintHome(Screen& s)
{
    gradient(s.dc, {0, 0, 240, 294}, RGB(8, 111, 184), RGB(11, 82, 131));
    SetBkMode(s.dc, TRANSPARENT);
    SetTextColor(s.dc, RGB(255, 255, 255));
    HGDIOBJ previous = SelectObject(s.dc, s.caption);
    for (int i = 0; i < 9; ++i) {
        RECT tile{(i % 3) * 80, 20 + (i / 3) * 90, (i % 3) * 80 + 80, 20 + (i / 3) * 90 + 90};
        DrawIconEx(s.dc, tile.left + 24, tile.top + 8, s.tile, 0, 0, 0, nullptr, DI_NORMAL);
        RECT text{tile.left, tile.top + 44, tile.right, tile.bottom};
        DrawTextW(s.dc, captions[i], -1, &text, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    }
    SelectObject(s.dc, previous);
    RECT strip{0, 294, 240, 320};
    FillRect(s.dc, &strip, GetSysColorBrush(COLOR_BTNFACE));
    for (int i = 0; i < 8; ++i)
        DrawIcon(s.dc, 4 + i * 30, 295, s.bar);
}

// A list screen: striped rows of text cut with an ellipsis, a focus frame, the bar.
void paintList(Screen& s)
{
    HGDIOBJ previous = SelectObject(s.dc, s.line);
    SetBkMode(s.dc, OPAQUE);
    SetTextColor(s.dc, RGB(0, 0, 0));
    for (int i = 0; i < 20; ++i) {
        RECT row{0, i * 14, 240, i * 14 + 14};
        SetBkColor(s.dc, i % 2 == 0 ? RGB(255, 255, 255) : RGB(222, 235, 247));
        ExtTextOutW(s.dc, 0, row.top, ETO_OPAQUE, &row, nullptr, 0, nullptr);
        RECT text{2, row.top, 238, row.bottom};
        DrawTextW(s.dc, lines[i % 10], -1, &text, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    RECT focus{0, 42, 240, 56};
    DrawFocusRect(s.dc, &focus);
    SelectObject(s.dc, previous);
    RECT strip{0, 294, 240, 320};
    FillRect(s.dc, &strip, GetSysColorBrush(COLOR_BTNFACE));
    for (int i = 0; i < 8; ++i)
        DrawIcon(s.dc, 4 + i * 30, 295, s.bar);
}

template <void (*Paint)(Screen&)> void BM_Repaint(benchmark::State& state)
{
    Screen s;
    Paint(s); // fills the glyph caches, as the first paint of a running program does
    for (auto _ : state) {
        CALLGRIND_TOGGLE_COLLECT;
        Paint(s);
        CALLGRIND_TOGGLE_COLLECT;
        benchmark::DoNotOptimize(gdi::screen().pixels.data());
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_RepaintHomeScreen(benchmark::State& state) { BM_Repaint<paintHome>(state); }
void BM_RepaintListScreen(benchmark::State& state) { BM_Repaint<paintList>(state); }
BENCHMARK(BM_RepaintHomeScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RepaintListScreen)->Unit(benchmark::kMicrosecond);
// Fixed counts for callgrind: the collected instructions divided by 100 are one repaint's.
BENCHMARK(BM_RepaintHomeScreen)->Iterations(100);
BENCHMARK(BM_RepaintListScreen)->Iterations(100);

} // namespace

BENCHMARK_MAIN();
