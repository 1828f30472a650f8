// cut_lines WIDTH [--dejavu] < LINES: how many of the UTF-8 lines on standard input are wider
// than WIDTH pixels in a list box's font (the screens' dialog font, Tahoma 8 points), measured
// with GetTextExtentPoint32. --dejavu measures them as a machine without Tahoma draws them.
// For comparing faces over a whole edition's lists (ydb query prints them).
#include "platform/gdi/faces.h"
#include "win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace {

std::u16string wide(const std::string& utf8)
{
    std::u16string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        char32_t code = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra && i + static_cast<size_t>(k) < utf8.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]) & 0x3F);
        i += static_cast<size_t>(extra) + 1;
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (code >> 10));
            out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::atoi(argv[1]) <= 0) {
        std::fprintf(stderr, "usage: cut_lines WIDTH [--dejavu] < LINES\n");
        return 2;
    }
    const int width = std::atoi(argv[1]);
    if (argc > 2 && std::strcmp(argv[2], "--dejavu") == 0)
        gdi::useFallbackFaceOnly();
    HDC dc = CreateCompatibleDC(nullptr);
    // 8 points at 96 dots per inch, as the dialog template asks.
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, 0, 0, 0, 0, u"Tahoma");
    HGDIOBJ old = SelectObject(dc, font);
    long lines = 0, cut = 0;
    std::string line;
    while (std::getline(std::cin, line)) {
        const std::u16string text = wide(line);
        SIZE size{};
        GetTextExtentPoint32W(dc, reinterpret_cast<const WCHAR*>(text.c_str()), static_cast<int>(text.size()), &size);
        ++lines;
        cut += size.cx > width ? 1 : 0;
    }
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    std::printf("%ld of %ld lines wider than %d pixels\n", cut, lines, width);
    return 0;
}
