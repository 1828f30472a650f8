#include "tools/ydb/source/source_reader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unordered_map>

#include <nlohmann/json.hpp>

#include "tools/ydb/source/bitmap_check.h"
#include "tools/ydb/source/cp1251.h"
#include "tools/ydb/source/field_reader.h"
#include "tools/ydb/source/json_lines.h"
#include "tools/ydb/source/notes_check.h"
#include "tools/ydb/source/phone_index.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

bool readWholeFile(const fs::path& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
    return !in.bad();
}

// Why a file of the source cannot be read, in a few words.
std::string unreadableReason(const fs::path& path) {
    std::error_code ec;
    if (!fs::exists(path, ec)) return "missing: every source edition has one";
    if (fs::is_directory(path, ec)) return "is a folder, not a file";
    return "cannot be read";
}

// The parser's complaint at its place: `text` starts at line `firstLine` of `file`.
SourceIssue syntaxIssue(const std::string& file, std::string_view text, int firstLine, const json::parse_error& e) {
    const size_t at = std::min<size_t>(e.byte > 0 ? e.byte - 1 : 0, text.size());
    size_t lineStart = 0;
    if (at > 0)
        if (size_t newline = text.rfind('\n', at - 1); newline != std::string_view::npos) lineStart = newline + 1;
    // The parser's own words, without its prefix and its own count of lines.
    std::string reason = e.what();
    if (size_t place = reason.find("parse error"); place != std::string::npos)
        if (size_t colon = reason.find(": ", place); colon != std::string::npos) reason = reason.substr(colon + 2);
    SourceIssue issue;
    issue.file = file;
    issue.line = firstLine - 1 + lineOfOffset(text, at);
    issue.column = static_cast<int>(utf8Length(text.substr(lineStart, at - lineStart))) + 1;
    issue.message = "not valid JSON: " + reason;
    return issue;
}

// A key given twice in one object: the parser keeps the last value and drops the first without a word.
// `text` starts at line `firstLine` of `file`.
void reportDuplicateKeys(const std::string& file, std::string_view text, int firstLine, IssueList& issues) {
    for (const DuplicateKey& d : duplicateKeys(text)) {
        std::string first = d.firstLine == d.line ? "column " + std::to_string(d.firstColumn)
                                                  : "line " + std::to_string(firstLine - 1 + d.firstLine) + ", column " +
                                                        std::to_string(d.firstColumn);
        issues.add(SourceIssue{file, firstLine - 1 + d.line, d.column, d.key,
                               "given twice in one object (first at " + first + "); only the last would be kept"});
    }
}

// Parses a whole JSON file; a syntax error is reported at its line and column.
bool parseJsonFile(const fs::path& folder, const char* name, std::string& text, json& value, IssueList& issues) {
    if (!readWholeFile(folder / name, text)) {
        issues.addUnreadable(name, unreadableReason(folder / name));
        return false;
    }
    try {
        value = json::parse(text);
    } catch (const json::parse_error& e) {
        issues.add(syntaxIssue(name, text, 1, e));
        return false;
    }
    reportDuplicateKeys(name, text, 1, issues);
    return true;
}

int lineOf(const std::vector<int>& lines, size_t index) {
    return index < lines.size() ? lines[index] : 0;
}

// A UTF-8 text file converted to code page 1251; a bad character is reported at its line.
bool convertTextFile(const std::string& shownName, const std::string& utf8, std::string& out, IssueList& issues) {
    std::string bad;
    if (utf8ToCp1251(utf8, out, &bad)) {
        // The handheld ends a page at its first 0 byte and would show only what comes before it.
        size_t zero = out.find('\0');
        if (zero == std::string::npos) return true;
        issues.add(shownName, lineOfOffset(utf8, utf8.find('\0')), "", "holds a 0 byte");
        return false;
    }
    // Find the first line that does not convert, to point at it.
    size_t start = 0;
    int line = 1;
    std::string scratch;
    while (start <= utf8.size()) {
        size_t end = utf8.find('\n', start);
        if (end == std::string::npos) end = utf8.size();
        if (!utf8ToCp1251(std::string_view(utf8).substr(start, end - start), scratch, &bad)) break;
        start = end + 1;
        ++line;
    }
    issues.add(shownName, line, "", "character " + bad + " cannot be stored in code page 1251");
    return false;
}

