#include "tools/ydb/source/issues.h"

void IssueList::add(SourceIssue issue) {
    ++total;
    if (items.size() < keepLimit) items.push_back(std::move(issue));
}

void IssueList::add(const std::string& file, int line, const std::string& field, const std::string& message) {
    add(SourceIssue{file, line, 0, field, message});
}

void IssueList::addUnreadable(const std::string& file, const std::string& message) {
    ++unreadable;
    add(file, 0, "", message);
}

void IssueList::warn(const std::string& file, int line, const std::string& field, const std::string& message) {
    if (warnings.size() < keepLimit) warnings.push_back({file, line, 0, field, "warning: " + message});
}

std::string formatIssue(const SourceIssue& issue) {
    std::string text = issue.file;
    if (issue.line > 0) text += ":" + std::to_string(issue.line);
    if (issue.line > 0 && issue.column > 0) text += ":" + std::to_string(issue.column);
    text += ": ";
    if (!issue.field.empty()) text += issue.field + ": ";
    return text + issue.message;
}
