// The layout of a firm record's body, walked field by field out of a byte range. The decoder of
// the firm slot and the in-window firm scan both step through records with this one walk, so that
// they agree on where a record ends and on when it does not fit.
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
