// Reads the fields of one JSON object of the source edition, converting texts to code page 1251 and
// reporting every problem against the object's file and line.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/ydb/source/issues.h"

class FieldReader {
public:
    FieldReader(const nlohmann::json& object, const std::string& file, int line, IssueList& issues);

    // A text field; an absent or null field is empty (an error when `required`). Longer than `limit`
    // characters, not convertible to code page 1251, or holding a 0 character is an error.
    std::string text(const char* field, size_t limit, bool required = false);
    // A list of texts (an absent field is an empty list); each item is checked like `text`.
    std::vector<std::string> textList(const char* field, size_t itemLimit);
    // An unsigned integer within [0, maxValue]; absent gives `fallback`.
    uint32_t number(const char* field, uint32_t maxValue, uint32_t fallback);

    // Reports every key of the object not in `known` (a misspelt field would otherwise be lost).
    void rejectUnknown(std::initializer_list<const char*> known);

    void fail(const std::string& field, const std::string& message);
    bool objectOk() const { return object_.is_object(); }

private:
    std::string convert(const char* field, const nlohmann::json& value, size_t limit);

    const nlohmann::json& object_;
    const std::string& file_;
    int line_;
    IssueList& issues_;
};