bool declaresCp1251(const std::string& html) {
    std::string lower = html;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return lower.find("charset=windows-1251") != std::string::npos;
}

void readEdition(const fs::path& folder, SourceEdition& edition, IssueList& issues) {
    const std::string file = "edition.json";
    std::string text;
    json doc;
    if (!parseJsonFile(folder, file.c_str(), text, doc, issues)) return;
    JsonLayout layout = locateJson(text);
    auto lineOfKey = [&](const char* key) {
        auto it = layout.keyLines.find(key);
        return it == layout.keyLines.end() ? 1 : it->second;
    };
    if (!doc.is_object()) {
        issues.add(file, 1, "", "expected a JSON object");
        return;
    }
    FieldReader top(doc, file, 1, issues);
    top.rejectUnknown({"title", "cityLetter", "resources"});

    // The title: one text (lines separated by line breaks) or a list of lines.
    json titleValue = doc.contains("title") ? doc["title"] : json();
    std::vector<std::string> lines;
    const json titleObject = json::object({{"title", titleValue}});
    FieldReader titleReader(titleObject, file, lineOfKey("title"), issues);
    // Read without a limit: the limit is of the whole title, its line breaks included.
    const size_t before = issues.total;
    if (titleValue.is_array()) {
        lines = titleReader.textList("title", std::string::npos);
    } else {
        std::string whole = titleReader.text("title", std::string::npos, true);
        size_t start = 0;
        while (start <= whole.size()) {
            size_t end = whole.find_first_of("\r\n", start);
            if (end == std::string::npos) end = whole.size();
            lines.push_back(whole.substr(start, end - start));
            if (end < whole.size() && whole[end] == '\r' && end + 1 < whole.size() && whole[end + 1] == '\n') ++end;
            start = end + 1;
        }
    }
    for (size_t i = 0; i < lines.size(); ++i) edition.title += (i ? "\r\n" : "") + lines[i];
    if (issues.total != before) {
        // Already said what is wrong with it.
    } else if (edition.title.size() > limits::title) {
        titleReader.fail("title", "longer than " + std::to_string(limits::title) + " characters" +
                                      (lines.size() > 1 ? " with the line breaks between its lines" : "") + " (" +
                                      std::to_string(edition.title.size()) + ")");
    } else if (lines.empty() || lines.back().empty())
        titleReader.fail("title", "its last line is empty, so the handheld would not offer the edition");

    FieldReader letterReader(doc, file, lineOfKey("cityLetter"), issues);
    std::string letter = letterReader.text("cityLetter", 1, true);
    if (letter.size() == 1) edition.cityLetter = static_cast<uint8_t>(letter[0]);

    if (!doc.contains("resources")) return;
    const json& resources = doc["resources"];
    int resourcesLine = lineOfKey("resources");
    if (!resources.is_array()) {
        issues.add(file, resourcesLine, "resources", "expected a list");
        return;
    }
    for (size_t i = 0; i < resources.size(); ++i) {
        const json& r = resources[i];
        std::string field = "resources[" + std::to_string(i) + "]";
        bool picture = r.is_object() && r.contains("picture") && r["picture"].is_string();
        bool help = r.is_object() && r.contains("help") && r["help"].is_string();
        if (picture == help || r.size() != 1) {
            issues.add(file, resourcesLine, field, "expected {\"picture\": FILE} or {\"help\": FILE}");
            continue;
        }
        SourceResource res;
        res.kind = picture ? ResourceKind::picture : ResourceKind::help;
        res.file = r.begin().value().get<std::string>();
        fs::path path = folder / res.file;
        std::string bytes;
        if (!readWholeFile(path, bytes)) {
            issues.add(file, resourcesLine, field, res.file + " cannot be read");
            continue;
        }
        if (picture) {
            std::string why;
            if (!checkBitmap(bytes, why)) {
                issues.add(res.file, 0, "", why);
                continue;
            }
            res.bytes = std::move(bytes);
        } else {
            if (!convertTextFile(res.file, bytes, res.bytes, issues)) continue;
            if (!declaresCp1251(res.bytes))
                issues.add(res.file, 0, "", "the page must declare charset=windows-1251 in its meta tag");
        }
        edition.resources.push_back(std::move(res));
    }
}

