// DrawText: prefixes, line breaks, word wrapping, ellipsis, alignment and measuring. Measuring
// and drawing run the same layout, so DT_CALCRECT reports exactly what is then drawn.
#include "platform/gdi/text_layout.h"

#include <algorithm>

namespace gdi {

namespace {

struct Line {
    std::u16string text;
    int underline = -1; // index within text of the prefixed character
};

// Removes '&' prefixes: "&x" underlines x, "&&" is one '&'. Returns the index of the
// underlined character (the last prefix wins), or -1.
std::u16string stripPrefixes(std::u16string_view text, std::vector<int>& underlined)
{
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != u'&')
                underlined.push_back(static_cast<int>(out.size()));
        } else if (text[i] == u'&') {
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

// Cuts a line to fit width, ending it with "...".
void addEllipsis(const FontData& font, Line& line, int width)
{
    if (runWidth(font, line.text) <= width)
        return;
    const std::u16string dots = u"...";
    while (!line.text.empty() && runWidth(font, line.text) + runWidth(font, dots) > width)
        line.text.pop_back();
    if (line.underline >= static_cast<int>(line.text.size()))
        line.underline = -1;
    line.text += dots;
}

std::vector<Line> layoutLines(const FontData& font, std::u16string_view source, UINT format, int width)
{
    std::vector<int> underlined;
    std::u16string text = (format & DT_NOPREFIX) != 0 ? std::u16string(source) : stripPrefixes(source, underlined);
    int underline = underlined.empty() ? -1 : underlined.back();

    // Paragraphs with their start offsets in text.
    std::vector<std::pair<size_t, std::u16string>> paragraphs;
    if ((format & DT_SINGLELINE) != 0) {
        std::u16string joined;
        for (char16_t c : text)
            if (c != u'\r' && c != u'\n')
                joined.push_back(c);
        paragraphs.emplace_back(0, joined);
        underline = -1;
        // Re-find the prefix character in the joined text.
        if (!underlined.empty()) {
            int shift = 0;
            for (int i = 0; i < underlined.back(); ++i)
                if (text[static_cast<size_t>(i)] == u'\r' || text[static_cast<size_t>(i)] == u'\n')
                    ++shift;
            underline = underlined.back() - shift;
        }
    } else {
        size_t start = 0;
        for (size_t i = 0; i <= text.size(); ++i) {
            if (i == text.size() || text[i] == u'\n' || text[i] == u'\r') {
                paragraphs.emplace_back(start, text.substr(start, i - start));
                if (i < text.size() && text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                    ++i;
                start = i + 1;
            }
        }
    }

    std::vector<Line> lines;
    auto emit = [&](size_t offset, std::u16string piece) {
        Line line;
        line.text = std::move(piece);
        if (underline >= 0 && static_cast<size_t>(underline) >= offset &&
            static_cast<size_t>(underline) < offset + line.text.size())
            line.underline = underline - static_cast<int>(offset);
        lines.push_back(std::move(line));
    };
    bool wrap = (format & DT_WORDBREAK) != 0 && (format & DT_SINGLELINE) == 0;
    for (auto& [offset, paragraph] : paragraphs) {
        if (!wrap) {
            emit(offset, paragraph);
            continue;
        }
        size_t lineStart = 0;
        while (true) {
            // Take words while they fit; a word wider than the whole line stands alone.
            size_t end = lineStart;
            size_t lastFit = lineStart;
            while (end < paragraph.size()) {
                size_t wordEnd = end;
                while (wordEnd < paragraph.size() && paragraph[wordEnd] == u' ')
                    ++wordEnd;
                while (wordEnd < paragraph.size() && paragraph[wordEnd] != u' ')
                    ++wordEnd;
                std::u16string_view candidate(paragraph.data() + lineStart, wordEnd - lineStart);
                if (runWidth(font, candidate) > width && lastFit > lineStart)
                    break;
                lastFit = wordEnd;
                end = wordEnd;
                if (runWidth(font, candidate) > width)
                    break;
            }
            size_t pieceEnd = lastFit;
            emit(offset + lineStart, paragraph.substr(lineStart, pieceEnd - lineStart));
            size_t next = pieceEnd;
            while (next < paragraph.size() && paragraph[next] == u' ')
                ++next;
            if (next >= paragraph.size())
                break;
            lineStart = next;
        }
    }
    if ((format & DT_END_ELLIPSIS) != 0)
        for (Line& line : lines)
            addEllipsis(font, line, width);
    return lines;
}

} // namespace

} // namespace gdi

using namespace gdi;

int WINAPI DrawTextW(HDC hdc, LPCWSTR lpchText, int cchText, LPRECT lprc, UINT format)
{
    const FontData* font = selectedFont(hdc);
    if (font == nullptr || lprc == nullptr || lpchText == nullptr)
        return 0;
    size_t length = cchText < 0 ? std::char_traits<char16_t>::length(lpchText) : static_cast<size_t>(cchText);
    RECT& r = *lprc;
    int width = r.right - r.left;
    std::vector<Line> lines = layoutLines(*font, std::u16string_view(lpchText, length), format, width);
    int height = lineHeight(*font);
    int total = height * static_cast<int>(lines.size());

    if ((format & DT_CALCRECT) != 0) {
        int widest = 0;
        for (const Line& line : lines)
            widest = std::max(widest, runWidth(*font, line.text));
        // Narrowed to the widest line, and widened to a word that does not fit any line.
        r.right = r.left + widest;
        r.bottom = r.top + total;
        return total;
    }

    int y = r.top;
    bool placed = false;
    if ((format & DT_SINGLELINE) != 0) {
        // Half the box less half the line, each halved on its own, as the reference centres.
        if ((format & DT_VCENTER) != 0)
            y = r.top + (r.bottom - r.top) / 2 - total / 2;
        else if ((format & DT_BOTTOM) != 0)
            y = r.bottom - total;
        placed = (format & (DT_VCENTER | DT_BOTTOM)) != 0;
    }
    // A line placed down the box answers where its bottom is, from the box's top.
    const int answer = placed ? y - r.top + total : total;
    ClipRect clip{r.left, r.top, r.right, r.bottom};
    const ClipRect* clipping = (format & DT_NOCLIP) != 0 ? nullptr : &clip;
    for (const Line& line : lines) {
        int lineWidth = runWidth(*font, line.text);
        int x = r.left;
        if ((format & DT_CENTER) != 0)
            x = r.left + (width - lineWidth) / 2;
        else if ((format & DT_RIGHT) != 0)
            x = r.right - lineWidth;
        drawRun(hdc, x, y, line.text, clipping, line.underline);
        y += height;
    }
    return answer;
}

int WINAPI DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format)
{
    if (lpchText == nullptr)
        return 0;
    std::u16string wide = fromAnsi(lpchText, cchText);
    return DrawTextW(hdc, wide.data(), static_cast<int>(wide.size()), lprc, format);
}
