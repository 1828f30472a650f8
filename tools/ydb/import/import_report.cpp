#include "tools/ydb/import/import_report.h"

#include <algorithm>
#include <vector>

void printImportReport(const ImportReport& r, std::FILE* to, size_t unmatchedShown) {
    std::fprintf(to, "%llu objects read, %llu firms written in %llu streets\n",
                 static_cast<unsigned long long>(r.objectsRead), static_cast<unsigned long long>(r.firmsWritten),
                 static_cast<unsigned long long>(r.streetsWritten));
    if (r.duplicatesMerged)
        std::fprintf(to, "  %llu objects merged into a firm mapped more than once\n",
                     static_cast<unsigned long long>(r.duplicatesMerged));
    for (const auto& [reason, n] : r.leftOut)
        std::fprintf(to, "  left out: %llu %s\n", static_cast<unsigned long long>(n), reason.c_str());
    for (const auto& [field, n] : r.cut)
        std::fprintf(to, "  cut: %llu %s\n", static_cast<unsigned long long>(n), field.c_str());
    if (r.unmatchedTags.empty()) return;
    std::vector<std::pair<std::string, uint64_t>> tags(r.unmatchedTags.begin(), r.unmatchedTags.end());
    std::sort(tags.begin(), tags.end(), [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    std::fprintf(to, "  tags no rubric names (their firms are under \"Прочее\"), most frequent first:\n");
    for (size_t i = 0; i < tags.size() && i < unmatchedShown; ++i)
        std::fprintf(to, "    %llu %s\n", static_cast<unsigned long long>(tags[i].second), tags[i].first.c_str());
    if (tags.size() > unmatchedShown) std::fprintf(to, "    ... and %zu more\n", tags.size() - unmatchedShown);
}
