// Field-by-field decoding out of a byte range that never reads past its end. A field that would
// reach past it marks the decode as not fitting; the reader then re-reads from the record's start.
#pragma once

#include <cstdint>
#include <cstring>

#include "db/format.h"

struct RecordCursor {
    const uint8_t* data;
    uint32_t length;    // bytes of data
    uint32_t position;  // next byte to decode
    bool fits = true;

    bool has(uint32_t bytes) const { return fits && bytes <= length - position; }
    void miss() { fits = false; }

    uint8_t u8() {
        if (!has(1)) return miss(), 0;
        return data[position++];
    }
    uint16_t u16() {
        if (!has(2)) return miss(), 0;
        const uint16_t value = ydb::loadU16(data + position);
        position += 2;
        return value;
    }
    uint32_t u32() {
        if (!has(4)) return miss(), 0;
        const uint32_t value = ydb::loadU32(data + position);
        position += 4;
        return value;
    }
    void skip(uint32_t bytes) {
        if (!has(bytes)) return miss();
        position += bytes;
    }
    // The text at the position; advances past its 0 byte. *textLength gets its length. None when its
    // 0 byte is not within the data.
    const char* text(uint32_t* textLength = nullptr) {
        if (!fits || position >= length) return miss(), nullptr;
        const auto* start = data + position;
        const void* end = std::memchr(start, 0, length - position);
        if (!end) return miss(), nullptr;
        const auto n = static_cast<uint32_t>(static_cast<const uint8_t*>(end) - start);
        if (textLength) *textLength = n;
        position += n + 1;
        return reinterpret_cast<const char*>(start);
    }
};