// False when the file as a whole is unusable: the firms' rubric codes then cannot be checked.
// `refused` receives the codes of the rubrics refused, with their lines.
bool readRubrics(const fs::path& folder, SourceEdition& edition, IssueList& issues,
                 std::unordered_map<std::string, uint32_t>& byCode, std::unordered_map<std::string, int>& refused) {
    const std::string file = "rubrics.json";
    std::string text;
    json doc;
    if (!parseJsonFile(folder, file.c_str(), text, doc, issues)) return false;
    if (!doc.is_array()) {
        issues.add(file, 1, "", "expected a list of rubrics");
        return false;
    }
    JsonLayout layout = locateJson(text);
    std::vector<std::string> open;  // the codes of the current rubric and its ancestors
    // A mistyped code is one error, not one more for each rubric after it.
    for (size_t i = 0; i < doc.size(); ++i) {
        int line = lineOf(layout.elementLines, i);
        FieldReader f(doc[i], file, line, issues);
        f.rejectUnknown({"code", "title", "flags"});
        SourceRubric r;
        r.line = line;
        r.code = f.text("code", limits::rubricCode, true);
        r.title = f.text("title", 255, true);
        r.flags = static_cast<uint8_t>(f.number("flags", 255, 3));
        if (!f.objectOk() || r.code.empty()) continue;
        auto refuse = [&](const std::string& why) {
            f.fail("code", why);
            refused.emplace(r.code, line);
        };
        if (r.code.size() % 2 != 0) {
            refuse("a rubric code has 2, 4, 6 or 8 characters");
            continue;
        }
        if (r.code.find('|') != std::string::npos) {
            refuse("\"|\" separates codes in a firm's rubric list and cannot be part of one");
            continue;
        }
        if (byCode.count(r.code)) {
            f.fail("code", "rubric " + cp1251ToUtf8(r.code) + " is defined twice");
            continue;
        }
        // The tree as it stands without the refused rubrics: a rubric refused here leaves it as it was.
        const std::string parent = r.code.substr(0, r.code.size() - 2);
        std::vector<std::string> branch = open;
        while (!branch.empty() && branch.back() != parent) branch.pop_back();
        if (!parent.empty() && branch.empty()) {
            if (auto it = refused.find(parent); it != refused.end())
                refuse("its parent rubric " + cp1251ToUtf8(parent) + " is refused at line " + std::to_string(it->second) + " above");
            else if (byCode.count(parent))
                refuse("not in pre-order: its parent " + cp1251ToUtf8(parent) + " is followed by another branch before it");
            else
                refuse("its parent rubric " + cp1251ToUtf8(parent) + " does not come before it");
            continue;
        }
        open = std::move(branch);
        open.push_back(r.code);
        byCode.emplace(r.code, static_cast<uint32_t>(edition.rubrics.size()));
        edition.rubrics.push_back(std::move(r));
    }
    return true;
}

// Calls `each(object, line)` for every non-empty line of a JSON Lines file, telling `progress` now
// and then how many of the file's bytes are behind it.
// False when the file cannot be read at all.
template <typename Each>
bool readJsonLines(const fs::path& folder, const std::string& file, IssueList& issues, const ReadProgress& progress,
                   Each each) {
    std::ifstream in(folder / file, std::ios::binary);
    std::error_code ec;
    if (!in || fs::is_directory(folder / file, ec)) {
        issues.addUnreadable(file, unreadableReason(folder / file));
        return false;
    }
    uint64_t size = progress ? fs::file_size(folder / file, ec) : 0;
    uint64_t done = 0;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        done += line.size() + 1;
        if (progress && number % 4096 == 0) progress(std::min(done, size), size);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        json value;
        try {
            value = json::parse(line);
        } catch (const json::parse_error& e) {
            issues.add(syntaxIssue(file, line, number, e));
            continue;
        }
        reportDuplicateKeys(file, line, number, issues);
        each(value, number);
    }
    return true;
}

