// A 24-bit drawing surface for the generated pictures, with the few shapes they need and text
// rendered through FreeType.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;  // top-down rows
};

Canvas makeCanvas(int width, int height, Rgb fill);
void fillRect(Canvas& c, int x, int y, int w, int h, Rgb colour);
void verticalGradient(Canvas& c, int x, int y, int w, int h, Rgb top, Rgb bottom);
void fillCircle(Canvas& c, double cx, double cy, double radius, Rgb colour);
// A line of the given thickness with round ends.
void thickLine(Canvas& c, double x0, double y0, double x1, double y1, double thickness, Rgb colour);

// Text in DejaVu Sans (found through fontconfig), `pixelSize` high, drawn with its baseline at y.
struct TextFont;
TextFont* openFont(bool bold, std::string& error);
void closeFont(TextFont* font);
int textWidth(TextFont* font, const std::string& utf8, int pixelSize);
void drawText(Canvas& c, TextFont* font, const std::string& utf8, int x, int baseline, int pixelSize, Rgb colour);
