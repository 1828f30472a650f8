// Reading a compiled resource file (.res, as the resource compiler writes it): a sequence of
// records, each a header (data size, header size, type, name, flags, language) and the data,
// both aligned to 4 bytes. The first record of a file is an empty one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace resfile {

// A type or name: a number (id), or a UTF-16 string when `text` is not empty.
struct ResourceKey {
    uint16_t id = 0;
    std::u16string text;
    bool isNumber() const { return text.empty(); }
};

struct Resource {
    ResourceKey type;
    ResourceKey name;
    uint16_t language = 0;
    uint16_t memoryFlags = 0;
    std::vector<uint8_t> data;
};

struct ReadResult {
    std::vector<Resource> resources; // the empty records left out
    std::string error;               // what is wrong and at which offset; empty when the file is sound
};

ReadResult readResFile(const std::vector<uint8_t>& bytes);

} // namespace resfile
