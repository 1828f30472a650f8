#include "platform/gdi/fonts.h"

#include "platform/gdi/gdi_state.h"
#include "emulator.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace gdi {

namespace {

// Latin and Cyrillic, what nearly all text is, are found by index; the rest through the map.
constexpr char16_t directGlyphs = 0x500;

struct SizedFace {
    FT_Face face = nullptr;
    FontMetrics metrics;
    std::map<char16_t, Glyph> glyphs; // nodes stay put, so the pointers below stay valid
    std::vector<const Glyph*> direct = std::vector<const Glyph*>(directGlyphs, nullptr);
};

struct FontLibrary {
    FT_Library library = nullptr;
    std::string files[4]; // regular, bold, oblique, bold oblique
    std::map<std::tuple<int, int>, SizedFace> faces;

    FontLibrary()
    {
        if (FT_Init_FreeType(&library) != 0)
            library = nullptr;
        const char* patterns[4] = {"DejaVu Sans:style=Book", "DejaVu Sans:style=Bold", "DejaVu Sans:style=Oblique",
                                   "DejaVu Sans:style=Bold Oblique"};
        FcInit();
        for (int i = 0; i < 4; ++i)
            files[i] = find(patterns[i]);
    }
    ~FontLibrary()
    {
        for (auto& entry : faces)
            if (entry.second.face != nullptr)
                FT_Done_Face(entry.second.face);
        if (library != nullptr)
            FT_Done_FreeType(library);
    }
    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

    static std::string find(const char* name)
    {
        std::string path;
        FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(name));
        if (pattern == nullptr)
            return path;
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result;
        FcPattern* match = FcFontMatch(nullptr, pattern, &result);
        FcChar8* file = nullptr;
        if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
            path = reinterpret_cast<const char*>(file);
        if (match != nullptr)
            FcPatternDestroy(match);
        FcPatternDestroy(pattern);
        return path;
    }

    // The face last asked for: text asks for the same one glyph after glyph.
    std::tuple<int, int> lastKey{-1, -1};
    SizedFace* last = nullptr;

    SizedFace* face(int style, int pixelSize)
    {
        auto key = std::make_tuple(style, pixelSize);
        if (key == lastKey)
            return last;
        last = lookupFace(style, pixelSize);
        lastKey = key;
        return last;
    }

    SizedFace* lookupFace(int style, int pixelSize)
    {
        auto key = std::make_tuple(style, pixelSize);
        auto found = faces.find(key);
        if (found != faces.end())
            return found->second.face != nullptr ? &found->second : nullptr;
        SizedFace& sized = faces[key];
        if (library == nullptr)
            return nullptr;
        std::string file = files[style].empty() ? files[0] : files[style];
        if (file.empty() || FT_New_Face(library, file.c_str(), 0, &sized.face) != 0) {
            sized.face = nullptr;
            return nullptr;
        }
        FT_Set_Pixel_Sizes(sized.face, 0, static_cast<FT_UInt>(pixelSize));
        const FT_Size_Metrics& m = sized.face->size->metrics;
        sized.metrics.ascent = static_cast<int>((m.ascender + 63) >> 6);
        sized.metrics.descent = static_cast<int>((-m.descender + 63) >> 6);
        sized.metrics.internalLeading = sized.metrics.ascent + sized.metrics.descent - pixelSize;
        if (sized.metrics.internalLeading < 0)
            sized.metrics.internalLeading = 0;
        sized.metrics.maxWidth = static_cast<int>((m.max_advance + 63) >> 6);
        int underline = -FT_MulFix(sized.face->underline_position, m.y_scale);
        sized.metrics.underlinePosition = std::max(1, static_cast<int>((underline + 32) >> 6));
        int thickness = FT_MulFix(sized.face->underline_thickness, m.y_scale);
        sized.metrics.underlineThickness = std::max(1, static_cast<int>((thickness + 32) >> 6));
        return &sized;
    }
};

FontLibrary& fonts()
{
    static FontLibrary instance;
    return instance;
}

int styleOf(const FontData& font) { return (font.bold ? 1 : 0) + (font.italic ? 2 : 0); }

} // namespace

