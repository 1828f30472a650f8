#include "conformance/check/compare.h"

#include <algorithm>
#include <sstream>

namespace conformance {

namespace {

const std::string noLine = "(none)";

std::vector<Difference> alignCase(const std::string& name, const std::vector<std::string>& expected,
                                  const std::vector<std::string>& ours)
{
    // Longest common subsequence; the cases are at most a few hundred lines each.
    const size_t rows = expected.size();
    const size_t columns = ours.size();
    std::vector<std::vector<unsigned>> common(rows + 1, std::vector<unsigned>(columns + 1, 0));
    for (size_t i = rows; i-- > 0;)
        for (size_t j = columns; j-- > 0;)
            common[i][j] = expected[i] == ours[j] ? common[i + 1][j + 1] + 1
                                                  : std::max(common[i + 1][j], common[i][j + 1]);

    std::vector<Difference> differences;
    std::vector<std::string> missing;
    std::vector<std::string> extra;
    auto flush = [&]() {
        // Within one gap the n-th missing line and the n-th extra line are one changed line.
        size_t pairs = std::max(missing.size(), extra.size());
        for (size_t k = 0; k < pairs; ++k) {
            Difference difference;
            difference.caseName = name;
            difference.hasExpected = k < missing.size();
            if (difference.hasExpected)
                difference.expected = missing[k];
            difference.hasOurs = k < extra.size();
            if (difference.hasOurs)
                difference.ours = extra[k];
            differences.push_back(difference);
        }
        missing.clear();
        extra.clear();
    };
    size_t i = 0;
    size_t j = 0;
    while (i < rows || j < columns) {
        if (i < rows && j < columns && expected[i] == ours[j]) {
            flush();
            ++i;
            ++j;
        } else if (j == columns || (i < rows && common[i + 1][j] >= common[i][j + 1])) {
            missing.push_back(expected[i++]);
        } else {
            extra.push_back(ours[j++]);
        }
    }
    flush();
    return differences;
}

const std::vector<std::string>* findCase(const Record& record, const std::string& name)
{
    for (size_t k = 0; k < record.caseNames.size(); ++k)
        if (record.caseNames[k] == name)
            return &record.caseLines[k];
    return nullptr;
}

std::string trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

Record parseRecord(const std::string& text)
{
    Record record;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (startsWith(line, "case ")) {
            record.caseNames.push_back(line.substr(5));
            record.caseLines.emplace_back();
            continue;
        }
        if (record.caseNames.empty()) {
            record.caseNames.emplace_back();
            record.caseLines.emplace_back();
        }
        record.caseLines.back().push_back(line);
    }
    return record;
}

std::vector<Difference> compareRecords(const Record& reference, const Record& ours)
{
    static const std::vector<std::string> none;
    std::vector<Difference> differences;
    for (size_t k = 0; k < reference.caseNames.size(); ++k) {
        const std::vector<std::string>* our = findCase(ours, reference.caseNames[k]);
        std::vector<Difference> found = alignCase(reference.caseNames[k], reference.caseLines[k], our != nullptr ? *our : none);
        if (our == nullptr) {
            Difference absent;
            absent.caseName = reference.caseNames[k];
            absent.hasExpected = true;
            absent.expected = "case " + reference.caseNames[k];
            differences.push_back(absent);
        }
        differences.insert(differences.end(), found.begin(), found.end());
    }
    for (size_t k = 0; k < ours.caseNames.size(); ++k) {
        if (findCase(reference, ours.caseNames[k]) != nullptr)
            continue;
        Difference extra;
        extra.caseName = ours.caseNames[k];
        extra.hasOurs = true;
        extra.ours = "case " + ours.caseNames[k];
        differences.push_back(extra);
        std::vector<Difference> lines = alignCase(ours.caseNames[k], none, ours.caseLines[k]);
        differences.insert(differences.end(), lines.begin(), lines.end());
    }
    return differences;
}

bool parseKnownDifferences(const std::string& text, std::vector<KnownDifference>& known, std::string& error)
{
    known.clear();
    std::istringstream lines(text);
    std::string raw;
    int number = 0;
    auto complete = [&](const KnownDifference& entry) {
        if (entry.reason.empty()) {
            error = "line " + std::to_string(entry.line) + ": the difference has no reason";
            return false;
        }
        if (!entry.hasExpected && !entry.hasOurs && !entry.anyOurs) {
            error = "line " + std::to_string(entry.line) + ": the difference names no line";
            return false;
        }
        return true;
    };
    bool open = false;
    while (std::getline(lines, raw)) {
        ++number;
        std::string line = trimmed(raw);
        if (line.empty() || line[0] == '#')
            continue;
        if (startsWith(line, "difference ")) {
            if (open && !complete(known.back()))
                return false;
            KnownDifference entry;
            entry.caseName = trimmed(line.substr(11));
            entry.line = number;
            known.push_back(entry);
            open = true;
            continue;
        }
        if (!open) {
            error = "line " + std::to_string(number) + ": expected \"difference CASE\"";
            return false;
        }
        KnownDifference& entry = known.back();
        // Values keep their inner spacing: only the one space after the colon is dropped.
        std::string rawValue;
        size_t colon = raw.find(':');
        if (colon != std::string::npos) {
            rawValue = raw.substr(colon + 1);
            if (!rawValue.empty() && rawValue[0] == ' ')
                rawValue.erase(0, 1);
            while (!rawValue.empty() && (rawValue.back() == '\r' || rawValue.back() == ' '))
                rawValue.pop_back();
        }
        if (startsWith(line, "expected:")) {
            entry.hasExpected = rawValue != noLine;
            entry.expected = entry.hasExpected ? rawValue : std::string();
        } else if (startsWith(line, "ours:")) {
            entry.anyOurs = rawValue == "*";
            entry.hasOurs = !entry.anyOurs && rawValue != noLine;
            entry.ours = entry.hasOurs ? rawValue : std::string();
        } else if (startsWith(line, "reason:")) {
            entry.reason = rawValue;
        } else {
            error = "line " + std::to_string(number) + ": expected \"expected:\", \"ours:\" or \"reason:\"";
            return false;
        }
    }
    return !open || complete(known.back());
}

bool matches(const KnownDifference& known, const Difference& difference)
{
    if (known.caseName != difference.caseName || known.hasExpected != difference.hasExpected)
        return false;
    if (known.hasExpected && known.expected != difference.expected)
        return false;
    if (known.anyOurs)
        return true;
    return known.hasOurs == difference.hasOurs && (!known.hasOurs || known.ours == difference.ours);
}

std::string formatDifference(const Difference& difference)
{
    return "difference " + difference.caseName + "\n  expected: " + (difference.hasExpected ? difference.expected : noLine) +
           "\n  ours: " + (difference.hasOurs ? difference.ours : noLine) + "\n";
}

Verdict judge(const std::vector<Difference>& differences, const std::vector<KnownDifference>& known)
{
    Verdict verdict;
    std::vector<bool> used(known.size(), false);
    for (const Difference& difference : differences) {
        bool listed = false;
        for (size_t k = 0; k < known.size() && !listed; ++k) {
            if (matches(known[k], difference)) {
                used[k] = true;
                listed = true;
            }
        }
        if (listed)
            ++verdict.listed;
        else
            verdict.unlisted.push_back(difference);
    }
    for (size_t k = 0; k < known.size(); ++k)
        if (!used[k])
            verdict.stale.push_back(&known[k]);
    return verdict;
}

} // namespace conformance
