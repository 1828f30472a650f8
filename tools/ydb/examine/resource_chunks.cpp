#include "tools/ydb/examine/resource_chunks.h"

#include <algorithm>
#include <fstream>
#include <map>

#include "tools/ydb/source/bitmap_check.h"

namespace {
uint32_t u32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
} // namespace

std::vector<ResourceChunk> walkResourceChunks(const std::string& hostPath, uint32_t areaStart, std::string& fault) {
    std::vector<ResourceChunk> chunks;
    std::ifstream in(hostPath, std::ios::binary);
    in.seekg(0, std::ios::end);
    uint64_t fileSize = static_cast<uint64_t>(in.tellg());
    std::map<std::string, int> numbers;
    uint64_t at = areaStart;
    fault.clear();
    while (at + 14 <= fileSize) {
        unsigned char h[14 + 40] = {};
        in.seekg(static_cast<std::streamoff>(at));
        in.read(reinterpret_cast<char*>(h), static_cast<std::streamsize>(std::min<uint64_t>(sizeof h, fileSize - at)));
        ResourceChunk c{at, {static_cast<char>(h[0]), static_cast<char>(h[1]), 0}, u32(h + 2), 0};
        c.number = numbers[c.tag]++;
        if (c.size < 14) {
            fault = "chunk at " + std::to_string(at) + " is smaller than its header";
            break;
        }
        if (at + c.size > fileSize) {
            fault = "chunk at " + std::to_string(at) + " runs past the end of the file";
            break;
        }
        if (c.tag[0] == 'B' && c.tag[1] == 'M' && c.size >= 14 + 16) {
            c.width = static_cast<int32_t>(u32(h + 18));
            c.height = static_cast<int32_t>(u32(h + 22));
            c.bitsPerPixel = h[28] | h[29] << 8;
        }
        chunks.push_back(c);
        at += c.size;
    }
    if (fault.empty() && at != fileSize) fault = "the last " + std::to_string(fileSize - at) + " bytes are no whole chunk header";
    return chunks;
}

std::string readChunk(const std::string& hostPath, const ResourceChunk& chunk) {
    std::ifstream in(hostPath, std::ios::binary);
    std::string bytes(chunk.size, '\0');
    in.seekg(static_cast<std::streamoff>(chunk.offset));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return in ? bytes : std::string();
}

std::vector<ChunkFault> checkResourceChunks(const std::string& hostPath, uint32_t areaStart) {
    std::vector<ChunkFault> faults;
    std::string fault;
    std::vector<ResourceChunk> chunks = walkResourceChunks(hostPath, areaStart, fault);
    for (const ResourceChunk& c : chunks) {
        if (c.tag[0] != 'B' || c.tag[1] != 'M') continue;
        std::string bytes = readChunk(hostPath, c);
        std::string why;
        if (bytes.empty()) why = "cannot be read";
        else if (!checkBitmap(bytes, why)) why = "not a bitmap the handheld can load: " + why;
        else continue;
        faults.push_back({c.offset, "picture " + std::to_string(c.number) + " " + why});
    }
    // The walk stops at the first chunk it cannot pass, right after the last one it could.
    if (!fault.empty()) faults.push_back({chunks.empty() ? areaStart : chunks.back().offset + chunks.back().size, fault});
    return faults;
}
