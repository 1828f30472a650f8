#include "tools/ydb/inspect/resource_chunks.h"

#include <algorithm>
#include <fstream>
#include <map>

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
