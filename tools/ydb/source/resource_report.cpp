#include "tools/ydb/source/resource_report.h"

#include <algorithm>

#include "tools/ydb/source/edition_needs.h"

namespace {

int32_t u32At(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + static_cast<size_t>(i)]);
    return static_cast<int32_t>(v);
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

} // namespace

void warnAboutResources(const SourceEdition& edition, IssueList& issues) {
    EditionResources found;
    std::vector<const SourceResource*> pictures;
    const SourceResource* help = nullptr;
    for (const SourceResource& r : edition.resources) {
        if (r.kind == ResourceKind::help) {
            if (!help) help = &r;
            continue;
        }
        // The reader has checked the bitmap's header already.
        pictures.push_back(&r);
        found.pictures.push_back({u32At(r.bytes, 18), u32At(r.bytes, 22)});
    }
    found.hasHelp = help != nullptr;
    if (help) found.help = help->bytes;
    for (const ResourceWarning& w : resourceWarnings(found)) {
        if (w.subject == ResourceWarning::Subject::help) issues.warn(help->file, 0, "", w.message);
        else if (w.subject == ResourceWarning::Subject::picture) issues.warn(pictures[static_cast<size_t>(w.picture)]->file, 0, "", w.message);
        else issues.warn("edition.json", 0, "resources", w.message);
    }
    // The handheld finds the pages whatever the case of their names.
    for (const std::string& w : missingPageWarnings(edition.cityLetter, [&](const std::string& file) {
             return std::any_of(edition.pages.begin(), edition.pages.end(),
                                [&](const SourcePage& p) { return lower(p.name) == file; });
         }))
        issues.warn("html/", 0, "", w);
}
