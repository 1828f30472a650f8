#include "tools/editiongen/metro_scheme.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

namespace {

std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

// Spreads the unplaced stations between their placed neighbours.
bool placeStations(MetroLine& line, std::string& error) {
    auto& st = line.stations;
    if (st.empty() || st.front().x < 0 || (!line.ring && st.back().x < 0)) {
        error = "line " + line.name + ": its first and last stations need a place";
        return false;
    }
    size_t n = st.size();
    size_t prev = 0;
    for (size_t i = 1; i <= n; ++i) {
        bool closing = i == n;
        if (closing && !line.ring) break;
        const MetroStation& target = closing ? st.front() : st[i];
        if (target.x < 0) continue;
        for (size_t k = prev + 1; k < i; ++k) {
            double t = static_cast<double>(k - prev) / static_cast<double>(i - prev);
            st[k].x = st[prev].x + (target.x - st[prev].x) * t;
            st[k].y = st[prev].y + (target.y - st[prev].y) * t;
        }
        prev = i;
    }
    return true;
}

// Where a station's name goes: beside the station, on the first side where it covers no name
// already placed and stays inside the picture; to the right when no side is free.
struct LabelBox {
    int x, baseline, width, size;
    bool overlaps(const LabelBox& o) const {
        return x < o.x + o.width && o.x < x + width && baseline - size < o.baseline + 3 && o.baseline - o.size < baseline + 3;
    }
};

LabelBox placeLabel(int x, int y, int w, int size, int width, int height, const std::vector<LabelBox>& placed) {
    const LabelBox candidates[] = {
        {x + 10, y + 4, w, size},  {x - 10 - w, y + 4, w, size},  {x + 8, y - 7, w, size},
        {x - 8 - w, y - 7, w, size}, {x + 8, y + 16, w, size},  {x - 8 - w, y + 16, w, size},
    };
    const LabelBox* fallback = nullptr;
    for (const LabelBox& c : candidates) {
        if (c.x < 2 || c.x + w > width - 2 || c.baseline - size < 2 || c.baseline + 3 > height - 2) continue;
        if (!fallback) fallback = &c;
        bool free = true;
        for (const LabelBox& p : placed) free = free && !c.overlaps(p);
        if (free) return c;
    }
    return fallback ? *fallback : candidates[0];
}

} // namespace

bool parseMetroScheme(const std::string& text, std::vector<MetroLine>& lines, std::string& error) {
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        std::string s = trim(raw);
        if (s.empty() || s[0] == '#') continue;
        if (s.rfind("line ", 0) == 0) {
            MetroLine line;
            size_t hash = s.find('#');
            unsigned r = 0, g = 0, b = 0;
            if (hash == std::string::npos || std::sscanf(s.c_str() + hash + 1, "%2x%2x%2x", &r, &g, &b) != 3) {
                error = "line " + std::to_string(number) + ": expected 'line NAME #RRGGBB'";
                return false;
            }
            line.name = trim(s.substr(5, hash - 5));
            line.colour = {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)};
            line.ring = s.find(" ring", hash) != std::string::npos;
            lines.push_back(line);
            continue;
        }
        if (lines.empty()) {
            error = "line " + std::to_string(number) + ": a station before any line";
            return false;
        }
        MetroStation station;
        size_t at = s.find('@');
        station.name = trim(s.substr(0, at));
        if (at != std::string::npos && std::sscanf(s.c_str() + at + 1, "%lf,%lf", &station.x, &station.y) != 2) {
            error = "line " + std::to_string(number) + ": expected '@ X,Y'";
            return false;
        }
        lines.back().stations.push_back(station);
    }
    for (MetroLine& line : lines)
        if (!placeStations(line, error)) return false;
    return !lines.empty();
}

bool drawMetroScheme(const std::vector<MetroLine>& lines, const std::string& title, int width, int height,
                     Canvas& out, std::string& error) {
    TextFont* font = openFont(false, error);
    TextFont* bold = font ? openFont(true, error) : nullptr;
    if (!bold) {
        closeFont(font);
        return false;
    }
    out = makeCanvas(width, height, {255, 255, 255});
    // The title and the legend have a band of their own above the scheme, so that no station ends
    // up hidden under them.
    const int legendRow = 18;
    const int legendTop = 56;
    const double margin = 60;
    const double top = legendTop + legendRow * static_cast<double>(lines.size()) + 24;
    auto px = [&](double x) { return margin + x * (width - 2 * margin) / 100.0; };
    auto py = [&](double y) { return top + y * (height - top - margin) / 100.0; };

    for (const MetroLine& line : lines) {
        const auto& st = line.stations;
        for (size_t i = 0; i + 1 < st.size(); ++i)
            thickLine(out, px(st[i].x), py(st[i].y), px(st[i + 1].x), py(st[i + 1].y), 7, line.colour);
        if (line.ring && st.size() > 1)
            thickLine(out, px(st.back().x), py(st.back().y), px(st.front().x), py(st.front().y), 7, line.colour);
    }
    // Transfers: stations of several lines at one point get one dark-ringed mark and one label.
    std::map<std::pair<long, long>, int> seen;
    // Names keep clear of every station mark as well as of each other.
    std::vector<LabelBox> placed;
    const int labelSize = 11;
    for (const MetroLine& line : lines)
        for (const MetroStation& s : line.stations)
            placed.push_back({static_cast<int>(px(s.x)) - 7, static_cast<int>(py(s.y)) + 4, 14, labelSize});
    for (const MetroLine& line : lines)
        for (const MetroStation& s : line.stations) {
            auto key = std::make_pair(std::lround(s.x * 10), std::lround(s.y * 10));
            bool transfer = seen[key]++ > 0;
            double x = px(s.x), y = py(s.y);
            fillCircle(out, x, y, 6.5, transfer ? Rgb{40, 40, 40} : line.colour);
            fillCircle(out, x, y, 3.5, {255, 255, 255});
            if (transfer) continue;
            int w = textWidth(font, s.name, labelSize);
            LabelBox box = placeLabel(static_cast<int>(x), static_cast<int>(y), w, labelSize, width, height, placed);
            placed.push_back(box);
            drawText(out, font, s.name, box.x, box.baseline, labelSize, {30, 30, 30});
        }
    drawText(out, bold, title, 16, 30, 20, {0, 0, 0});
    int y = legendTop;
    for (const MetroLine& line : lines) {
        thickLine(out, 20, y - 4, 44, y - 4, 7, line.colour);
        drawText(out, font, line.name, 52, y, 12, {0, 0, 0});
        y += legendRow;
    }
    closeFont(font);
    closeFont(bold);
    return true;
}
