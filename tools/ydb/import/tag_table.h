// The table that says which map objects are firms and under which rubrics they go: a text file a
// publisher may edit (tag_rubrics.txt is the default, built into the program).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

struct TagRubric {
    std::string title;      // code page 1251
    uint32_t heading = 0;   // index into TagTable::headings
};

struct TagTable {
    std::vector<std::string> firmKeys;
    std::unordered_set<std::string> notFirms;                       // "key=value" or "key=*"
    std::vector<std::string> headings;                              // code page 1251
    std::vector<TagRubric> rubrics;
    std::unordered_map<std::string, std::vector<uint32_t>> byTag;   // "key=value" or "key=*": rubrics
};

// Reads the table; on a fault returns false with `error` as "NAME:LINE: what is wrong".
bool parseTagTable(std::string_view text, const std::string& name, TagTable& table, std::string& error);

// The table shipped with the program.
std::string_view defaultTagTableText();

// What the table says of one object's tags.
struct TagVerdict {
    bool businessKind = false;            // it has a tag of a firm key that is not "not a firm"
    bool onlyNotFirms = false;            // it has firm keys, every one of them "not a firm"
    std::vector<uint32_t> rubrics;        // distinct, in table order
    std::vector<std::string> unmatched;   // its "key=value" business tags that no row names
};

// `tagOf(key)` gives the value of a tag, or nullptr when the object has none.
template <typename TagOf> TagVerdict judgeTags(const TagTable& table, TagOf tagOf);

bool isFirmKey(const TagTable& table, std::string_view key);
void addTagVerdict(const TagTable& table, std::string_view key, std::string_view value, TagVerdict& verdict);

template <typename TagOf> TagVerdict judgeTags(const TagTable& table, TagOf tagOf) {
    TagVerdict verdict;
    bool anyKey = false;
    for (const std::string& key : table.firmKeys)
        if (const char* value = tagOf(key.c_str())) {
            anyKey = true;
            addTagVerdict(table, key, value, verdict);
        }
    verdict.onlyNotFirms = anyKey && !verdict.businessKind;
    return verdict;
}
