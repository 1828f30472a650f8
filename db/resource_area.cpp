#include "db/resource_area.h"

#include <cstring>

uint32_t readFileAt(const DirectoryDatabase& db, uint32_t offset, void* buffer, uint32_t count)
{
    LONG high = 0;
    if (SetFilePointer(db.file, static_cast<LONG>(offset), &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR)
        return 0;
    DWORD got = 0;
    if (!ReadFile(db.file, buffer, count, &got, nullptr))
        return 0;
    return got;
}

int32_t findChunk(const DirectoryDatabase& db, const char (&tag)[2], uint32_t n, ChunkCursor& cursor)
{
    cursor.position = tableStart(db, 8);
    std::memset(cursor.header, 0, sizeof cursor.header);
    bool first = true;
    for (uint32_t i = 0; i <= n;) {
        if (!first) {
            const uint32_t size = chunkSize(cursor);
            if (size < ydb::chunkHeaderSize || size > UINT32_MAX - cursor.position)
                return -1;
            cursor.position += size;
        }
        first = false;
        if (readFileAt(db, cursor.position, cursor.header, ydb::chunkHeaderSize) != ydb::chunkHeaderSize)
            return -1;
        if (cursor.header[ydb::chunkTagOffset] == static_cast<uint8_t>(tag[0]) &&
            cursor.header[ydb::chunkTagOffset + 1] == static_cast<uint8_t>(tag[1]))
            ++i;
    }
    return 0;
}
