#include "tools/ydb/build/edition_from_source.h"

#include "tools/writer/firm_order.h"
#include "tools/ydb/source/phone_index.h"

Edition editionFromSource(SourceEdition& source) {
    Edition e;
    e.title = std::move(source.title);
    e.cityLetter = source.cityLetter;
    for (SourceResource& r : source.resources)
        e.chunks.push_back({r.kind == ResourceKind::picture ? ChunkKind::picture : ChunkKind::help, std::move(r.bytes)});
    for (SourceRubric& r : source.rubrics) {
        EditionRubric out;
        out.code = std::move(r.code);
        out.title = std::move(r.title);
        out.flags = r.flags;
        e.rubrics.push_back(std::move(out));
    }
    for (SourceStreet& s : source.streets) e.streets.push_back({std::move(s.key), std::move(s.name), {}});

    std::vector<EditionFirm> firms;
    firms.reserve(source.firms.size());
    for (SourceFirm& f : source.firms)
        firms.push_back({std::move(f.name), f.street, f.house, std::move(f.houseSuffix), std::move(f.web),
                         std::move(f.email), std::move(f.phone), std::move(f.phones), std::move(f.namePrefix),
                         std::move(f.rubricCodes), std::move(f.hours), std::move(f.comment)});
    // Lists are built over the firms already in white-pages order, so every list is alphabetical.
    std::vector<std::string> keys;
    std::vector<uint32_t> order = sortFirmsByKey(firms, keys);
    e.firms.reserve(firms.size());
    std::vector<uint32_t> numbers;
    for (uint32_t sourceIndex : order) {
        uint32_t index = static_cast<uint32_t>(e.firms.size());
        SourceFirm& from = source.firms[sourceIndex];
        for (uint32_t r : from.rubrics) e.rubrics[r].firms.push_back(index);
        e.streets[from.street].firms.push_back(index);
        e.firms.push_back(std::move(firms[sourceIndex]));
        const EditionFirm& firm = e.firms.back();
        numbers.clear();
        phoneIndexNumbers(firm.phone, numbers);
        size_t start = 0;
        while (start < firm.phones.size()) {
            size_t end = firm.phones.find(',', start);
            if (end == std::string::npos) end = firm.phones.size();
            phoneIndexNumbers(std::string_view(firm.phones).substr(start, end - start), numbers);
            start = end + 1;
        }
        for (uint32_t n : numbers) e.phones.push_back({n, index});
    }
    for (EditionRubric& r : e.rubrics) r.hasFirmList = !r.firms.empty();
    source.firms.clear();
    source.firms.shrink_to_fit();
    return e;
}
