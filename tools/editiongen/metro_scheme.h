// The metro scheme picture, drawn from a scheme description in the data folder:
//
//   line NAME #RRGGBB [ring]
//   STATION NAME [@ X,Y]
//
// X and Y place a station in percent of the picture; stations without a place are spread evenly
// between the placed ones before and after them. A line's first and last stations need a place
// (a ring closes back onto its first station). Stations of different lines placed at the same point
// form a transfer and are labelled once.
#pragma once

#include <string>
#include <vector>

#include "tools/editiongen/canvas.h"

struct MetroStation {
    std::string name;
    double x = -1, y = -1;   // percent; -1 until placed
};

struct MetroLine {
    std::string name;
    Rgb colour;
    bool ring = false;
    std::vector<MetroStation> stations;
};

// Parses a scheme description; false with `error` ("line N: ...") on a malformed one.
bool parseMetroScheme(const std::string& text, std::vector<MetroLine>& lines, std::string& error);

// Draws the scheme with a title; the picture is `width` x `height` pixels.
bool drawMetroScheme(const std::vector<MetroLine>& lines, const std::string& title, int width, int height,
                     Canvas& out, std::string& error);
