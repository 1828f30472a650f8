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

// The station marks' and lines' places, shared by the layout and the drawing.
struct SchemeFrame {
    int width, height;
    double top;
    static constexpr double margin = 60;
    static constexpr int legendRow = 18;
    static constexpr int legendTop = 56;
    SchemeFrame(int w, int h, size_t lineCount)
        : width(w), height(h), top(legendTop + legendRow * static_cast<double>(lineCount) + 24) {}
    double px(double x) const { return margin + x * (width - 2 * margin) / 100.0; }
    double py(double y) const { return top + y * (height - top - margin) / 100.0; }
};

// A name's box when its text starts at x on `baseline`: the cell of the face, a pixel round it.
SchemeBox labelBox(int x, int baseline, int textWidth)
{
    return {x - 1, baseline - labelSize - 1, x + textWidth + 1, baseline + labelSize / 4 + 2};
}

// The places tried around a station, nearest first: in sixteen directions, the box's side that
// faces the station at a growing distance from it (to the right and left first at each distance).
std::vector<std::pair<int, int>> candidatePlaces(double x, double y, int textWidth, int nearest, int furthest)
{
    std::vector<std::pair<int, int>> places;
    const int boxHeight = labelSize + labelSize / 4 + 3;
    constexpr int directions = 16;
    for (int d = nearest; d <= furthest; d += 5)
        for (int k = 0; k < directions; ++k) {
            // 0, 8, 4, 12, ...: right, left, below, above, then the ones between.
            static constexpr int turn[directions] = {0, 8, 4, 12, 2, 6, 10, 14, 1, 7, 9, 15, 3, 5, 11, 13};
            const double angle = turn[k] * 2 * M_PI / directions;
            const double c = std::cos(angle), s = std::sin(angle);
            const double anchorX = x + d * c, anchorY = y + d * s;
            const int left = static_cast<int>(std::lround(anchorX - textWidth * (1 - c) / 2));
            const int top = static_cast<int>(std::lround(anchorY - boxHeight * (1 - s) / 2));
            places.push_back({left + 1, top + labelSize + 1});
        }
    return places;
}

// A leader from the station's mark to a little short of its name's box, or none when the name is
// beside the mark.
bool leaderTo(const SchemeMark& mark, const SchemeBox& box, SchemeSegment& leader)
{
    const double nearX = std::clamp(mark.x, static_cast<double>(box.left), static_cast<double>(box.right));
    const double nearY = std::clamp(mark.y, static_cast<double>(box.top), static_cast<double>(box.bottom));
    const double length = std::hypot(nearX - mark.x, nearY - mark.y);
    if (length < markRadius + 12)
        return false;
    const double from = markRadius + 1, to = length - 2;
    const double ux = (nearX - mark.x) / length, uy = (nearY - mark.y) / length;
    leader = {mark.x + ux * from, mark.y + uy * from, mark.x + ux * to, mark.y + uy * to, {120, 120, 120},
              leaderThickness};
    return true;
}

// A leader is clear when it crosses no name and no other station.
bool leaderClear(const SchemeSegment& leader, const SchemeMark& own, const SchemeLayout& layout)
{
    for (const SchemeLabel& l : layout.labels)
        if (boxMeetsSegment(l.box, leader))
            return false;
    for (const SchemeMark& m : layout.marks) {
        if (&m == &own)
            continue;
        const SchemeBox around{static_cast<int>(m.x - markRadius), static_cast<int>(m.y - markRadius),
                               static_cast<int>(m.x + markRadius) + 1, static_cast<int>(m.y + markRadius) + 1};
        if (boxMeetsSegment(around, leader))
            return false;
    }
    return true;
}

// How much a box covers of what is already on the picture: 0 when it is free.
int coverage(const SchemeBox& box, const SchemeLayout& layout)
{
    // A name over another name or a station is unreadable; one crossed by a line can still be read.
    int covered = 0;
    for (const SchemeSegment& s : layout.segments)
        covered += boxMeetsSegment(box, s) ? 1 : 0;
    for (const SchemeMark& m : layout.marks)
        covered += boxMeetsMark(box, m) ? 100 : 0;
    for (const SchemeLabel& l : layout.labels)
        covered += box.meets(l.box) ? 100 : 0;
    return covered;
}

