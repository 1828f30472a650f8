// Windows bitmap files of a canvas: 24 bits per pixel, or 8 bits with a colour table.
#pragma once

#include <string>
#include <vector>

#include "tools/editiongen/canvas.h"

std::string encodeBmp24(const Canvas& canvas);
// Maps every pixel to the nearest entry of `palette` (at most 256 colours).
std::string encodeBmp8(const Canvas& canvas, const std::vector<Rgb>& palette);
// A palette holding `exact` first, then a grey ramp and a colour cube to fill it up to 256 entries.
std::vector<Rgb> makePalette(const std::vector<Rgb>& exact);
