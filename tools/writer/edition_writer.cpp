#include "tools/writer/edition_writer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "tools/writer/byte_writer.h"
#include "tools/writer/edition_check.h"
#include "tools/writer/firm_order.h"
#include "tools/writer/record_sizes.h"

namespace {

using Table = std::vector<uint8_t>;

struct Layout {
    const Edition& edition;
    DatabaseImage& image;
    std::vector<std::string> keys;
    Table tables[ydb::tableCount];
};

// Firm references follow from the record sizes alone, so they are known before any table that
// points at firms is written.
void placeFirms(Layout& layout) {
    DatabaseImage& image = layout.image;
    image.firmOrder = sortFirmsByKey(layout.edition.firms, layout.keys);
    image.firmRefs.assign(layout.edition.firms.size(), 0);
    uint32_t ref = 0;
    for (uint32_t index : image.firmOrder) {
        image.firmRefs[index] = ref;
        ref += ydb::recordLengthSize + static_cast<uint32_t>(firmBodySize(layout.edition.firms[index]));
    }
}

void writeRubricLists(Layout& layout) {
    ByteWriter lists{layout.tables[ydb::tableRubricFirms]};
    ByteWriter rubrics{layout.tables[ydb::tableRubrics]};
    for (const EditionRubric& rubric : layout.edition.rubrics) {
        uint32_t listRef = ydb::noFirmList;
        if (rubric.hasFirmList) {
            listRef = lists.size();
            lists.u32(static_cast<uint32_t>(rubric.firms.size() * ydb::refSize));
            for (uint32_t firm : rubric.firms) lists.u32(layout.image.firmRefs[firm]);
        }
        layout.image.rubricRefs.push_back(rubrics.size());
        layout.image.rubricListRefs.push_back(listRef);
        rubrics.text(rubric.code);
        rubrics.text(rubric.title);
        rubrics.u8(rubric.flags);
        rubrics.u32(listRef);
    }
}

void writeStreets(Layout& layout) {
    ByteWriter lists{layout.tables[ydb::tableStreetFirms]};
    ByteWriter streets{layout.tables[ydb::tableStreets]};
    for (const EditionStreet& street : layout.edition.streets) {
        const uint32_t listRef = lists.size();
        lists.u16(static_cast<uint16_t>(street.firms.size() * ydb::refSize));
        for (uint32_t firm : street.firms) lists.u32(layout.image.firmRefs[firm]);
        layout.image.streetRefs.push_back(streets.size());
        layout.image.streetListRefs.push_back(listRef);
        streets.u16(static_cast<uint16_t>(streetBodySize(street)));
        streets.text(street.key);
        streets.text(street.name);
        streets.u32(listRef);
    }
}

void writeDetails(Layout& layout) {
    ByteWriter details{layout.tables[ydb::tableDetails]};
    layout.image.detailsRefs.assign(layout.edition.firms.size(), 0);
    for (uint32_t index : layout.image.firmOrder) {
        const EditionFirm& firm = layout.edition.firms[index];
        layout.image.detailsRefs[index] = details.size();
        details.u16(static_cast<uint16_t>(detailsBodySize(firm)));
        details.u32(layout.image.firmRefs[index]);
        details.text(firm.phones);
        details.text(firm.namePrefix);
        details.text(firm.rubricCodes);
        details.text(firm.hours);
        details.text(firm.comment);
    }
}

void writeFirms(Layout& layout) {
    ByteWriter firms{layout.tables[ydb::tableFirms]};
    const DatabaseImage& image = layout.image;
    for (uint32_t index : image.firmOrder) {
        const EditionFirm& firm = layout.edition.firms[index];
        firms.u16(static_cast<uint16_t>(firmBodySize(firm)));
        firms.text(firm.name);
        firms.u32(firm.street == noStreet ? noStreet : image.streetRefs[firm.street]);
        firms.u32(firm.house);
        firms.text(firm.houseSuffix);
        firms.text(firm.web);
        firms.text(firm.email);
        firms.text(firm.phone);
        firms.u32(image.detailsRefs[index]);
    }
}

void writePrefixIndex(Layout& layout) {
    ByteWriter index{layout.tables[ydb::tablePrefixes]};
    const DatabaseImage& image = layout.image;
    for (const PrefixRun& run : prefixRuns(image.firmOrder, layout.keys)) {
        std::string field = run.prefix;
        field.resize(ydb::prefixFieldSize, '\0');
        index.bytes(field);
        index.u32(image.firmRefs[image.firmOrder[run.firstPosition]]);
        layout.image.prefixes.push_back(run.prefix);
    }
}

void writePhones(Layout& layout) {
    std::vector<EditionPhone> phones = layout.edition.phones;
    std::stable_sort(phones.begin(), phones.end(),
                     [](const EditionPhone& a, const EditionPhone& b) { return a.number < b.number; });
    ByteWriter index{layout.tables[ydb::tablePhones]};
    for (const EditionPhone& phone : phones) {
        index.u32(phone.number);
        index.u32(layout.image.firmRefs[phone.firm]);
    }
}

uint64_t chunkSize(const EditionChunk& chunk) {
    return chunk.kind == ChunkKind::help ? ydb::chunkHeaderSize + chunk.bytes.size() : chunk.bytes.size();
}

void writeChunk(ByteWriter& out, const EditionChunk& chunk) {
    const auto size = static_cast<uint32_t>(chunkSize(chunk));
    if (chunk.kind == ChunkKind::picture) {
        // The bitmap file header is the chunk header; its size field is made to match the chunk.
        std::string file = chunk.bytes;
        ydb::storeU32(file.data() + ydb::chunkSizeOffset, size);
        out.bytes(file);
        return;
    }
    out.bytes(std::string(ydb::chunkTagHelp, 2));
    out.u32(size);
    out.bytes(std::string(ydb::chunkHeaderSize - ydb::chunkSizeOffset - 4, '\0'));
    out.bytes(chunk.bytes);
}

void writeHeader(Layout& layout, uint8_t* header) {
    const Edition& edition = layout.edition;
    std::memcpy(header + ydb::magicOffset, ydb::magic, ydb::magicSize);
    for (uint32_t k = 0; k < ydb::tableStartCount; ++k)
        ydb::storeU32(header + ydb::tableStartOffset + 4 * k, layout.image.tableStart[k]);
    ydb::storeU32(header + ydb::rubricCountOffset, static_cast<uint32_t>(edition.rubrics.size()));
    ydb::storeU32(header + ydb::prefixCountOffset, static_cast<uint32_t>(layout.image.prefixes.size()));
    ydb::storeU32(header + ydb::streetCountOffset, static_cast<uint32_t>(edition.streets.size()));
    ydb::storeU32(header + ydb::phoneCountOffset, static_cast<uint32_t>(edition.phones.size()));
    header[ydb::cityLetterOffset] = edition.cityLetter;
    std::memcpy(header + ydb::titleOffset, edition.title.data(), edition.title.size());
}

} // namespace

