// Rendered fonts: the faces faces.h resolves, sized and hinted by FreeType, with
// their glyphs cached.
#pragma once

#include <cstdint>
#include <vector>

namespace gdi {

struct FontData;

struct Glyph {
    int left = 0;    // from the pen position to the bitmap's left edge
    int top = 0;     // from the baseline up to the bitmap's top row
    int width = 0;
    int height = 0;
    int advance = 0; // whole pixels
    std::vector<uint8_t> coverage;
};

struct FontMetrics {
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int averageWidth = 0;
    int maxWidth = 0;
    int underlinePosition = 1; // rows below the baseline
    int underlineThickness = 1;
};

// Null only when no font file could be opened at all.
const Glyph* glyphFor(const FontData& font, char16_t character);
FontMetrics metricsFor(const FontData& font);

} // namespace gdi
