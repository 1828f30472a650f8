#include "tools/writer/tiny_bitmap.h"

#include <cstdint>

#include "db/format.h"

std::string tinyBitmap() {
    std::string file(14 + 40 + 16, '\0');
    auto* b = reinterpret_cast<uint8_t*>(file.data());
    file[0] = 'B';
    file[1] = 'M';
    ydb::storeU32(b + 2, static_cast<uint32_t>(file.size()));
    ydb::storeU32(b + 10, 54);
    ydb::storeU32(b + 14, 40);
    ydb::storeU32(b + 18, 2);
    ydb::storeU32(b + 22, 2);
    ydb::storeU16(b + 26, 1);
    ydb::storeU16(b + 28, 24);
    return file;
}
