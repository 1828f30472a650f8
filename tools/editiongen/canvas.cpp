#include "tools/editiongen/canvas.h"

#include "tools/editiongen/utf8_text.h"

#include <algorithm>
#include <cmath>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

struct TextFont {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

namespace {

void blend(Canvas& c, int x, int y, Rgb colour, unsigned alpha) {
    if (x < 0 || y < 0 || x >= c.width || y >= c.height || alpha == 0) return;
    Rgb& p = c.pixels[static_cast<size_t>(y) * c.width + x];
    auto mix = [alpha](uint8_t from, uint8_t to) {
        return static_cast<uint8_t>((from * (255 - alpha) + to * alpha + 127) / 255);
    };
    p = {mix(p.r, colour.r), mix(p.g, colour.g), mix(p.b, colour.b)};
}

} // namespace

Canvas makeCanvas(int width, int height, Rgb fill) {
    Canvas c;
    c.width = width;
    c.height = height;
    c.pixels.assign(static_cast<size_t>(width) * height, fill);
    return c;
}

void fillRect(Canvas& c, int x, int y, int w, int h, Rgb colour) {
    for (int j = std::max(0, y); j < std::min(c.height, y + h); ++j)
        for (int i = std::max(0, x); i < std::min(c.width, x + w); ++i) c.pixels[static_cast<size_t>(j) * c.width + i] = colour;
}

void verticalGradient(Canvas& c, int x, int y, int w, int h, Rgb top, Rgb bottom) {
    for (int j = 0; j < h; ++j) {
        auto lerp = [&](uint8_t a, uint8_t b) { return static_cast<uint8_t>(a + (b - a) * j / std::max(1, h - 1)); };
        fillRect(c, x, y + j, w, 1, {lerp(top.r, bottom.r), lerp(top.g, bottom.g), lerp(top.b, bottom.b)});
    }
}

void fillCircle(Canvas& c, double cx, double cy, double radius, Rgb colour) {
    for (int y = static_cast<int>(cy - radius - 1); y <= static_cast<int>(cy + radius + 1); ++y)
        for (int x = static_cast<int>(cx - radius - 1); x <= static_cast<int>(cx + radius + 1); ++x) {
            double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            double cover = std::clamp(radius + 0.5 - d, 0.0, 1.0);
            blend(c, x, y, colour, static_cast<unsigned>(cover * 255));
        }
}

void thickLine(Canvas& c, double x0, double y0, double x1, double y1, double thickness, Rgb colour) {
    double half = thickness / 2;
    int minX = static_cast<int>(std::min(x0, x1) - half - 1), maxX = static_cast<int>(std::max(x0, x1) + half + 1);
    int minY = static_cast<int>(std::min(y0, y1) - half - 1), maxY = static_cast<int>(std::max(y0, y1) + half + 1);
    double dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    for (int y = minY; y <= maxY; ++y)
        for (int x = minX; x <= maxX; ++x) {
            double px = x + 0.5, py = y + 0.5;
            double t = len2 > 0 ? std::clamp(((px - x0) * dx + (py - y0) * dy) / len2, 0.0, 1.0) : 0;
            double d = std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
            double cover = std::clamp(half + 0.5 - d, 0.0, 1.0);
            if (cover > 0) blend(c, x, y, colour, static_cast<unsigned>(cover * 255));
        }
}

TextFont* openFont(bool bold, std::string& error) {
    FcInit();
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(bold ? "DejaVu Sans:bold" : "DejaVu Sans"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    FcChar8* file = nullptr;
    std::string path;
    if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) path = reinterpret_cast<char*>(file);
    if (match) FcPatternDestroy(match);
    if (path.empty()) {
        error = "fontconfig finds no DejaVu Sans font";
        return nullptr;
    }
    auto* font = new TextFont;
    if (FT_Init_FreeType(&font->library) != 0 || FT_New_Face(font->library, path.c_str(), 0, &font->face) != 0) {
        error = "FreeType cannot open " + path;
        closeFont(font);
        return nullptr;
    }
    return font;
}

void closeFont(TextFont* font) {
    if (!font) return;
    if (font->face) FT_Done_Face(font->face);
    if (font->library) FT_Done_FreeType(font->library);
    delete font;
}

int textWidth(TextFont* font, const std::string& utf8, int pixelSize) {
    FT_Set_Pixel_Sizes(font->face, 0, static_cast<FT_UInt>(pixelSize));
    long width = 0;
    for (uint32_t cp : utf8CodePoints(utf8))
        if (FT_Load_Char(font->face, cp, FT_LOAD_DEFAULT) == 0) width += font->face->glyph->advance.x;
    return static_cast<int>(width >> 6);
}

void drawText(Canvas& c, TextFont* font, const std::string& utf8, int x, int baseline, int pixelSize, Rgb colour) {
    FT_Set_Pixel_Sizes(font->face, 0, static_cast<FT_UInt>(pixelSize));
    long penX = static_cast<long>(x) << 6;
    for (uint32_t cp : utf8CodePoints(utf8)) {
        if (FT_Load_Char(font->face, cp, FT_LOAD_RENDER) != 0) continue;
        FT_GlyphSlot g = font->face->glyph;
        int left = static_cast<int>(penX >> 6) + g->bitmap_left;
        int top = baseline - g->bitmap_top;
        for (unsigned row = 0; row < g->bitmap.rows; ++row)
            for (unsigned col = 0; col < g->bitmap.width; ++col)
                blend(c, left + static_cast<int>(col), top + static_cast<int>(row), colour,
                      g->bitmap.buffer[row * g->bitmap.pitch + col]);
        penX += g->advance.x;
    }
}
