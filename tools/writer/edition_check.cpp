#include "tools/writer/edition_check.h"

#include "db/format.h"
#include "tools/writer/record_sizes.h"

namespace {

struct Checker {
    std::string& error;

    bool fail(const std::string& what) {
        error = what;
        return false;
    }
    bool text(const std::string& value, const std::string& where) {
        return value.find('\0') == std::string::npos || fail(where + ": a text holds a 0 byte");
    }
    bool index(uint32_t value, size_t count, const std::string& where) {
        return value < count || fail(where + ": index " + std::to_string(value) + " out of range");
    }
    bool body(uint64_t size, const std::string& where) {
        return size <= ydb::maxRecordBody ||
               fail(where + ": record of " + std::to_string(size) + " bytes exceeds the 16-bit length");
    }
};

bool checkFirm(Checker& check, const EditionFirm& firm, size_t streets, const std::string& where) {
    for (const std::string* text : {&firm.name, &firm.houseSuffix, &firm.web, &firm.email, &firm.phone,
                                    &firm.phones, &firm.namePrefix, &firm.rubricCodes, &firm.hours, &firm.comment})
        if (!check.text(*text, where)) return false;
    if (firm.street != noStreet && !check.index(firm.street, streets, where + " street")) return false;
    return check.body(firmBodySize(firm), where) && check.body(detailsBodySize(firm), where + " details");
}

} // namespace

bool checkEdition(const Edition& edition, std::string& error) {
    Checker check{error};
    if (!check.text(edition.title, "title")) return false;
    if (edition.title.size() > ydb::titleMaxLength) return check.fail("title: longer than 80 characters");

    const size_t firms = edition.firms.size();
    if (firms > 0x3FFFFFFF) return check.fail("too many firms");
    for (size_t i = 0; i < edition.rubrics.size(); ++i) {
        const EditionRubric& rubric = edition.rubrics[i];
        const std::string where = "rubric " + std::to_string(i);
        if (!check.text(rubric.code, where) || !check.text(rubric.title, where)) return false;
        if (!rubric.hasFirmList && !rubric.firms.empty()) return check.fail(where + ": firms without a firm list");
        for (uint32_t firm : rubric.firms)
            if (!check.index(firm, firms, where + " firm")) return false;
    }
    for (size_t i = 0; i < edition.streets.size(); ++i) {
        const EditionStreet& street = edition.streets[i];
        const std::string where = "street " + std::to_string(i);
        if (!check.text(street.key, where) || !check.text(street.name, where)) return false;
        if (!check.body(streetBodySize(street), where)) return false;
        if (street.firms.size() * ydb::refSize > ydb::maxStreetListBytes)
            return check.fail(where + ": firm list exceeds the 16-bit byte count");
        for (uint32_t firm : street.firms)
            if (!check.index(firm, firms, where + " firm")) return false;
    }
    for (size_t i = 0; i < firms; ++i)
        if (!checkFirm(check, edition.firms[i], edition.streets.size(), "firm " + std::to_string(i))) return false;
    for (size_t i = 0; i < edition.phones.size(); ++i)
        if (!check.index(edition.phones[i].firm, firms, "telephone " + std::to_string(i) + " firm")) return false;
    for (size_t i = 0; i < edition.chunks.size(); ++i) {
        const EditionChunk& chunk = edition.chunks[i];
        const std::string where = "chunk " + std::to_string(i);
        if (chunk.kind == ChunkKind::picture &&
            (chunk.bytes.size() < ydb::chunkHeaderSize || chunk.bytes.compare(0, 2, "BM") != 0))
            return check.fail(where + ": not a bitmap file");
    }
    return true;
}
