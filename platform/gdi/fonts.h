// Rendered fonts: the faces faces.h resolves, sized and hinted by FreeType, with
// their glyphs cached.
#pragma once

#include <cstddef>
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

// Glyphs are rendered once and kept, but not without bound: a page can ask for any of 65 536
// characters in any of hundreds of sizes, and one of 150 KB (50 000 characters at 96 pixels)
// made the caches hold some 700 MB. Past this many bytes every cache is emptied before the next
// glyph is rendered. Ordinary use (the handheld's faces, Latin and Cyrillic) keeps well under it.
constexpr size_t glyphCacheBudget = 8u << 20;
// What a cached glyph costs besides its bitmap (its map node and fields).
constexpr size_t glyphBookkeeping = 96;
// Bytes the glyph caches hold now.
size_t glyphCacheBytes();
// Each size and style of a font opens the font file as a face of its own (with FreeType's tables,
// some 150 KB), and a page can ask for several hundred of them. Past this many the face looked
// up longest ago is closed; a page's sizes and the programs' own fit in it many times over.
constexpr size_t maxOpenFaces = 64;
// Faces open now (those that could not be opened count too).
size_t openFaceCount();

// Null only when no font file could be opened at all. The glyph stays valid until another glyph
// is asked for (which may empty the caches).
const Glyph* glyphFor(const FontData& font, char16_t character);

// A font's sized face, looked up once for a run of text rather than once a character (the lookup
// costs several times the glyph's own). Valid until the device look changes.
struct RunFace {
    void* sized = nullptr;                 // none when no font file could be opened
    const Glyph* const* direct = nullptr;  // its glyphs of the first directGlyphs characters made so far
};
// Latin and Cyrillic, what nearly all text is, are found by index; the rest through a map.
constexpr char16_t directGlyphs = 0x500;
RunFace runFaceOf(const FontData& font);
// The glyph not yet made, or not among the direct ones.
const Glyph* glyphLoaded(RunFace face, char16_t character);
// As glyphFor, from a face looked up before.
inline const Glyph* glyphIn(RunFace face, char16_t character)
{
    if (character < directGlyphs && face.direct != nullptr && face.direct[character] != nullptr)
        return face.direct[character];
    return glyphLoaded(face, character);
}
FontMetrics metricsFor(const FontData& font);

} // namespace gdi