const Glyph* glyphFor(const FontData& font, char16_t character)
{
    SizedFace* sized = fonts().face(styleOf(font), font.pixelSize);
    if (sized == nullptr)
        return nullptr;
    if (character < directGlyphs && sized->direct[character] != nullptr)
        return sized->direct[character];
    auto found = sized->glyphs.find(character);
    if (found != sized->glyphs.end())
        return &found->second;
    Glyph& glyph = sized->glyphs[character];
    if (character < directGlyphs)
        sized->direct[character] = &glyph;
    // Full hinting snaps stems to whole pixels: at 11-12 pixels that is what keeps text crisp.
    if (FT_Load_Char(sized->face, character, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL) != 0)
        return &glyph;
    FT_GlyphSlot slot = sized->face->glyph;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return &glyph;
    const FT_Bitmap& b = slot->bitmap;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(b.width);
    glyph.height = static_cast<int>(b.rows);
    glyph.coverage.resize(static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.height));
    for (int y = 0; y < glyph.height; ++y)
        for (int x = 0; x < glyph.width; ++x)
            glyph.coverage[static_cast<size_t>(y) * static_cast<size_t>(glyph.width) + static_cast<size_t>(x)] =
                b.buffer[static_cast<ptrdiff_t>(y) * b.pitch + x];
    return &glyph;
}

FontMetrics metricsFor(const FontData& font)
{
    SizedFace* sized = fonts().face(styleOf(font), font.pixelSize);
    if (sized == nullptr) {
        FontMetrics fallback;
        fallback.ascent = font.pixelSize;
        return fallback;
    }
    FontMetrics m = sized->metrics;
    if (m.averageWidth == 0) {
        const Glyph* x = glyphFor(font, u'x');
        m.averageWidth = x != nullptr ? x->advance : font.pixelSize / 2;
        sized->metrics.averageWidth = m.averageWidth;
    }
    return m;
}

} // namespace gdi

using namespace gdi;

HFONT WINAPI CreateFontIndirectW(const LOGFONTW* lplf)
{
    if (lplf == nullptr || emu::plannedFailure(emu::FailingCall::gdiObject))
        return nullptr;
    auto object = std::make_unique<Object>();
    object->kind = ObjectKind::font;
    FontData& f = object->font;
    f.logFont = *lplf;
    f.bold = lplf->lfWeight >= FW_SEMIBOLD;
    f.italic = lplf->lfItalic != 0;
    long height = lplf->lfHeight;
    if (height < 0) {
        f.pixelSize = static_cast<int>(-height);
    } else if (height > 0) {
        // A cell height: the em is the cell less DejaVu's leading (ascent + descent = 1.164 em).
        f.pixelSize = static_cast<int>((height * 1000 + 582) / 1164);
    } else {
        f.pixelSize = 12;
    }
    f.pixelSize = std::clamp(f.pixelSize, 1, 400);
    return static_cast<HFONT>(addObject(std::move(object)));
}

HFONT WINAPI CreateFontW(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                         DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision,
                         DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily, LPCWSTR pszFaceName)
{
    LOGFONTW lf{};
    lf.lfHeight = cHeight;
    lf.lfWidth = cWidth;
    lf.lfEscapement = cEscapement;
    lf.lfOrientation = cOrientation;
    lf.lfWeight = cWeight;
    lf.lfItalic = static_cast<BYTE>(bItalic != 0);
    lf.lfUnderline = static_cast<BYTE>(bUnderline != 0);
    lf.lfStrikeOut = static_cast<BYTE>(bStrikeOut != 0);
    lf.lfCharSet = static_cast<BYTE>(iCharSet);
    lf.lfOutPrecision = static_cast<BYTE>(iOutPrecision);
    lf.lfClipPrecision = static_cast<BYTE>(iClipPrecision);
    lf.lfQuality = static_cast<BYTE>(iQuality);
    lf.lfPitchAndFamily = static_cast<BYTE>(iPitchAndFamily);
    for (int i = 0; pszFaceName != nullptr && i < LF_FACESIZE - 1 && pszFaceName[i] != 0; ++i)
        lf.lfFaceName[i] = pszFaceName[i];
    return CreateFontIndirectW(&lf);
}

HFONT WINAPI CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                         DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision,
                         DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily, LPCSTR pszFaceName)
{
    WCHAR face[LF_FACESIZE] = {};
    if (pszFaceName != nullptr)
        MultiByteToWideChar(1251, 0, pszFaceName, -1, face, LF_FACESIZE - 1);
    return CreateFontW(cHeight, cWidth, cEscapement, cOrientation, cWeight, bItalic, bUnderline, bStrikeOut,
                       iCharSet, iOutPrecision, iClipPrecision, iQuality, iPitchAndFamily, face);
}