// False when the file cannot be read: the firms' streets then cannot be checked.
bool readStreets(const fs::path& folder, SourceEdition& edition, IssueList& issues,
                 std::unordered_map<std::string, uint32_t>& byName) {
    const std::string file = "streets.jsonl";
    return readJsonLines(folder, file, issues, nullptr, [&](const json& value, int line) {
        FieldReader f(value, file, line, issues);
        f.rejectUnknown({"key", "name"});
        SourceStreet s;
        s.line = line;
        s.key = f.text("key", limits::streetKey, true);
        s.name = f.text("name", limits::streetName, true);
        if (s.name.empty()) return;
        if (!byName.emplace(s.name, static_cast<uint32_t>(edition.streets.size())).second) {
            f.fail("name", "street " + cp1251ToUtf8(s.name) + " is listed twice");
            return;
        }
        edition.streets.push_back(std::move(s));
    });
}

// Which of the files the firms refer to could be read: a broken one is reported once, not on
// every firm line.
struct KnownFiles {
    bool rubrics = true;
    bool streets = true;
};

void readFirms(const fs::path& folder, SourceEdition& edition, IssueList& issues,
               const std::unordered_map<std::string, uint32_t>& rubricByCode,
               const std::unordered_map<std::string, int>& refusedRubrics,
               const std::unordered_map<std::string, uint32_t>& streetByName, KnownFiles known,
               const ReadProgress& progress) {
    const std::string file = "firms.jsonl";
    std::vector<uint32_t> firmsPerStreet(edition.streets.size(), 0);
    readJsonLines(folder, file, issues, progress, [&](const json& value, int line) {
        FieldReader f(value, file, line, issues);
        f.rejectUnknown({"name", "street", "house", "houseSuffix", "web", "email", "phone", "phones",
                         "namePrefix", "rubrics", "hours", "comment"});
        size_t before = issues.total;
        SourceFirm firm;
        firm.line = line;
        firm.name = f.text("name", limits::firmName, true);
        // Absent or empty: a firm without a street, listed and shown without an address.
        const size_t beforeStreet = issues.total;
        std::string street = f.text("street", limits::streetName);
        const bool streetUnreadable = issues.total != beforeStreet;  // already reported
        firm.house = f.number("house", limits::maxHouse, 0);
        firm.houseSuffix = f.text("houseSuffix", limits::houseSuffix);
        firm.web = f.text("web", limits::web);
        firm.email = f.text("email", limits::email);
        firm.phone = f.text("phone", limits::phone);
        firm.namePrefix = f.text("namePrefix", limits::namePrefix);
        firm.hours = f.text("hours", limits::hours);
        firm.comment = f.text("comment", limits::comment);
        const std::vector<std::string> phoneList = f.textList("phones", limits::phones);
        for (const std::string& p : phoneList) {
            if (p.find(',') != std::string::npos) {
                f.fail("phones", "a telephone cannot hold a comma: commas separate them");
                continue;
            }
            if (p.empty()) continue;
            firm.phones += (firm.phones.empty() ? "" : ",") + p;
        }
        // The main telephone's warning covers the same text in the list.
        const std::string mainWarning = telephoneWarning(firm.phone);
        if (!mainWarning.empty()) issues.warn(file, line, "phone", mainWarning);
        for (const std::string& p : phoneList)
            if (p != firm.phone || mainWarning.empty())
                if (std::string warning = telephoneWarning(p); !warning.empty()) issues.warn(file, line, "phones", warning);
        if (firm.phones.size() > limits::phones)
            f.fail("phones", "the telephones together are longer than 1023 characters (" +
                                 std::to_string(firm.phones.size()) + ")");
        // The card writes the house after the street name, so without one it would show ", д.7".
        if (street.empty() && !streetUnreadable && (firm.house != 0 || !firm.houseSuffix.empty()))
            f.fail(firm.house != 0 ? "house" : "houseSuffix", "a house number needs a street");
        if (!street.empty() && known.streets) {
            auto it = streetByName.find(street);
            if (it == streetByName.end()) {
                f.fail("street", "unknown street " + cp1251ToUtf8(street));
            } else {
                firm.street = it->second;
                if (++firmsPerStreet[it->second] == 0x3FFF + 1)
                    issues.add("streets.jsonl", edition.streets[it->second].line, "name",
                               "more than 16383 firms in this street: its firm list would not fit a 16-bit count");
            }
        }
        firm.rubricCodes = "|";
        std::vector<std::string> codes;
        for (const std::string& code : f.textList("rubrics", limits::rubricCode)) {
            if (!known.rubrics) continue;
            auto it = rubricByCode.find(code);
            if (it == rubricByCode.end()) {
                auto refused = refusedRubrics.find(code);
                f.fail("rubrics", refused == refusedRubrics.end()
                                      ? "unknown rubric " + cp1251ToUtf8(code)
                                      : "rubric " + cp1251ToUtf8(code) + " is refused at rubrics.json:" +
                                            std::to_string(refused->second));
                continue;
            }
            codes.push_back(code);
            if (std::find(firm.rubrics.begin(), firm.rubrics.end(), it->second) != firm.rubrics.end()) continue;
            firm.rubrics.push_back(it->second);
            firm.rubricCodes += code + "|";
        }
        if (firm.rubrics.empty()) firm.rubricCodes.clear();
        if (firm.rubricCodes.size() > limits::rubricCodes)
            f.fail("rubrics", "the rubric list is longer than 4095 characters");
        size_t detailsBody = 4 + firm.phones.size() + firm.namePrefix.size() + firm.rubricCodes.size() +
                             firm.hours.size() + firm.comment.size() + 5;
        if (detailsBody > limits::recordBody) f.fail("", "the firm's details exceed a 16-bit record length");
        if (known.rubrics)
            for (const std::string& problem : noteProblems(firm.comment, codes)) issues.warn(file, line, "comment", problem);
        if (issues.total == before) edition.firms.push_back(std::move(firm));
    });
}

