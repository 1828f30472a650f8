// The twelve drawing styles of every screen: fonts, frame pens, background brushes and colours,
// made once at start-up against the main window and never changed or freed.
#pragma once

#include "win32.h"

struct TextStyle {
    HFONT font;
    HPEN pen;             // frames, or none
    HBRUSH brush;         // backgrounds, or none
    COLORREF textColour;
    COLORREF fillColour;  // a home-screen row's background; top bit set: none
    int pointSize;
    int format;           // 1 centred (the default), 0 left
};

constexpr int textStyleCount = 12;
constexpr COLORREF noFill = 0xFFFFFFFF;

inline bool hasFill(const TextStyle& style) { return (style.fillColour & 0x80000000u) == 0; }

// Bit 0 of flags: italic; bit 1: underlined.
void makeTextStyle(TextStyle& style, HWND window, int pointSize, int weight, int red, int green, int blue, int flags);

// Styles 1 to 12 into textStyles[0..11], in order, with their pens, brushes, fills and formats.
void makeTextStyles(TextStyle (&styles)[textStyleCount], HWND window);
