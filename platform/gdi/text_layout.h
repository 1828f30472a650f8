// What text output and DrawText's layout share.
#pragma once

#include "platform/gdi/gdi_state.h"

#include <string>
#include <string_view>

namespace gdi {

const FontData* selectedFont(HDC hdc);
int runWidth(const FontData& font, std::u16string_view text);
int lineHeight(const FontData& font);
// Draws text with its cell's top at (x, top) in the context's coordinates, in the context's text
// colour and background mode, optionally clipped to a rectangle and with one character
// underlined (the prefix character; -1 for none).
void drawRun(HDC hdc, int x, int top, std::u16string_view text, const ClipRect* clip, int underlineIndex);
std::u16string fromAnsi(LPCSTR text, int count);

} // namespace gdi
