#include "resources/res_file/res_file.h"

namespace resfile {

namespace {

// Reads little-endian fields within the bounds of the file, remembering the first overrun.
class Reader {
public:
    Reader(const std::vector<uint8_t>& bytes, size_t offset, size_t end) : bytes_(bytes), at_(offset), end_(end) {}

    bool ok() const { return ok_; }
    size_t at() const { return at_; }

    uint16_t u16()
    {
        if (!need(2))
            return 0;
        uint16_t value = static_cast<uint16_t>(bytes_[at_] | bytes_[at_ + 1] << 8);
        at_ += 2;
        return value;
    }
    uint32_t u32()
    {
        uint32_t low = u16();
        uint32_t high = u16();
        return low | high << 16;
    }
    // A number (0xFFFF then the id) or a zero-terminated UTF-16 string.
    ResourceKey key()
    {
        ResourceKey key;
        uint16_t first = u16();
        if (first == 0xFFFF) {
            key.id = u16();
            return key;
        }
        for (uint16_t unit = first; ok_ && unit != 0; unit = u16())
            key.text.push_back(static_cast<char16_t>(unit));
        return key;
    }
    void alignTo4(size_t base)
    {
        while ((at_ - base) % 4 != 0 && ok_)
            u16();
    }

private:
    bool need(size_t size)
    {
        if (!ok_ || end_ - at_ < size) {
            ok_ = false;
            return false;
        }
        return true;
    }

    const std::vector<uint8_t>& bytes_;
    size_t at_;
    size_t end_;
    bool ok_ = true;
};

std::string at(size_t offset)
{
    return " (record at offset " + std::to_string(offset) + ")";
}

} // namespace

ReadResult readResFile(const std::vector<uint8_t>& bytes)
{
    ReadResult result;
    size_t offset = 0;
    while (offset < bytes.size()) {
        if (bytes.size() - offset < 8) {
            result.error = "truncated record header" + at(offset);
            return result;
        }
        Reader sizes(bytes, offset, bytes.size());
        uint32_t dataSize = sizes.u32();
        uint32_t headerSize = sizes.u32();
        size_t left = bytes.size() - offset;
        if (headerSize < 8 || headerSize > left || dataSize > left - headerSize) {
            result.error = "record sizes run past the end of the file" + at(offset);
            return result;
        }

        Reader header(bytes, sizes.at(), offset + headerSize);
        Resource resource;
        resource.type = header.key();
        resource.name = header.key();
        header.alignTo4(offset);
        header.u32(); // data version
        resource.memoryFlags = header.u16();
        resource.language = header.u16();
        header.u32(); // version
        header.u32(); // characteristics
        if (!header.ok()) {
            result.error = "record header shorter than its fields" + at(offset);
            return result;
        }

        const uint8_t* data = bytes.data() + offset + headerSize;
        resource.data.assign(data, data + dataSize);
        bool empty = dataSize == 0 && resource.type.isNumber() && resource.type.id == 0;
        if (!empty)
            result.resources.push_back(std::move(resource));

        size_t next = offset + headerSize + dataSize;
        offset = next + (4 - next % 4) % 4;
    }
    return result;
}

} // namespace resfile