void readPages(const fs::path& folder, SourceEdition& edition, IssueList& issues) {
    fs::path html = folder / "html";
    std::error_code ec;
    if (!fs::is_directory(html, ec)) return;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(html, ec))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& path : files) {
        SourcePage page;
        page.name = path.filename().string();
        std::string shown = "html/" + page.name;
        std::string bytes;
        if (!readWholeFile(path, bytes)) {
            issues.add(shown, 0, "", "cannot be read");
            continue;
        }
        std::string ext = path.extension().string();
        if (ext == ".html" || ext == ".htm") {
            if (!convertTextFile(shown, bytes, page.bytes, issues)) continue;
            if (!declaresCp1251(page.bytes)) {
                issues.add(shown, 0, "", "the page must declare charset=windows-1251 in its meta tag");
                continue;
            }
        } else {
            page.bytes = std::move(bytes);
        }
        edition.pages.push_back(std::move(page));
    }
}

} // namespace

bool readSourceEdition(const std::string& folder, SourceEdition& edition, IssueList& issues, const ReadProgress& progress) {
    fs::path root(folder);
    std::unordered_map<std::string, uint32_t> rubricByCode;
    std::unordered_map<std::string, int> refusedRubrics;
    std::unordered_map<std::string, uint32_t> streetByName;
    readEdition(root, edition, issues);
    KnownFiles known;
    known.rubrics = readRubrics(root, edition, issues, rubricByCode, refusedRubrics);
    known.streets = readStreets(root, edition, issues, streetByName);
    readFirms(root, edition, issues, rubricByCode, refusedRubrics, streetByName, known, progress);
    readPages(root, edition, issues);
    return issues.empty();
}
