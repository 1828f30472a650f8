#include "shell/text_styles.h"

namespace {

struct StyleRecipe {
    int points;
    int weight;
    int red, green, blue;
    int flags;
};

// Styles 1 to 12 in the order they are made.
constexpr StyleRecipe recipes[textStyleCount] = {
    {8, 700, 255, 255, 255, 0},  // 1 main page captions
    {8, 700, 230, 230, 255, 0},  // 2 favourite slots
    {9, 400, 220, 220, 255, 0},  // 3 database banner, rubric tree items
    {8, 400, 255, 255, 255, 0},  // 4 favourites editing and telephone tiles
    {9, 700, 0, 0, 0, 0},        // 5 business card name
    {8, 400, 0, 0, 64, 0},       // 6 labels
    {9, 400, 0, 0, 0, 0},        // 7 business card body
    {9, 700, 0, 0, 255, 2},      // 8 links (underlined)
    {8, 700, 255, 255, 255, 0},  // 9 information list rows
    {8, 700, 255, 255, 255, 0},  // 10 striped information list rows
    {8, 400, 0, 0, 0, 0},        // 11 about-the-maker text
    {9, 700, 0, 0, 255, 0},      // 12 business card mail
};

} // namespace

void makeTextStyle(TextStyle& style, HWND window, int pointSize, int weight, int red, int green, int blue, int flags)
{
    HDC dc = GetDC(window);
    const int dotsPerInch = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc != nullptr)
        ReleaseDC(window, dc);

    LOGFONTW description = {};
    description.lfHeight = -(pointSize * dotsPerInch) / 72;
    description.lfOrientation = 30;
    description.lfWeight = weight;
    description.lfItalic = (flags & 1) != 0;
    description.lfUnderline = (flags & 2) != 0;
    description.lfCharSet = RUSSIAN_CHARSET;
    style.font = CreateFontIndirectW(&description);
    style.pointSize = pointSize;
    style.textColour = RGB(red, green, blue);
    style.fillColour = noFill;
    style.format = 1;
}

void makeTextStyles(TextStyle (&styles)[textStyleCount], HWND window)
{
    for (int i = 0; i < textStyleCount; ++i) {
        const StyleRecipe& r = recipes[i];
        styles[i] = {};
        makeTextStyle(styles[i], window, r.points, r.weight, r.red, r.green, r.blue, r.flags);
        switch (i + 1) {
        case 6:
            styles[i].pen = CreatePen(PS_SOLID, 1, RGB(132, 130, 132));
            styles[i].brush = CreateSolidBrush(RGB(132, 211, 247));
            break;
        case 8:
            styles[i].pen = CreatePen(PS_SOLID, 1, RGB(121, 181, 234));
            styles[i].brush = CreateSolidBrush(RGB(132, 211, 247));
            break;
        case 10:
            styles[8].format = 0;
            styles[9].format = 0;
            styles[9].fillColour = RGB(37, 107, 167);
            break;
        default:
            break;
        }
    }
}
