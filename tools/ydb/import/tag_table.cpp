#include "tools/ydb/import/tag_table.h"

#include <algorithm>

#include "tools/ydb/source/cp1251.h"
#include "tools/ydb/source/source_edition.h"

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::vector<std::string> items(std::string_view list) {
    std::vector<std::string> out;
    while (!list.empty()) {
        size_t end = list.find(';');
        std::string_view item = trimmed(list.substr(0, end));
        if (!item.empty()) out.emplace_back(item);
        list = end == std::string_view::npos ? std::string_view{} : list.substr(end + 1);
    }
    return out;
}

bool isTag(const std::string& tag) {
    size_t eq = tag.find('=');
    return eq != std::string::npos && eq > 0 && eq + 1 < tag.size() && tag.find(' ') == std::string::npos;
}

struct Parser {
    const std::string& name;
    TagTable& table;
    std::string& error;
    int line = 0;

    bool fail(const std::string& what) {
        error = name + ":" + std::to_string(line) + ": " + what;
        return false;
    }
    bool title(std::string_view text, std::string& out) {
        if (text.empty()) return fail("a rubric without a title");
        std::string bad;
        if (!utf8ToCp1251(text, out, &bad)) return fail("the title holds " + bad + ", which code page 1251 has not");
        if (out.size() > limits::firmName) return fail("a title longer than 255 characters");
        return true;
    }
    bool tags(std::string_view list, std::vector<std::string>& out) {
        out = items(list);
        for (const std::string& tag : out)
            if (!isTag(tag)) return fail("'" + tag + "' is not a tag (key=value or key=*)");
        return true;
    }
    bool directive(std::string_view text) {
        std::vector<std::string> list;
        if (text.starts_with("firm keys:")) {
            for (std::string& key : items(text.substr(10))) table.firmKeys.push_back(std::move(key));
            return true;
        }
        if (!tags(text.substr(10), list)) return false;
        table.notFirms.insert(list.begin(), list.end());
        return true;
    }
    bool row(std::string_view raw) {
        bool indented = raw.starts_with("  ");
        std::string_view text = trimmed(raw);
        if (!indented) {
            if (text.find(" = ") != std::string_view::npos) return fail("a heading names no tags; indent its rubrics");
            // Two-digit codes 10-98 under the root; 99 is left for "Прочее".
            if (table.headings.size() == 89) return fail("more than 89 headings");
            std::string t;
            if (!title(text, t)) return false;
            table.headings.push_back(std::move(t));
            return true;
        }
        if (table.headings.empty()) return fail("a rubric before the first heading");
        size_t eq = text.find(" = ");
        TagRubric rubric{{}, static_cast<uint32_t>(table.headings.size() - 1)};
        if (!title(trimmed(text.substr(0, eq)), rubric.title)) return false;
        if (std::count_if(table.rubrics.begin(), table.rubrics.end(),
                          [&](const TagRubric& r) { return r.heading == rubric.heading; }) == 90)
            return fail("more than 90 rubrics under one heading");
        std::vector<std::string> list;
        if (eq == std::string_view::npos || !tags(text.substr(eq + 3), list) || list.empty())
            return error.empty() ? fail("a rubric names its tags after \" = \"") : false;
        const uint32_t index = static_cast<uint32_t>(table.rubrics.size());
        table.rubrics.push_back(std::move(rubric));
        for (const std::string& tag : list) {
            std::vector<uint32_t>& to = table.byTag[tag];
            if (std::find(to.begin(), to.end(), index) == to.end()) to.push_back(index);
        }
        return true;
    }
};

} // namespace

bool parseTagTable(std::string_view text, const std::string& name, TagTable& table, std::string& error) {
    table = TagTable{};
    error.clear();
    Parser p{name, table, error};
    while (!text.empty()) {
        ++p.line;
        size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        std::string_view body = trimmed(raw);
        if (body.empty() || body.front() == '#') continue;
        bool ok = body.starts_with("firm keys:") || body.starts_with("not firms:") ? p.directive(body) : p.row(raw);
        if (!ok) return false;
    }
    if (table.firmKeys.empty()) return p.fail("no \"firm keys:\" line: no object would be a firm");
    return true;
}

bool isFirmKey(const TagTable& table, std::string_view key) {
    return std::find(table.firmKeys.begin(), table.firmKeys.end(), key) != table.firmKeys.end();
}

void addTagVerdict(const TagTable& table, std::string_view key, std::string_view value, TagVerdict& verdict) {
    std::string tag = std::string(key) + "=" + std::string(value);
    std::string any = std::string(key) + "=*";
    if (table.notFirms.count(tag) || table.notFirms.count(any)) return;
    verdict.businessKind = true;
    auto row = table.byTag.find(tag);
    if (row == table.byTag.end()) row = table.byTag.find(any);
    if (row == table.byTag.end()) {
        verdict.unmatched.push_back(std::move(tag));
        return;
    }
    for (uint32_t r : row->second)
        if (std::find(verdict.rubrics.begin(), verdict.rubrics.end(), r) == verdict.rubrics.end())
            verdict.rubrics.push_back(r);
}
