// Appending little-endian fields and 0-terminated texts to a table being built.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "db/format.h"

struct ByteWriter {
    std::vector<uint8_t>& out;

    uint32_t size() const { return static_cast<uint32_t>(out.size()); }
    void u8(uint8_t value) { out.push_back(value); }
    void u16(uint16_t value) {
        uint8_t b[2];
        ydb::storeU16(b, value);
        out.insert(out.end(), b, b + 2);
    }
    void u32(uint32_t value) {
        uint8_t b[4];
        ydb::storeU32(b, value);
        out.insert(out.end(), b, b + 4);
    }
    void bytes(const std::string& value) { out.insert(out.end(), value.begin(), value.end()); }
    void text(const std::string& value) {
        bytes(value);
        out.push_back(0);
    }
};

// Size of a text as stored: its bytes and the 0.
inline uint32_t storedSize(const std::string& text) { return static_cast<uint32_t>(text.size()) + 1; }
