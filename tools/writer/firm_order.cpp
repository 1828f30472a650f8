#include "tools/writer/firm_order.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "db/format.h"
#include "search/search_text.h"

std::string searchKey(const std::string& name) {
    std::vector<char> text(name.begin(), name.end());
    text.push_back('\0');
    upcaseText(text.data());
    const size_t length = compactKey(text.data());
    return std::string(text.data(), length);
}

namespace {

// Unsigned byte order: the reader's prefix search compares code page 1251 bytes as unsigned values.
bool keyBefore(const std::string& a, const std::string& b) {
    const size_t common = std::min(a.size(), b.size());
    const int c = std::memcmp(a.data(), b.data(), common);
    return c != 0 ? c < 0 : a.size() < b.size();
}

} // namespace

std::vector<uint32_t> sortFirmsByKey(const std::vector<EditionFirm>& firms, std::vector<std::string>& keys) {
    keys.clear();
    keys.reserve(firms.size());
    for (const EditionFirm& firm : firms) keys.push_back(searchKey(firm.name));
    std::vector<uint32_t> order(firms.size());
    for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return keyBefore(keys[a], keys[b]); });
    return order;
}

std::vector<PrefixRun> prefixRuns(const std::vector<uint32_t>& order, const std::vector<std::string>& keys) {
    std::vector<PrefixRun> runs;
    for (uint32_t position = 0; position < order.size(); ++position) {
        std::string prefix = keys[order[position]].substr(0, ydb::prefixMaxLength);
        if (runs.empty() || runs.back().prefix != prefix) runs.push_back({std::move(prefix), position});
    }
    return runs;
}