int32_t writeEdition(const Edition& edition, DatabaseImage& image, std::string& error) {
    image = DatabaseImage{};
    if (!checkEdition(edition, error)) return writeRefused;

    Layout layout{edition, image, {}, {}};
    placeFirms(layout);
    writeRubricLists(layout);
    writeStreets(layout);
    writeDetails(layout);
    writeFirms(layout);
    writePrefixIndex(layout);
    writePhones(layout);

    uint64_t total = ydb::headerSize;
    for (int k = 0; k < ydb::tableCount; ++k) total += layout.tables[k].size();
    for (const EditionChunk& chunk : edition.chunks) total += chunkSize(chunk);
    if (total > 0xFFFFFFFFu) {
        error = "the file would exceed 4 GB";
        image = DatabaseImage{};
        return writeRefused;
    }

    image.bytes.assign(ydb::headerSize, 0);
    image.bytes.reserve(static_cast<size_t>(total));
    for (int k = 0; k < ydb::tableCount; ++k) {
        image.tableStart[k] = static_cast<uint32_t>(image.bytes.size());
        image.bytes.insert(image.bytes.end(), layout.tables[k].begin(), layout.tables[k].end());
    }
    image.tableStart[ydb::resourceArea] = static_cast<uint32_t>(image.bytes.size());
    ByteWriter resources{image.bytes};
    for (const EditionChunk& chunk : edition.chunks) {
        image.chunkOffsets.push_back(resources.size());
        writeChunk(resources, chunk);
    }
    writeHeader(layout, image.bytes.data());
    return writeOk;
}

int32_t saveImage(const DatabaseImage& image, const std::string& hostPath, std::string& error) {
    std::FILE* file = std::fopen(hostPath.c_str(), "wb");
    if (!file) {
        error = "cannot create " + hostPath;
        return writeFileFailed;
    }
    const size_t written = std::fwrite(image.bytes.data(), 1, image.bytes.size(), file);
    const bool closed = std::fclose(file) == 0;
    if (written != image.bytes.size() || !closed) {
        error = "cannot write " + hostPath;
        return writeFileFailed;
    }
    return writeOk;
}
