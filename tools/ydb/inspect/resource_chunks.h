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
