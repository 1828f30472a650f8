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

    // A large edition is mostly firms: each is moved, never copied, and the source's records are let
    // go before the firms are put in order, which happens in place.
    const size_t count = source.firms.size();
    std::vector<EditionFirm> firms;
    firms.reserve(count);
    std::vector<uint32_t> streetOf(count, noStreet);
    std::vector<std::vector<uint32_t>> rubricsOf(count);
    for (size_t i = 0; i < count; ++i) {
        SourceFirm& f = source.firms[i];
        const uint32_t street = f.street.value_or(noStreet);
        firms.push_back({std::move(f.name), street, f.house, std::move(f.houseSuffix), std::move(f.web),
                         std::move(f.email), std::move(f.phone), std::move(f.phones), std::move(f.namePrefix),
                         std::move(f.rubricCodes), std::move(f.hours), std::move(f.comment)});
        streetOf[i] = street;
        rubricsOf[i] = std::move(f.rubrics);
    }
    source.firms.clear();
    source.firms.shrink_to_fit();

    // Lists are built over the firms already in white-pages order, so every list is alphabetical.
    std::vector<uint32_t> order;
    {
        std::vector<std::string> keys;
        order = sortFirmsByKey(firms, keys);
    }
    std::vector<uint32_t> numbers;
    for (uint32_t index = 0; index < count; ++index) {
        uint32_t sourceIndex = order[index];
        for (uint32_t r : rubricsOf[sourceIndex]) e.rubrics[r].firms.push_back(index);
        // A firm without a street is in no street's list: the street search never finds it.
        if (streetOf[sourceIndex] != noStreet) e.streets[streetOf[sourceIndex]].firms.push_back(index);
        const EditionFirm& firm = firms[sourceIndex];
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
    // Position p takes the firm at order[p], one cycle of the permutation at a time.
    std::vector<bool> placed(count, false);
    for (size_t first = 0; first < count; ++first) {
        if (placed[first]) continue;
        EditionFirm held = std::move(firms[first]);
        size_t at = first;
        while (order[at] != first) {
            firms[at] = std::move(firms[order[at]]);
            placed[at] = true;
            at = order[at];
        }
        firms[at] = std::move(held);
        placed[at] = true;
    }
    e.firms = std::move(firms);
    for (EditionRubric& r : e.rubrics) r.hasFirmList = !r.firms.empty();
    return e;
}
