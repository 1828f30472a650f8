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

#include <functional>
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

// Where everything of a scheme goes, in picture pixels: what the drawing and its tests share.
struct SchemeBox {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    bool meets(const SchemeBox& o) const { return left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
};
constexpr double lineThickness = 7;
constexpr double leaderThickness = 1;
struct SchemeSegment {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    Rgb colour;
    double thickness = lineThickness;  // a metro line, or a thin leader from a station to its far name
};
struct SchemeMark {
    double x = 0, y = 0;
    Rgb colour;
    bool transfer = false;
};
struct SchemeLabel {
    std::string name;
    int x = 0, baseline = 0;  // where the text is drawn
    SchemeBox box;            // the text's cell, a little margin included
};
struct SchemeLayout {
    std::vector<SchemeSegment> segments;  // drawn with round ends
    std::vector<SchemeMark> marks;        // `markRadius` round
    std::vector<SchemeLabel> labels;
    int unplaced = 0;                     // labels that found no free place and cover something
};
constexpr double markRadius = 6.5;
constexpr int labelSize = 11;

// True when a label's box touches a drawn line or station mark.
bool boxMeetsSegment(const SchemeBox& box, const SchemeSegment& segment);
bool boxMeetsMark(const SchemeBox& box, const SchemeMark& mark);

// Lays the scheme out in a `width` x `height` picture; `measure` gives a name's width in pixels
// at `labelSize`. Each name goes to the first place around its station that is inside the
// picture and clear of every line, mark and name placed before it; where the crowd leaves no such
// place near it, a free place further out with a thin leader line to the station.
void layOutMetroScheme(const std::vector<MetroLine>& lines, int width, int height,
                       const std::function<int(const std::string&)>& measure, SchemeLayout& layout);
