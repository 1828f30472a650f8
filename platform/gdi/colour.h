// Colour helpers the programs share with drawing.
#pragma once

#include "win32.h"

namespace gdi {

// The flat colour used where a two-colour gradient is not drawn: each channel the average of
// the two, rounded down.
inline COLORREF averageColour(COLORREF first, COLORREF second)
{
    return RGB((GetRValue(first) + GetRValue(second)) / 2, (GetGValue(first) + GetGValue(second)) / 2,
               (GetBValue(first) + GetBValue(second)) / 2);
}

// A DIB from a header with its colour table (and masks) in the first infoSize bytes; bits
// receives the pixel memory. Null when the header is unusable or the size would overflow.
HBITMAP makeDib(const BITMAPINFO* info, size_t infoSize, void** bits);

} // namespace gdi
