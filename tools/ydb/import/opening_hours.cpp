#include "tools/ydb/import/opening_hours.h"

#include <array>
#include <cctype>
#include <vector>

#include "tools/ydb/source/cp1251.h"

namespace {

constexpr std::array<std::string_view, 7> mapDays = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};
constexpr std::array<std::string_view, 7> russianDays = {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};

std::string text1251(std::string_view utf8) {
    std::string out;
    utf8ToCp1251(utf8, out);
    return out;
}

struct Cursor {
    std::string_view rest;

    void skipSpaces() {
        while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    }
    bool take(std::string_view word) {
        skipSpaces();
        if (!rest.starts_with(word)) return false;
        rest.remove_prefix(word.size());
        return true;
    }
    int day() {
        skipSpaces();
        for (size_t d = 0; d < mapDays.size(); ++d)
            if (rest.starts_with(mapDays[d])) {
                rest.remove_prefix(2);
                return static_cast<int>(d);
            }
        return -1;
    }
    int number(size_t maxDigits) {
        size_t n = 0;
        int value = 0;
        while (n < rest.size() && n < maxDigits && std::isdigit(static_cast<unsigned char>(rest[n])))
            value = value * 10 + (rest[n++] - '0');
        if (n == 0) return -1;
        rest.remove_prefix(n);
        return value;
    }
    // "09:00" as minutes since midnight; 24:00 is allowed as the end of a day.
    int time() {
        skipSpaces();
        int h = number(2);
        if (h < 0 || !take(":")) return -1;
        int m = number(2);
        if (m < 0 || m > 59 || h > 24 || (h == 24 && m != 0)) return -1;
        return h * 60 + m;
    }
};

std::string clock(int minutes) {
    std::string m = std::to_string(minutes % 60);
    return std::to_string(minutes / 60) + ":" + (m.size() == 1 ? "0" + m : m);
}

struct Span {
    int from, to;
};

// "Mo-Fr,Su": the days as the directory writes them; empty when the rule names none.
bool readDays(Cursor& c, std::string& out) {
    std::vector<std::pair<int, int>> ranges;
    for (int first = c.day(); first >= 0;) {
        int last = first;
        if (c.take("-") && (last = c.day()) < 0) return false;
        ranges.emplace_back(first, last);
        Cursor probe = c;
        if (!probe.take(",") || (first = probe.day()) < 0) break;
        c = probe;
    }
    if (ranges.size() == 1 && ranges[0] == std::pair{0, 6}) {
        out = text1251("ежедневно");
        return true;
    }
    for (auto [first, last] : ranges) {
        if (!out.empty()) out += ',';
        out += text1251(russianDays[static_cast<size_t>(first)]);
        if (last != first) out += "-" + text1251(russianDays[static_cast<size_t>(last)]);
    }
    return true;
}

bool readSpans(Cursor& c, std::string& out) {
    if (c.take("off") || c.take("closed")) {
        out = text1251("выходной");
        return true;
    }
    std::vector<Span> spans;
    do {
        Span s{c.time(), -1};
        if (s.from < 0 || !c.take("-") || (s.to = c.time()) < 0) return false;
        spans.push_back(s);
    } while (c.take(","));
    if (spans.size() == 1 && spans[0].from == 0 && spans[0].to == 24 * 60) {
        out = text1251("круглосуточно");
        return true;
    }
    // Two spans with a gap are a working day with a break, as directories write it.
    if (spans.size() == 2 && spans[0].to < spans[1].from) {
        out = clock(spans[0].from) + "-" + clock(spans[1].to) + ", " + text1251("перерыв ") + clock(spans[0].to) +
              "-" + clock(spans[1].from);
        return true;
    }
    for (const Span& s : spans) {
        if (!out.empty()) out += ", ";
        out += clock(s.from) + "-" + clock(s.to);
    }
    return true;
}

} // namespace

std::optional<std::string> russianOpeningHours(std::string_view text) {
    std::string line;
    while (true) {
        size_t end = text.find(';');
        Cursor c{text.substr(0, end)};
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        std::string rule;
        if (c.take("24/7")) {
            rule = text1251("круглосуточно");
        } else {
            std::string days, spans;
            if (!readDays(c, days) || !readSpans(c, spans)) return std::nullopt;
            const std::string everyDay = text1251("ежедневно");
            if (days.empty()) days = everyDay;
            rule = days == everyDay && spans == text1251("круглосуточно") ? spans : days + " " + spans;
        }
        c.skipSpaces();
        if (!c.rest.empty()) return std::nullopt;
        if (!line.empty()) line += ", ";
        line += rule;
        if (end == std::string_view::npos) break;
        Cursor tail{text};
        tail.skipSpaces();
        if (tail.rest.empty()) break;   // a rule list that ends in ";"
    }
    return line;
}
