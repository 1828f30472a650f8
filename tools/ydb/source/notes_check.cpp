#include "tools/ydb/source/notes_check.h"

#include <algorithm>

#include "tools/ydb/source/cp1251.h"

std::vector<std::string> noteProblems(std::string_view comment, const std::vector<std::string>& rubricCodes) {
    std::vector<std::string> problems;
    size_t at = 0;
    while ((at = comment.find('|', at)) != std::string_view::npos) {
        // A note ends at the next bar; what it says is no key, whatever it looks like.
        if (at + 1 < comment.size() && comment[at + 1] == '$') {
            const size_t end = comment.find('|', at + 2);
            at = end == std::string_view::npos ? comment.size() : end + 1;
            continue;
        }
        if (at + 3 >= comment.size() || comment[at + 3] != '|') {
            ++at;
            continue;
        }
        const std::string_view key = comment.substr(at + 1, 2);
        const std::string shown = "|" + cp1251ToUtf8(key) + "|";
        const bool filed = std::any_of(rubricCodes.begin(), rubricCodes.end(),
                                       [&](const std::string& code) { return code.compare(0, 2, key) == 0; });
        if (!filed)
            problems.push_back("notes under " + shown + ", but no rubric of the firm has a code beginning " +
                               cp1251ToUtf8(key) + ": the card never shows them");
        // The card takes the first "|$" after the key, however far; none means no note at all.
        const size_t note = comment.find("|$", at + 3);
        if (note == std::string_view::npos) {
            problems.push_back(shown + " has no |$ after it: write the note as " + shown + " text |$note|");
            break;
        }
        at = note;
    }
    return problems;
}
