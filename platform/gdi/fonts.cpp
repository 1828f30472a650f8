#include "platform/gdi/fonts.h"

#include "platform/gdi/faces.h"
#include "platform/gdi/gdi_state.h"
#include "emulator.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_ADVANCES_H

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace gdi {

namespace {

// A font asked with height 0 gets the machine's default size: an em of 12 pixels on the handheld,
// a cell of 16 with an average width of 7 (the desktop's system font) on the desktop.
constexpr int handheldDefaultEm = 12;
constexpr long desktopDefaultCell = 16;
constexpr long desktopDefaultAverage = 7;

// A face's vertical design: the cell is the OS/2 table's Windows ascent and descent, which is what
// the reference's tmAscent and tmDescent are scaled from.
struct Design {
    int unitsPerEm = 0;
    int winAscent = 0;
    int winDescent = 0;
    int averageWidth = 0; // OS/2 xAvgCharWidth, font units
    int letterWidth = 0;  // the mean advance of A-Z and a-z, font units: what an asked width scales to
    bool known = false;
};

int scaled(int units, int pixelSize, int unitsPerEm)
{
    if (unitsPerEm <= 0)
        return 0;
    const long long product = static_cast<long long>(units) * pixelSize;
    return static_cast<int>((product + unitsPerEm / 2) / unitsPerEm);
}

Design designOf(FT_Face face)
{
    Design d;
    d.unitsPerEm = face->units_per_EM;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        d.winAscent = os2->usWinAscent;
        d.winDescent = os2->usWinDescent;
        d.averageWidth = os2->xAvgCharWidth;
    } else {
        d.winAscent = face->ascender;
        d.winDescent = -face->descender;
    }
    d.known = d.unitsPerEm > 0 && d.winAscent + d.winDescent > 0;
    long total = 0;
    int letters = 0;
    for (const char first : {'A', 'a'})
        for (char letter = first; letter < first + 26; ++letter) {
            FT_Fixed advance = 0;
            const FT_UInt glyph = FT_Get_Char_Index(face, static_cast<FT_ULong>(letter));
            if (glyph != 0 && FT_Get_Advance(face, glyph, FT_LOAD_NO_SCALE, &advance) == 0) {
                total += advance;
                ++letters;
            }
        }
    d.letterWidth = letters > 0 ? static_cast<int>((total + letters / 2) / letters) : d.averageWidth;
    return d;
}

struct SizedFace {
    FT_Face face = nullptr;
    FontMetrics metrics;
    bool stretched = false;
    std::map<char16_t, Glyph> glyphs; // nodes stay put, so the pointers below stay valid
    std::vector<const Glyph*> direct = std::vector<const Glyph*>(directGlyphs, nullptr);
    size_t glyphBytes = 0;    // this face's share of FontLibrary::glyphBytes
    uint64_t lastUse = 0;     // FontLibrary::uses when it was last looked up
};

// A sized face: the family, the style, the em height in pixels and the em width in 64ths of a
// pixel (0: as wide as high).
using FaceKey = std::tuple<int, int, int, int>;

struct FontLibrary {
    FT_Library library = nullptr;
    std::map<FaceKey, SizedFace> faces;
    std::map<std::string, Design> designs;
    size_t glyphBytes = 0; // bitmaps and bookkeeping of the glyphs all faces keep

    // Empties every face's glyphs; they are rendered again as they are asked for. The faces and
    // their direct tables stay, so a run face looked up before stays usable.
    void dropGlyphs()
    {
        for (auto& entry : faces) {
            entry.second.glyphs.clear();
            std::fill(entry.second.direct.begin(), entry.second.direct.end(), nullptr);
            entry.second.glyphBytes = 0;
        }
        glyphBytes = 0;
    }

    // Closes the face looked up longest ago, with its glyphs. Only a new face's lookup does this,
    // and no caller keeps a face across the lookup of another.
    void dropOldestFace()
    {
        auto oldest = faces.begin();
        for (auto entry = faces.begin(); entry != faces.end(); ++entry)
            if (entry->second.lastUse < oldest->second.lastUse)
                oldest = entry;
        if (oldest == faces.end())
            return;
        if (&oldest->second == last) {
            lastKey = FaceKey{-1, -1, -1, -1};
            last = nullptr;
        }
        if (oldest->second.face != nullptr)
            FT_Done_Face(oldest->second.face);
        glyphBytes -= oldest->second.glyphBytes;
        faces.erase(oldest);
    }
    uint64_t uses = 0;

    FontLibrary()
    {
        if (FT_Init_FreeType(&library) != 0)
            library = nullptr;
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

    const Design& design(const std::string& path)
    {
        auto found = designs.find(path);
        if (found != designs.end())
            return found->second;
        Design& d = designs[path];
        FT_Face face = nullptr;
        if (library != nullptr && !path.empty() && FT_New_Face(library, path.c_str(), 0, &face) == 0) {
            d = designOf(face);
            FT_Done_Face(face);
        }
        return d;
    }

    // The face last asked for: text asks for the same one glyph after glyph.
    FaceKey lastKey{-1, -1, -1, -1};
    SizedFace* last = nullptr;

    SizedFace* face(const FaceKey& key)
    {
        if (key == lastKey)
            return last;
        last = lookupFace(key);
        lastKey = key;
        return last;
    }

    SizedFace* lookupFace(const FaceKey& key)
    {
        auto found = faces.find(key);
        if (found != faces.end()) {
            found->second.lastUse = ++uses;
            return found->second.face != nullptr ? &found->second : nullptr;
        }
        if (faces.size() >= maxOpenFaces)
            dropOldestFace();
        SizedFace& sized = faces[key];
        sized.lastUse = ++uses;
        if (library == nullptr)
            return nullptr;
        const auto [family, style, pixelSize, emWidth64] = key;
        const FaceFile file = faceFile(static_cast<Family>(family), style);
        if (file.path.empty() || FT_New_Face(library, file.path.c_str(), 0, &sized.face) != 0) {
            sized.face = nullptr;
            return nullptr;
        }
        // At 72 dots per inch a point is a pixel: the sizes are the em's in 64ths of a pixel.
        FT_Set_Char_Size(sized.face, emWidth64, static_cast<FT_F26Dot6>(pixelSize) * 64, 72, 72);
        sized.stretched = emWidth64 != 0;
        if (file.slanted) {
            // The slant the reference gives a face without an italic of its own: about 12 degrees.
            FT_Matrix shear{0x10000, 0x3800, 0, 0x10000};
            FT_Set_Transform(sized.face, &shear, nullptr);
        }
        const Design d = designOf(sized.face);
        const FT_Size_Metrics& m = sized.face->size->metrics;
        FontMetrics& metrics = sized.metrics;
        metrics.ascent = scaled(d.winAscent, pixelSize, d.unitsPerEm);
        metrics.descent = scaled(d.winDescent, pixelSize, d.unitsPerEm);
        metrics.internalLeading = std::max(0, metrics.ascent + metrics.descent - pixelSize);
        metrics.averageWidth = emWidth64 == 0 ? scaled(d.averageWidth, pixelSize, d.unitsPerEm)
                                              : scaled(d.letterWidth, emWidth64, d.unitsPerEm * 64);
        metrics.maxWidth = static_cast<int>((m.max_advance + 63) >> 6);
        int underline = -FT_MulFix(sized.face->underline_position, m.y_scale);
        metrics.underlinePosition = std::max(1, static_cast<int>((underline + 32) >> 6));
        int thickness = FT_MulFix(sized.face->underline_thickness, m.y_scale);
        metrics.underlineThickness = std::max(1, static_cast<int>((thickness + 32) >> 6));
        return &sized;
    }
};

FontLibrary& fonts()
{
    static FontLibrary instance;
    return instance;
}

// The em height for a requested height: a negative one is the em itself; a positive one is the
// cell (ascent and descent), the largest em whose cell fits it.
int pixelSizeFor(long height, const Design& design)
{
    if (height == 0 && deviceLook() == DeviceLook::handheld)
        return handheldDefaultEm;
    if (height == 0)
        height = desktopDefaultCell;
    if (height < 0)
        return static_cast<int>(std::min(-height, 400L));
    height = std::min(height, 400L);
    if (!design.known)
        return static_cast<int>(height * 1000 / 1164);
    const int cell = design.winAscent + design.winDescent;
    int em = static_cast<int>((height * design.unitsPerEm + cell / 2) / cell);
    while (em > 1 && scaled(design.winAscent, em, design.unitsPerEm) + scaled(design.winDescent, em, design.unitsPerEm) >
                         height)
        --em;
    return em;
}

// The em width for a requested average character width: the face stretched or squeezed so that
// the mean width of its Latin letters is the one asked for (what the reference scales to, rather
// than the OS/2 average); 0 (as wide as high) when none is asked or the face has no letters.
int emWidthFor(long averageWidth, const Design& design)
{
    if (averageWidth <= 0 || design.letterWidth <= 0 || !design.known)
        return 0;
    const long long width = std::min(averageWidth, 400L) * 64LL * design.unitsPerEm;
    return static_cast<int>(std::max(1LL, (width + design.letterWidth / 2) / design.letterWidth));
}

// Works out (again, after the device look changed) which face and size the font is.
void resolve(const FontData& font)
{
    const int look = static_cast<int>(deviceLook());
    if (font.resolvedLook == look)
        return;
    const std::u16string_view name(reinterpret_cast<const char16_t*>(font.logFont.lfFaceName),
                                   std::char_traits<char16_t>::length(
                                       reinterpret_cast<const char16_t*>(font.logFont.lfFaceName)));
    const Family family = familyFor(name, deviceLook());
    const FaceFile file = faceFile(family, styleIndex(font.bold, font.italic));
    font.family = static_cast<int>(family);
    const Design& design = fonts().design(file.path);
    font.pixelSize = std::clamp(pixelSizeFor(font.logFont.lfHeight, design), 1, 400);
    font.emWidth64 = 0;
    if (font.logFont.lfWidth != 0)
        font.emWidth64 = emWidthFor(std::abs(static_cast<long>(font.logFont.lfWidth)), design);
    else if (font.logFont.lfHeight == 0 && deviceLook() == DeviceLook::desktop)
        font.emWidth64 = emWidthFor(desktopDefaultAverage, design);
    font.resolvedLook = look;
}

SizedFace* sizedFaceOf(const FontData& font)
{
    resolve(font);
    return fonts().face(FaceKey{font.family, styleIndex(font.bold, font.italic), font.pixelSize, font.emWidth64});
}

} // namespace

RunFace runFaceOf(const FontData& font)
{
    SizedFace* sized = sizedFaceOf(font);
    return {sized, sized != nullptr ? sized->direct.data() : nullptr};
}

const Glyph* glyphFor(const FontData& font, char16_t character) { return glyphIn(runFaceOf(font), character); }

const Glyph* glyphLoaded(RunFace face, char16_t character)
{
    auto* sized = static_cast<SizedFace*>(face.sized);
    if (sized == nullptr)
        return nullptr;
    if (character < directGlyphs && sized->direct[character] != nullptr)
        return sized->direct[character];
    auto found = sized->glyphs.find(character);
    if (found != sized->glyphs.end())
        return &found->second;
    FontLibrary& library = fonts();
    if (library.glyphBytes > glyphCacheBudget)
        library.dropGlyphs();
    Glyph& glyph = sized->glyphs[character];
    library.glyphBytes += glyphBookkeeping;
    sized->glyphBytes += glyphBookkeeping;
    if (character < directGlyphs)
        sized->direct[character] = &glyph;
    // Outlines, never the face's embedded bitmaps: the reference scales the outlines, hinted,
    // and its advances are what the programs' layouts were made for.
    if (FT_Load_Char(sized->face, character, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL) != 0)
        return &glyph;
    FT_GlyphSlot slot = sized->face->glyph;
    // Hinting a stretched face widens its advances; the reference's are the outline's own there.
    glyph.advance = static_cast<int>(((sized->stretched ? slot->linearHoriAdvance >> 10 : slot->advance.x) + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return &glyph;
    const FT_Bitmap& b = slot->bitmap;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(b.width);
    glyph.height = static_cast<int>(b.rows);
    glyph.coverage.resize(static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.height));
    library.glyphBytes += glyph.coverage.size();
    sized->glyphBytes += glyph.coverage.size();
    for (int y = 0; y < glyph.height; ++y)
        for (int x = 0; x < glyph.width; ++x)
            glyph.coverage[static_cast<size_t>(y) * static_cast<size_t>(glyph.width) + static_cast<size_t>(x)] =
                b.buffer[static_cast<ptrdiff_t>(y) * b.pitch + x];
    return &glyph;
}

size_t glyphCacheBytes() { return fonts().glyphBytes; }

size_t openFaceCount() { return fonts().faces.size(); }

FontMetrics metricsFor(const FontData& font)
{
    SizedFace* sized = sizedFaceOf(font);
    if (sized == nullptr) {
        FontMetrics fallback;
        fallback.ascent = font.pixelSize;
        fallback.averageWidth = font.pixelSize / 2;
        return fallback;
    }
    FontMetrics m = sized->metrics;
    if (m.averageWidth == 0) {
        // A face without an OS/2 average: the width of an "x", as a stand-in.
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
