// The layouts of the firm and details records' bodies, walked field by field out of a byte range.
// The decoders of the slots and the in-window scans both step through records with these walks, so
// that they agree on where a record ends and on when it does not fit.
#pragma once

#include <cstdint>

#include "db/record_cursor.h"

// The fields of one firm record as they stand in the data: texts are code page 1251, not converted,
// and none when the walk missed before them.
struct FirmFields {
    uint16_t bodyLength = 0;
    const char* name = nullptr;
    uint32_t nameLength = 0;
    uint32_t streetRef = 0;
    uint32_t house = 0;
    const char* houseSuffix = nullptr;
    uint32_t houseSuffixLength = 0;
    const char* web = nullptr;
    uint32_t webLength = 0;
    const char* email = nullptr;
    uint32_t emailLength = 0;
    const char* phone = nullptr;
    uint32_t phoneLength = 0;
    uint32_t detailsRef = 0;
};

// The 16-bit body length and the fit test shared with the details record: the whole body must lie
// in the data, even though its fields are then walked one by one.
inline uint16_t walkBodyLength(RecordCursor& in) {
    const uint16_t length = in.u16();
    if (!in.has(length)) in.miss();
    return length;
}

// Walks the body after its length. in.fits tells whether the record was whole; in.position is then
// where the next record starts.
inline void walkFirmBody(RecordCursor& in, FirmFields& fields) {
    fields.name = in.text(&fields.nameLength);
    fields.streetRef = in.u32();
    fields.house = in.u32();
    fields.houseSuffix = in.text(&fields.houseSuffixLength);
    fields.web = in.text(&fields.webLength);
    fields.email = in.text(&fields.emailLength);
    fields.phone = in.text(&fields.phoneLength);
    fields.detailsRef = in.u32();
}

// The fields of one details record as they stand in the data (texts not converted or copied, none
// when the walk missed before them).
struct DetailsFields {
    uint16_t bodyLength = 0;
    uint32_t firmRef = 0;
    const char* phones = nullptr;
    uint32_t phonesLength = 0;
    const char* namePrefix = nullptr;
    uint32_t namePrefixLength = 0;
    const char* rubricCodes = nullptr;
    uint32_t rubricCodesLength = 0;
    const char* hours = nullptr;
    uint32_t hoursLength = 0;
    const char* comment = nullptr;
    uint32_t commentLength = 0;
};

inline void walkDetailsBody(RecordCursor& in, DetailsFields& fields) {
    fields.firmRef = in.u32();
    fields.phones = in.text(&fields.phonesLength);
    fields.namePrefix = in.text(&fields.namePrefixLength);
    fields.rubricCodes = in.text(&fields.rubricCodesLength);
    fields.hours = in.text(&fields.hoursLength);
    fields.comment = in.text(&fields.commentLength);
}
