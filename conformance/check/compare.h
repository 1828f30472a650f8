// Holds the conformance program's output against the reference record: case by case, line by
// line (aligned, so that one missing message is one difference and not a shifted tail), and each
// difference against the list of known ones.
#pragma once

#include <string>
#include <vector>

namespace conformance {

// A line that is absent on one side is an empty optional, written "(none)".
struct Difference {
    std::string caseName;
    bool hasExpected = false;
    std::string expected;  // the reference's line
    bool hasOurs = false;
    std::string ours;      // our line
};

struct KnownDifference {
    std::string caseName;
    bool hasExpected = false;
    std::string expected;
    bool anyOurs = false;  // "ours: *": whatever we print in its place
    bool hasOurs = false;
    std::string ours;
    std::string reason;
    int line = 0;          // where it is in the list
};

struct Record {
    std::vector<std::string> caseNames;
    std::vector<std::vector<std::string>> caseLines;
};

// "case NAME" lines open cases; lines before the first one belong to a case named "".
Record parseRecord(const std::string& text);
std::vector<Difference> compareRecords(const Record& reference, const Record& ours);

// Blocks of "difference CASE" followed by "expected:", "ours:" and "reason:" lines; "#" starts a
// comment. Answers false with a message for a malformed list.
bool parseKnownDifferences(const std::string& text, std::vector<KnownDifference>& known, std::string& error);
bool matches(const KnownDifference& known, const Difference& difference);

// The block that lists the difference, to paste into the list with its reason.
std::string formatDifference(const Difference& difference);

struct Verdict {
    std::vector<Difference> unlisted;
    std::vector<const KnownDifference*> stale;  // listed, but no longer differing
    size_t listed = 0;                         // differences found in the list
};
Verdict judge(const std::vector<Difference>& differences, const std::vector<KnownDifference>& known);

} // namespace conformance
