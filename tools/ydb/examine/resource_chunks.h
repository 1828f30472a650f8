// The chain of chunks of the resource area, walked as the handheld walks it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ResourceChunk {
    uint64_t offset;      // in the file
    char tag[3];          // "BM", "HT", or whatever the file holds
    uint32_t size;        // chunkSize
    int number;           // per tag, from 0
    int32_t width = 0, height = 0, bitsPerPixel = 0;  // pictures
};

// Walks from `areaStart` to the end of the file. A chunk smaller than its header or running past
// the end stops the walk; `fault` then says why (empty when the chain ends cleanly).
std::vector<ResourceChunk> walkResourceChunks(const std::string& hostPath, uint32_t areaStart, std::string& fault);

// The whole of a chunk as stored, its header included (for a picture: a whole bitmap file); empty
// when it cannot be read.
std::string readChunk(const std::string& hostPath, const ResourceChunk& chunk);

// Faults of the chain and of its pictures, each with its file offset: a chunk the walk cannot pass,
// and a picture the handheld could not load into a bitmap.
struct ChunkFault {
    uint64_t offset;
    std::string what;
};
std::vector<ChunkFault> checkResourceChunks(const std::string& hostPath, uint32_t areaStart);
