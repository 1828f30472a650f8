#include "tools/ydb/import/source_writer.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include <unistd.h>

#include <nlohmann/json.hpp>

#include "tools/ydb/import/address.h"
#include "tools/ydb/source/cp1251.h"
#include "tools/ydb/source/source_edition.h"
#include "tools/ydb/source/starter_resources.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

constexpr uint32_t maxFirmsInStreet = 16383;
const char* const otherRubricCode = "99";

std::string utf8(const std::string& cp1251) { return cp1251ToUtf8(cp1251); }

std::string twoDigits(size_t place) { return std::to_string(10 + place); }

// The code of every rubric of the table (empty when no firm is under it), and the rubric list.
json rubricTree(const TagTable& table, const FirmList& firms, std::vector<std::string>& codes) {
    std::vector<bool> used(table.rubrics.size(), false);
    bool other = false;
    for (const ImportedFirm& f : firms) {
        for (uint32_t r : f.rubrics) used[r] = true;
        other = other || f.rubrics.empty();
    }
    codes.assign(table.rubrics.size(), {});
    json list = json::array();
    std::vector<size_t> placeInHeading(table.headings.size(), 0);
    for (size_t h = 0; h < table.headings.size(); ++h) {
        bool headingWritten = false;
        for (size_t r = 0; r < table.rubrics.size(); ++r) {
            if (table.rubrics[r].heading != h) continue;
            const size_t place = placeInHeading[h]++;
            if (!used[r]) continue;
            if (!headingWritten) list.push_back({{"code", twoDigits(h)}, {"title", utf8(table.headings[h])}});
            headingWritten = true;
            codes[r] = twoDigits(h) + twoDigits(place);
            list.push_back({{"code", codes[r]}, {"title", utf8(table.rubrics[r].title)}});
        }
    }
    if (other) list.push_back({{"code", otherRubricCode}, {"title", "Прочее"}});
    return list;
}

bool writeText(const fs::path& path, const std::string& text, std::string& error) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out) error = path.string() + ": cannot be written";
    return static_cast<bool>(out);
}

bool writeFiles(const fs::path& root, const ImportedEdition& edition, const TagTable& table,
                const FirmList& firms, ImportReport& report, std::string& error) {
    json title = json::array();
    for (const std::string& line : edition.titleLines) title.push_back(line);
    // An imported edition is complete from the start: the help text, the tiles' pages and the pictures
    // every edition carries, for the publisher to rewrite, named after the title's last line.
    json resources = json::array();
    if (!writeStarterResources(root.string(), edition.titleLines.back(), resources, error)) return false;
    if (!writeText(root / "edition.json",
                   json{{"title", title}, {"cityLetter", edition.cityLetter}, {"resources", resources}}.dump(1) + "\n",
                   error))
        return false;

    std::vector<std::string> codes;
    if (!writeText(root / "rubrics.json", rubricTree(table, firms, codes).dump(1) + "\n", error)) return false;

    // A street holds at most 16383 firms; the rest keep their other fields without an address.
    std::map<std::string, uint32_t> firmsInStreet;
    std::vector<bool> addressed(firms.size(), false);
    for (size_t i = 0; i < firms.size(); ++i) {
        if (firms[i].street.empty()) continue;
        uint32_t& n = firmsInStreet[firms[i].street];
        if (n == maxFirmsInStreet) {
            report.cutField("addresses (more than 16383 firms in one street)");
            continue;
        }
        ++n;
        addressed[i] = true;
    }
    std::vector<std::pair<std::string, std::string>> streets;   // key, name
    for (const auto& entry : firmsInStreet) streets.emplace_back(streetKeyOf(entry.first), entry.first);
    std::sort(streets.begin(), streets.end());
    std::string lines;
    for (const auto& [key, name] : streets) lines += json{{"key", utf8(key)}, {"name", utf8(name)}}.dump() + "\n";
    if (!writeText(root / "streets.jsonl", lines, error)) return false;
    report.streetsWritten = streets.size();

    std::ofstream out(root / "firms.jsonl", std::ios::binary);
    for (size_t i = 0; i < firms.size(); ++i) {
        const ImportedFirm& f = firms[i];
        json firm{{"name", utf8(f.name)}};
        if (!f.namePrefix.empty()) firm["namePrefix"] = utf8(f.namePrefix);
        if (addressed[i]) {
            firm["street"] = utf8(f.street);
            if (f.house) firm["house"] = f.house;
            if (!f.houseSuffix.empty()) firm["houseSuffix"] = utf8(f.houseSuffix);
        }
        if (!f.phones.empty()) {
            if (f.phones.front().size() <= limits::phone) firm["phone"] = utf8(f.phones.front());
            json phones = json::array();
            for (const std::string& p : f.phones) phones.push_back(utf8(p));
            firm["phones"] = std::move(phones);
        }
        if (!f.web.empty()) firm["web"] = utf8(f.web);
        if (!f.email.empty()) firm["email"] = utf8(f.email);
        if (!f.hours.empty()) firm["hours"] = utf8(f.hours);
        json rubrics = json::array();
        for (uint32_t r : f.rubrics) rubrics.push_back(codes[r]);
        if (f.rubrics.empty()) rubrics.push_back(otherRubricCode);
        firm["rubrics"] = std::move(rubrics);
        out << firm.dump() << '\n';
    }
    out.close();
    if (!out) {
        error = (root / "firms.jsonl").string() + ": cannot be written";
        return false;
    }
    report.firmsWritten = firms.size();
    return true;
}

} // namespace

bool writeImportedEdition(const std::string& folder, const ImportedEdition& edition, const TagTable& table,
                          const FirmList& firms, ImportReport& report, std::string& error) {
    fs::path target = fs::absolute(fs::path(folder)).lexically_normal();
    if (!target.has_filename()) target = target.parent_path();
    const fs::path temporary = target.parent_path() / (target.filename().string() + ".import-" + std::to_string(::getpid()));
    std::error_code ec;
    fs::remove_all(temporary, ec);
    if (!fs::create_directories(temporary, ec) || ec) {
        error = temporary.string() + ": cannot be made (" + ec.message() + ")";
        return false;
    }
    if (writeFiles(temporary, edition, table, firms, report, error)) {
        // rename(2) replaces an empty folder in one step.
        fs::rename(temporary, target, ec);
        if (!ec) return true;
        error = target.string() + ": cannot be written (" + ec.message() + ")";
    }
    fs::remove_all(temporary, ec);
    return false;
}
