// cut_lines WIDTH [--dejavu] < LINES: how many of the UTF-8 lines on standard input are wider
// than WIDTH pixels in a list box's font (the screens' dialog font, Tahoma 8 points), measured
// with GetTextExtentPoint32. --dejavu measures them as a machine without Tahoma draws them.
// For comparing faces over a whole edition's lists (ydb query prints them).
#include "platform/gdi/faces.h"
#include "platform/kernel/text.h"
#include "win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

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
        const std::u16string text = kernel::utf8ToUtf16(line);
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
