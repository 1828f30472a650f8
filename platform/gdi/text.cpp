// Text output and measuring: runs of glyphs, ExtTextOut, and the metrics of the selected font.
#include "platform/gdi/text_layout.h"

#include "platform/gdi/fonts.h"

#include <algorithm>

namespace gdi {

const FontData* selectedFont(HDC hdc)
{
    Object* dc = lookup(hdc, ObjectKind::dc);
    if (dc == nullptr)
        return nullptr;
    Object* font = lookup(dc->dc.state.font, ObjectKind::font);
    if (font == nullptr)
        font = lookup(GetStockObject(SYSTEM_FONT), ObjectKind::font);
    return font == nullptr ? nullptr : &font->font;
}

int runWidth(const FontData& font, std::u16string_view text)
{
    int width = 0;
    const RunFace face = runFaceOf(font);
    for (char16_t c : text)
        if (const Glyph* g = glyphIn(face, c))
            width += g->advance;
    return width;
}

int lineHeight(const FontData& font)
{
    FontMetrics m = metricsFor(font);
    return m.ascent + m.descent;
}

void drawRun(HDC hdc, int x, int top, std::u16string_view text, const ClipRect* clip, int underlineIndex)
{
    Object* dc = lookup(hdc, ObjectKind::dc);
    const FontData* font = selectedFont(hdc);
    Target target;
    if (dc == nullptr || font == nullptr || !targetOf(dc->dc, target))
        return;
    if (clip != nullptr) {
        ClipRect c{clip->left + target.originX, clip->top + target.originY, clip->right + target.originX,
                   clip->bottom + target.originY};
        std::vector<ClipRect> narrowed;
        for (const ClipRect& r : target.clip) {
            ClipRect n{std::max(r.left, c.left), std::max(r.top, c.top), std::min(r.right, c.right),
                       std::min(r.bottom, c.bottom)};
            if (n.left < n.right && n.top < n.bottom)
                narrowed.push_back(n);
        }
        target.clip = std::move(narrowed);
    }
    FontMetrics m = metricsFor(*font);
    uint32_t colour = toPixel(dc->dc.state.textColour);
    int sx = x + target.originX;
    int baseline = top + m.ascent + target.originY;
    int width = runWidth(*font, text);
    notifyTextDrawn(hdc, target, text, {sx, top + target.originY, sx + width, baseline + m.descent});
    if (dc->dc.state.bkMode == OPAQUE)
        fillSpan(target, {sx, top + target.originY, sx + width, baseline + m.descent}, toPixel(dc->dc.state.bkColour));
    int pen = sx;
    bool underlineAll = font->logFont.lfUnderline != 0;
    const RunFace face = runFaceOf(*font);
    for (size_t i = 0; i < text.size(); ++i) {
        const Glyph* g = glyphIn(face, text[i]);
        if (g == nullptr)
            continue;
        const uint8_t* coverage = g->coverage.data();
        const int glyphWidth = g->width;
        eachInBlock(target, pen + g->left, baseline - g->top, g->width, g->height, [&](uint32_t& p, int gx, int gy) {
            unsigned alpha = coverage[gy * glyphWidth + gx];
            if (alpha != 0)
                p = blend(p, colour, alpha);
        });
        if (underlineAll || static_cast<int>(i) == underlineIndex) {
            int y = std::min(baseline + m.underlinePosition, baseline + m.descent - 1);
            fillSpan(target, {pen, y, pen + g->advance, y + m.underlineThickness}, colour);
        }
        pen += g->advance;
    }
    notifyChanged(target);
}

std::u16string fromAnsi(LPCSTR text, int count)
{
    std::u16string wide;
    if (text == nullptr)
        return wide;
    int length = count < 0 ? static_cast<int>(std::char_traits<char>::length(text)) : count;
    if (length == 0)
        return wide;
    wide.resize(static_cast<size_t>(length));
    int made = MultiByteToWideChar(1251, 0, text, length, wide.data(), length);
    wide.resize(static_cast<size_t>(std::max(made, 0)));
    return wide;
}

} // namespace gdi

using namespace gdi;

BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm)
{
    const FontData* font = selectedFont(hdc);
    if (font == nullptr || lptm == nullptr)
        return FALSE;
    FontMetrics m = metricsFor(*font);
    TEXTMETRICW tm{};
    tm.tmAscent = m.ascent;
    tm.tmDescent = m.descent;
    tm.tmHeight = m.ascent + m.descent;
    tm.tmInternalLeading = m.internalLeading;
    tm.tmExternalLeading = 0;
    tm.tmAveCharWidth = m.averageWidth;
    tm.tmMaxCharWidth = m.maxWidth;
    tm.tmWeight = font->bold ? FW_BOLD : FW_NORMAL;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFFFC;
    tm.tmDefaultChar = u'?';
    tm.tmBreakChar = u' ';
    tm.tmItalic = static_cast<BYTE>(font->italic);
    tm.tmUnderlined = font->logFont.lfUnderline;
    tm.tmCharSet = font->logFont.lfCharSet;
    *lptm = tm;
    return TRUE;
}

BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl)
{
    const FontData* font = selectedFont(hdc);
    if (font == nullptr || psizl == nullptr || c < 0 || (lpString == nullptr && c > 0))
        return FALSE;
    psizl->cx = runWidth(*font, std::u16string_view(lpString, static_cast<size_t>(c)));
    psizl->cy = lineHeight(*font);
    return TRUE;
}

BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl)
{
    if (c < 0)
        return FALSE;
    std::u16string wide = fromAnsi(lpString, c);
    return GetTextExtentPoint32W(hdc, wide.data(), static_cast<int>(wide.size()), psizl);
}

BOOL WINAPI GetTextExtentExPointW(HDC hdc, LPCWSTR lpszString, int cchString, int nMaxExtent, LPINT lpnFit,
                                  LPINT lpnDx, LPSIZE lpSize)
{
    const FontData* font = selectedFont(hdc);
    if (font == nullptr || cchString < 0 || (lpszString == nullptr && cchString > 0))
        return FALSE;
    int width = 0;
    int fit = 0;
    const RunFace face = runFaceOf(*font);
    for (int i = 0; i < cchString; ++i) {
        const Glyph* g = glyphIn(face, lpszString[i]);
        width += g != nullptr ? g->advance : 0;
        if (lpnDx != nullptr)
            lpnDx[i] = width;
        if (width <= nMaxExtent)
            fit = i + 1;
    }
    if (lpnFit != nullptr)
        *lpnFit = fit;
    if (lpSize != nullptr) {
        lpSize->cx = width;
        lpSize->cy = lineHeight(*font);
    }
    return TRUE;
}

BOOL WINAPI ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCWSTR lpString, UINT c,
                        const INT*)
{
    Object* dc = lookup(hdc, ObjectKind::dc);
    const FontData* font = selectedFont(hdc);
    if (dc == nullptr || font == nullptr || (lpString == nullptr && c > 0))
        return FALSE;
    std::u16string_view text(lpString != nullptr ? lpString : u"", c);
    if (lprect != nullptr && (options & ETO_OPAQUE) != 0) {
        HBRUSH brush = CreateSolidBrush(dc->dc.state.bkColour);
        FillRect(hdc, lprect, brush);
        DeleteObject(brush);
    }
    UINT align = dc->dc.state.textAlign;
    int width = runWidth(*font, text);
    if ((align & TA_CENTER) == TA_CENTER)
        x -= width / 2;
    else if ((align & TA_RIGHT) != 0)
        x -= width;
    FontMetrics m = metricsFor(*font);
    if ((align & TA_BASELINE) == TA_BASELINE)
        y -= m.ascent;
    else if ((align & TA_BOTTOM) != 0)
        y -= m.ascent + m.descent;
    ClipRect clip{};
    bool clipped = lprect != nullptr && (options & ETO_CLIPPED) != 0;
    if (clipped)
        clip = {lprect->left, lprect->top, lprect->right, lprect->bottom};
    // Over an opaque rectangle the run's own background is already there.
    int mode = dc->dc.state.bkMode;
    if (lprect != nullptr && (options & ETO_OPAQUE) != 0)
        dc->dc.state.bkMode = TRANSPARENT;
    drawRun(hdc, x, y, text, clipped ? &clip : nullptr, -1);
    if (Object* again = lookup(hdc, ObjectKind::dc))
        again->dc.state.bkMode = mode;
    return TRUE;
}

BOOL WINAPI TextOutW(HDC hdc, int x, int y, LPCWSTR lpString, int c)
{
    if (c < 0)
        return FALSE;
    return ExtTextOutW(hdc, x, y, 0, nullptr, lpString, static_cast<UINT>(c), nullptr);
}

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c)
{
    if (c < 0)
        return FALSE;
    std::u16string wide = fromAnsi(lpString, c);
    return ExtTextOutW(hdc, x, y, 0, nullptr, wide.data(), static_cast<UINT>(wide.size()), nullptr);
}
