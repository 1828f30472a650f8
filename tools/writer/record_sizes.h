// Sizes of the variable records as the writer lays them out (the body, after the 16-bit length).
#pragma once

#include <cstdint>

#include "tools/writer/byte_writer.h"
#include "tools/writer/edition.h"

inline uint64_t firmBodySize(const EditionFirm& firm) {
    return uint64_t{storedSize(firm.name)} + ydb::refSize + 4 + storedSize(firm.houseSuffix) + storedSize(firm.web) +
           storedSize(firm.email) + storedSize(firm.phone) + ydb::refSize;
}

inline uint64_t streetBodySize(const EditionStreet& street) {
    return uint64_t{storedSize(street.key)} + storedSize(street.name) + ydb::refSize;
}

inline uint64_t detailsBodySize(const EditionFirm& firm) {
    return uint64_t{ydb::refSize} + storedSize(firm.phones) + storedSize(firm.namePrefix) +
           storedSize(firm.rubricCodes) + storedSize(firm.hours) + storedSize(firm.comment);
}