// Puts a name beside its station where it is inside `picture` and clear of everything, else
// further out with a leader; where neither is free, on the place that covers least (false).
bool placeName(const std::string& name, const SchemeMark& mark, int textWidth, const SchemeBox& picture,
               SchemeLayout& layout)
{
    const auto inside = [&picture](const SchemeBox& box) {
        return box.left >= picture.left && box.right <= picture.right && box.top >= picture.top &&
               box.bottom <= picture.bottom;
    };
    SchemeLabel best;
    int bestCover = -1;
    for (const auto& [x, baseline] : candidatePlaces(mark.x, mark.y, textWidth, 9, 64)) {
        const SchemeBox box = labelBox(x, baseline, textWidth);
        if (!inside(box))
            continue;
        const int cover = coverage(box, layout);
        if (bestCover < 0 || cover < bestCover) {
            best = {name, x, baseline, box};
            bestCover = cover;
        }
        if (cover == 0)
            break;
    }
    if (bestCover != 0)
        for (const auto& [x, baseline] : candidatePlaces(mark.x, mark.y, textWidth, 69, 400)) {
            const SchemeBox box = labelBox(x, baseline, textWidth);
            SchemeSegment leader;
            if (!inside(box) || coverage(box, layout) != 0 || !leaderTo(mark, box, leader) ||
                !leaderClear(leader, mark, layout))
                continue;
            best = {name, x, baseline, box};
            bestCover = 0;
            layout.segments.push_back(leader);
            break;
        }
    layout.unplaced += bestCover > 0 ? 1 : 0;
    layout.labels.push_back(best);
    return bestCover == 0;
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

bool boxMeetsSegment(const SchemeBox& box, const SchemeSegment& segment)
{
    // The segment's distance to the box, against half the line's width.
    const double half = segment.thickness / 2;
    const double left = box.left - half, top = box.top - half, right = box.right + half, bottom = box.bottom + half;
    // Clip the segment to the box grown by half the width (Liang-Barsky).
    double t0 = 0, t1 = 1;
    const double dx = segment.x1 - segment.x0, dy = segment.y1 - segment.y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {segment.x0 - left, right - segment.x0, segment.y0 - top, bottom - segment.y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}

bool boxMeetsMark(const SchemeBox& box, const SchemeMark& mark)
{
    const double nearestX = std::clamp(mark.x, static_cast<double>(box.left), static_cast<double>(box.right));
    const double nearestY = std::clamp(mark.y, static_cast<double>(box.top), static_cast<double>(box.bottom));
    const double dx = mark.x - nearestX, dy = mark.y - nearestY;
    return dx * dx + dy * dy < markRadius * markRadius;
}

void layOutMetroScheme(const std::vector<MetroLine>& lines, int width, int height,
                       const std::function<int(const std::string&)>& measure, SchemeLayout& layout)
{
    layout = SchemeLayout{};
    const SchemeFrame frame(width, height, lines.size());
    for (const MetroLine& line : lines) {
        const auto& st = line.stations;
        for (size_t i = 0; i + 1 < st.size(); ++i)
            layout.segments.push_back({frame.px(st[i].x), frame.py(st[i].y), frame.px(st[i + 1].x),
                                       frame.py(st[i + 1].y), line.colour});
        if (line.ring && st.size() > 1)
            layout.segments.push_back({frame.px(st.back().x), frame.py(st.back().y), frame.px(st.front().x),
                                       frame.py(st.front().y), line.colour});
    }
    // Transfers: stations of several lines at one point get one dark-ringed mark and one label.
    std::map<std::pair<long, long>, size_t> markAt;
    std::vector<std::pair<const MetroStation*, size_t>> named;  // a station and its mark
    for (const MetroLine& line : lines)
        for (const MetroStation& s : line.stations) {
            const auto key = std::make_pair(std::lround(s.x * 10), std::lround(s.y * 10));
            const auto found = markAt.find(key);
            if (found != markAt.end()) {
                layout.marks[found->second].transfer = true;
                continue;
            }
            markAt[key] = layout.marks.size();
            layout.marks.push_back({frame.px(s.x), frame.py(s.y), line.colour, false});
            named.push_back({&s, layout.marks.size() - 1});
        }
    // The most crowded stations choose first, while there is still room round them.
    std::vector<int> crowding(named.size(), 0);
    for (size_t i = 0; i < named.size(); ++i)
        for (const SchemeMark& m : layout.marks) {
            const SchemeMark& own = layout.marks[named[i].second];
            if (std::hypot(m.x - own.x, m.y - own.y) < 60)
                ++crowding[i];
        }
    std::vector<size_t> order(named.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return crowding[a] > crowding[b]; });
    const SchemeBox picture{2, static_cast<int>(frame.top) - 12, width - 2, height - 2};
    std::vector<int> widths(named.size());
    for (size_t i = 0; i < named.size(); ++i)
        widths[i] = measure(named[i].first->name);
    // A name that found no free place gets to choose earlier in the next round, ahead of those that
    // took its room; the rounds stop when every name is clear (or after a few, keeping the best).
    const SchemeLayout unnamed = layout;
    SchemeLayout best;
    for (int round = 0; round < 12; ++round) {
        layout = unnamed;
        std::vector<size_t> failed;
        for (size_t i : order)
            if (!placeName(named[i].first->name, layout.marks[named[i].second], widths[i], picture, layout))
                failed.push_back(i);
        if (round == 0 || layout.unplaced < best.unplaced)
            best = layout;
        if (failed.empty())
            break;
        std::stable_partition(order.begin(), order.end(), [&failed](size_t i) {
            return std::find(failed.begin(), failed.end(), i) != failed.end();
        });
    }
    layout = std::move(best);
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
    SchemeLayout layout;
    layOutMetroScheme(lines, width, height, [font](const std::string& name) { return textWidth(font, name, labelSize); },
                      layout);
    for (const SchemeSegment& s : layout.segments)
        thickLine(out, s.x0, s.y0, s.x1, s.y1, s.thickness, s.colour);
    for (const SchemeMark& m : layout.marks) {
        fillCircle(out, m.x, m.y, markRadius, m.transfer ? Rgb{40, 40, 40} : m.colour);
        fillCircle(out, m.x, m.y, 3.5, {255, 255, 255});
    }
    for (const SchemeLabel& l : layout.labels)
        drawText(out, font, l.name, l.x, l.baseline, labelSize, {30, 30, 30});
    // The title and the legend have a band of their own above the scheme.
    drawText(out, bold, title, 16, 30, 20, {0, 0, 0});
    int y = SchemeFrame::legendTop;
    for (const MetroLine& line : lines) {
        thickLine(out, 20, y - 4, 44, y - 4, 7, line.colour);
        drawText(out, font, line.name, 52, y, 12, {0, 0, 0});
        y += SchemeFrame::legendRow;
    }
    closeFont(font);
    closeFont(bold);
    return true;
}
