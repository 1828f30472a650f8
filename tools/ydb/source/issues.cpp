#include "tools/ydb/source/issues.h"

void IssueList::add(const std::string& file, int line, const std::string& field, const std::string& message) {
    ++total;
    if (items.size() < keepLimit) items.push_back({file, line, field, message});
}

std::string formatIssue(const SourceIssue& issue) {
    std::string text = issue.file;
    if (issue.line > 0) text += ":" + std::to_string(issue.line);
    text += ": ";
    if (!issue.field.empty()) text += issue.field + ": ";
    return text + issue.message;
}
