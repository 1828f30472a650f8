// The resource area: the chain of chunks (help texts, pictures) from tableStart[8] to the end of
// the file. Read straight from the file at absolute offsets: the read window is neither used nor
// disturbed, so a screen can load a picture between two record reads of a list.
#pragma once

#include "db/database.h"
#include "db/format.h"

#include <cstdint>

struct ChunkCursor {
    uint32_t position = 0;                        // file offset of the header in hand
    uint8_t header[ydb::chunkHeaderSize] = {};    // the chunk header last read
};

inline uint32_t chunkSize(const ChunkCursor& cursor) { return ydb::loadU32(cursor.header + ydb::chunkSizeOffset); }
inline uint32_t chunkBitsOffset(const ChunkCursor& cursor) { return ydb::loadU32(cursor.header + ydb::chunkBitsOffset); }

// Walks the chain from its start to the n-th chunk (from 0) tagged `tag`, stepping over chunks of
// other tags by their size. 0 with the cursor on that chunk's header; -1 when a header could not be
// read in full first (the area ended), or when a chunk claims fewer bytes than its own header or
// runs past 4 GB, which would make the walk stand still or wrap.
int32_t findChunk(const DirectoryDatabase& db, const char (&tag)[2], uint32_t n, ChunkCursor& cursor);

// Reads up to `count` bytes at the absolute file offset into `buffer`: the number that arrived
// (0 when the seek or the read fails).
uint32_t readFileAt(const DirectoryDatabase& db, uint32_t offset, void* buffer, uint32_t count);
