#include "tools/ydb/source/field_reader.h"

#include <cstring>

#include "tools/ydb/source/cp1251.h"

FieldReader::FieldReader(const nlohmann::json& object, const std::string& file, int line, IssueList& issues)
    : object_(object), file_(file), line_(line), issues_(issues) {
    if (!object_.is_object()) fail("", "expected a JSON object");
}

void FieldReader::fail(const std::string& field, const std::string& message) {
    issues_.add(file_, line_, field, message);
}

std::string FieldReader::convert(const char* field, const nlohmann::json& value, size_t limit) {
    if (!value.is_string()) {
        fail(field, "expected a text");
        return {};
    }
    const std::string& utf8 = value.get_ref<const std::string&>();
    std::string out;
    std::string bad;
    if (!utf8ToCp1251(utf8, out, &bad)) {
        fail(field, "character " + bad + " cannot be stored in code page 1251");
        return {};
    }
    if (out.find('\0') != std::string::npos) {
        fail(field, "holds a 0 character");
        return {};
    }
    if (out.size() > limit) {
        fail(field, "longer than " + std::to_string(limit) + " characters (" + std::to_string(out.size()) + ")");
        return {};
    }
    return out;
}

std::string FieldReader::text(const char* field, size_t limit, bool required) {
    if (!object_.is_object()) return {};
    auto it = object_.find(field);
    if (it == object_.end() || it->is_null()) {
        if (required) fail(field, "missing");
        return {};
    }
    std::string out = convert(field, *it, limit);
    if (required && out.empty() && it->is_string() && it->get_ref<const std::string&>().empty())
        fail(field, "empty");
    return out;
}

std::vector<std::string> FieldReader::textList(const char* field, size_t itemLimit) {
    std::vector<std::string> items;
    if (!object_.is_object()) return items;
    auto it = object_.find(field);
    if (it == object_.end() || it->is_null()) return items;
    if (!it->is_array()) {
        fail(field, "expected a list of texts");
        return items;
    }
    for (const auto& item : *it) items.push_back(convert(field, item, itemLimit));
    return items;
}

uint32_t FieldReader::number(const char* field, uint32_t maxValue, uint32_t fallback) {
    if (!object_.is_object()) return fallback;
    auto it = object_.find(field);
    if (it == object_.end() || it->is_null()) return fallback;
    if (!it->is_number_integer() || (it->is_number_integer() && !it->is_number_unsigned() && it->get<int64_t>() < 0)) {
        fail(field, "expected a whole number from 0 to " + std::to_string(maxValue));
        return fallback;
    }
    uint64_t v = it->get<uint64_t>();
    if (v > maxValue) {
        fail(field, "greater than " + std::to_string(maxValue) + " (" + std::to_string(v) + ")");
        return fallback;
    }
    return static_cast<uint32_t>(v);
}

void FieldReader::rejectUnknown(std::initializer_list<const char*> known) {
    if (!object_.is_object()) return;
    for (auto it = object_.begin(); it != object_.end(); ++it) {
        bool found = false;
        for (const char* k : known) found = found || it.key() == k;
        if (!found) fail(it.key(), "unknown field");
    }
}
