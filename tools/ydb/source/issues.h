// Problems found in a source edition, each tied to a file, a line and a field.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct SourceIssue {
    std::string file;
    int line = 0;        // 1-based; 0 when the problem concerns the whole file
    int column = 0;      // 1-based, in characters; 0 when no single place is at fault
    std::string field;   // empty when no single field is at fault
    std::string message;
};

struct IssueList {
    std::vector<SourceIssue> items;
    size_t total = 0;          // every issue counted, also those beyond the kept ones
    size_t keepLimit = 200;    // a source broken throughout should not flood the terminal
    size_t unreadable = 0;     // of them, files that could not be read at all
    // What the handheld would take, but not as the publisher surely meant it; never fails a build.
    std::vector<SourceIssue> warnings;

    void add(const std::string& file, int line, const std::string& field, const std::string& message);
    void add(SourceIssue issue);
    // A file of the source that is missing or cannot be read.
    void addUnreadable(const std::string& file, const std::string& message);
    void warn(const std::string& file, int line, const std::string& field, const std::string& message);
    bool empty() const { return total == 0; }
};

// "file:line:column: field: message" (line, column and field left out when absent).
std::string formatIssue(const SourceIssue& issue);
