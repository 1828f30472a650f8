// Problems found in a source edition, each tied to a file, a line and a field.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct SourceIssue {
    std::string file;
    int line = 0;        // 1-based; 0 when the problem concerns the whole file
    std::string field;   // empty when no single field is at fault
    std::string message;
};

struct IssueList {
    std::vector<SourceIssue> items;
    size_t total = 0;          // every issue counted, also those beyond the kept ones
    size_t keepLimit = 200;    // a source broken throughout should not flood the terminal

    void add(const std::string& file, int line, const std::string& field, const std::string& message);
    bool empty() const { return total == 0; }
};

// "file:line: field: message" (line and field left out when absent).
std::string formatIssue(const SourceIssue& issue);
