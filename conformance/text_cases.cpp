// Text: extents, metrics, and DrawText measuring, breaking words, centring and clipping, in the
// face every case uses. Where a placement is printed it is found from the pixels drawn.
#include "conformance/cases.h"
#include "conformance/record.h"

namespace conformance {

namespace {

constexpr int canvasWidth = 200;
constexpr int canvasHeight = 100;

struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    HGDIOBJ oldFont = nullptr;
};

Canvas openCanvas()
{
    Canvas canvas;
    HDC screen = GetDC(nullptr);
    canvas.dc = CreateCompatibleDC(screen);
    canvas.bitmap = CreateCompatibleBitmap(screen, canvasWidth, canvasHeight);
    ReleaseDC(nullptr, screen);
    canvas.oldBitmap = SelectObject(canvas.dc, canvas.bitmap);
    canvas.oldFont = SelectObject(canvas.dc, caseFont());
    return canvas;
}

void clear(const Canvas& canvas)
{
    RECT all = {0, 0, canvasWidth, canvasHeight};
    FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(canvas.dc, RGB(0, 0, 0));
    SetBkMode(canvas.dc, TRANSPARENT);
}

void closeCanvas(Canvas& canvas)
{
    SelectObject(canvas.dc, canvas.oldFont);
    SelectObject(canvas.dc, canvas.oldBitmap);
    DeleteObject(canvas.bitmap);
    DeleteDC(canvas.dc);
}

// The box around every pixel that is not white, or "nothing" when all are.
void printInk(const Canvas& canvas, const char* what)
{
    int left = canvasWidth, top = canvasHeight, right = -1, bottom = -1;
    for (int y = 0; y < canvasHeight; ++y)
        for (int x = 0; x < canvasWidth; ++x)
            if ((GetPixel(canvas.dc, x, y) & 0xFFFFFF) != 0xFFFFFF) {
                left = x < left ? x : left;
                right = x > right ? x : right;
                top = y < top ? y : top;
                bottom = y > bottom ? y : bottom;
            }
    if (right < 0)
        fact("%s: ink nothing", what);
    else
        fact("%s: ink %d,%d-%d,%d", what, left, top, right + 1, bottom + 1);
}

void printMeasured(const char* what, int height, const RECT& rect)
{
    fact("%s -> %d rect %ld,%ld-%ld,%ld", what, height, static_cast<long>(rect.left), static_cast<long>(rect.top),
         static_cast<long>(rect.right), static_cast<long>(rect.bottom));
}

void extents(const Canvas& canvas)
{
    beginCase("text.metrics");
    TEXTMETRICW metrics = {};
    fact("GetTextMetrics -> %d", GetTextMetricsW(canvas.dc, &metrics) ? 1 : 0);
    fact("height %ld ascent %ld descent %ld internal %ld external %ld", static_cast<long>(metrics.tmHeight),
         static_cast<long>(metrics.tmAscent), static_cast<long>(metrics.tmDescent),
         static_cast<long>(metrics.tmInternalLeading), static_cast<long>(metrics.tmExternalLeading));
    fact("average width %ld max width %ld weight %ld", static_cast<long>(metrics.tmAveCharWidth),
         static_cast<long>(metrics.tmMaxCharWidth), static_cast<long>(metrics.tmWeight));

    beginCase("text.extent");
    const WCHAR* samples[] = {CW("Abc"), CW("Москва"), CW("Невский проспект, 28"), CW("iiii"), CW("WWWW"), CW("")};
    for (const WCHAR* sample : samples) {
        SIZE size = {};
        int length = 0;
        while (sample[length] != 0)
            ++length;
        BOOL ok = GetTextExtentPoint32W(canvas.dc, sample, length, &size);
        fact("GetTextExtentPoint32 \"%s\" -> %d %ldx%ld", utf8(sample).c_str(), ok ? 1 : 0, static_cast<long>(size.cx),
             static_cast<long>(size.cy));
    }
}

void drawing(const Canvas& canvas)
{
    beginCase("text.calcrect");
    RECT rect = {0, 0, 80, 0};
    int height = DrawTextW(canvas.dc, CW("Невский проспект, 28"), -1, &rect, DT_CALCRECT | DT_SINGLELINE);
    printMeasured("single line", height, rect);
    rect = {0, 0, 80, 0};
    height = DrawTextW(canvas.dc, CW("Невский проспект, 28"), -1, &rect, DT_CALCRECT | DT_WORDBREAK);
    printMeasured("word break in 80", height, rect);
    rect = {0, 0, 20, 0};
    height = DrawTextW(canvas.dc, CW("Длинноеслово и"), -1, &rect, DT_CALCRECT | DT_WORDBREAK);
    printMeasured("a word wider than 20", height, rect);
    rect = {0, 0, 80, 0};
    height = DrawTextW(canvas.dc, CW("a\nbb\n\nc"), -1, &rect, DT_CALCRECT);
    printMeasured("line breaks", height, rect);
    rect = {0, 0, 80, 0};
    height = DrawTextW(canvas.dc, CW("&Файл"), -1, &rect, DT_CALCRECT | DT_SINGLELINE);
    fact("prefix -> %d width %ld", height, static_cast<long>(rect.right));
    rect = {0, 0, 80, 0};
    height = DrawTextW(canvas.dc, CW("&Файл"), -1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    fact("no prefix -> %d width %ld", height, static_cast<long>(rect.right));
    rect = {0, 0, 80, 0};
    height = DrawTextW(canvas.dc, CW(""), -1, &rect, DT_CALCRECT | DT_WORDBREAK);
    printMeasured("empty", height, rect);

    beginCase("text.draw");
    clear(canvas);
    rect = {10, 10, 190, 90};
    height = DrawTextW(canvas.dc, CW("Центр"), -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    fact("centred -> %d", height);
    printInk(canvas, "centred");
    clear(canvas);
    height = DrawTextW(canvas.dc, CW("Справа"), -1, &rect, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
    fact("right bottom -> %d", height);
    printInk(canvas, "right bottom");
    clear(canvas);
    rect = {10, 10, 40, 20};
    height = DrawTextW(canvas.dc, CW("Обрезанный текст"), -1, &rect, DT_LEFT | DT_SINGLELINE);
    fact("clipped -> %d", height);
    printInk(canvas, "clipped to 10,10-40,20");
    clear(canvas);
    height = DrawTextW(canvas.dc, CW("Обрезанный текст"), -1, &rect, DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
    printInk(canvas, "not clipped");
    clear(canvas);
    rect = {10, 10, 70, 90};
    height = DrawTextW(canvas.dc, CW("Невский проспект, 28"), -1, &rect, DT_CENTER | DT_WORDBREAK);
    fact("centred word break -> %d", height);
    printInk(canvas, "centred word break");
}

} // namespace

void textCases()
{
    Canvas canvas = openCanvas();
    extents(canvas);
    drawing(canvas);
    closeCanvas(canvas);
}

} // namespace conformance
