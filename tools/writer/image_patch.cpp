#include "tools/writer/image_patch.h"

#include <cstring>

namespace {

bool fits(const DatabaseImage& image, uint32_t at, size_t size) {
    return at <= image.bytes.size() && size <= image.bytes.size() - at;
}

} // namespace

bool patchU8(DatabaseImage& image, uint32_t at, uint8_t value) {
    if (!fits(image, at, 1)) return false;
    image.bytes[at] = value;
    return true;
}

bool patchU16(DatabaseImage& image, uint32_t at, uint16_t value) {
    if (!fits(image, at, 2)) return false;
    ydb::storeU16(image.bytes.data() + at, value);
    return true;
}

bool patchU32(DatabaseImage& image, uint32_t at, uint32_t value) {
    if (!fits(image, at, 4)) return false;
    ydb::storeU32(image.bytes.data() + at, value);
    return true;
}

bool patchBytes(DatabaseImage& image, uint32_t at, std::string_view bytes) {
    if (!fits(image, at, bytes.size())) return false;
    std::memcpy(image.bytes.data() + at, bytes.data(), bytes.size());
    return true;
}

bool setTableStart(DatabaseImage& image, int k, uint32_t value) {
    if (k < 0 || k >= static_cast<int>(ydb::tableStartCount)) return false;
    if (!patchU32(image, ydb::tableStartOffset + 4 * static_cast<uint32_t>(k), value)) return false;
    image.tableStart[k] = value;
    return true;
}

bool truncateImage(DatabaseImage& image, uint32_t size) {
    if (size > image.bytes.size()) return false;
    image.bytes.resize(size);
    return true;
}
