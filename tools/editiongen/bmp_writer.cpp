#include "tools/editiongen/bmp_writer.h"

#include <cstdint>
#include <unordered_map>

namespace {

void put16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

std::string headers(const Canvas& c, int bpp, uint32_t colours) {
    uint32_t rowSize = (static_cast<uint32_t>(c.width) * bpp + 31) / 32 * 4;
    uint32_t offBits = 14 + 40 + 4 * colours;
    std::string s;
    s += "BM";
    put32(s, offBits + rowSize * static_cast<uint32_t>(c.height));
    put32(s, 0);
    put32(s, offBits);
    put32(s, 40);
    put32(s, static_cast<uint32_t>(c.width));
    put32(s, static_cast<uint32_t>(c.height));  // bottom-up rows
    put16(s, 1);
    put16(s, static_cast<uint32_t>(bpp));
    put32(s, 0);
    put32(s, rowSize * static_cast<uint32_t>(c.height));
    put32(s, 3780);  // 96 dpi
    put32(s, 3780);
    put32(s, colours);
    put32(s, 0);
    return s;
}

} // namespace

std::string encodeBmp24(const Canvas& c) {
    std::string s = headers(c, 24, 0);
    size_t pad = (4 - (c.width * 3) % 4) % 4;
    for (int y = c.height - 1; y >= 0; --y) {
        for (int x = 0; x < c.width; ++x) {
            const Rgb& p = c.pixels[static_cast<size_t>(y) * c.width + x];
            s += static_cast<char>(p.b);
            s += static_cast<char>(p.g);
            s += static_cast<char>(p.r);
        }
        s.append(pad, '\0');
    }
    return s;
}

std::vector<Rgb> makePalette(const std::vector<Rgb>& exact) {
    std::vector<Rgb> palette = exact;
    for (int i = 0; i < 32 && palette.size() < 256; ++i) {
        uint8_t v = static_cast<uint8_t>(i * 255 / 31);
        palette.push_back({v, v, v});
    }
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                if (palette.size() < 256)
                    palette.push_back({static_cast<uint8_t>(r * 51), static_cast<uint8_t>(g * 51), static_cast<uint8_t>(b * 51)});
    return palette;
}

std::string encodeBmp8(const Canvas& c, const std::vector<Rgb>& palette) {
    std::string s = headers(c, 8, static_cast<uint32_t>(palette.size()));
    for (const Rgb& p : palette) {
        s += static_cast<char>(p.b);
        s += static_cast<char>(p.g);
        s += static_cast<char>(p.r);
        s += '\0';
    }
    std::unordered_map<uint32_t, uint8_t> cache;
    auto nearest = [&](const Rgb& p) {
        uint32_t key = (uint32_t{p.r} << 16) | (uint32_t{p.g} << 8) | p.b;
        auto it = cache.find(key);
        if (it != cache.end()) return it->second;
        int best = 0;
        long bestDistance = -1;
        for (size_t i = 0; i < palette.size(); ++i) {
            long dr = p.r - palette[i].r, dg = p.g - palette[i].g, db = p.b - palette[i].b;
            long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
            if (bestDistance < 0 || d < bestDistance) bestDistance = d, best = static_cast<int>(i);
        }
        cache.emplace(key, static_cast<uint8_t>(best));
        return static_cast<uint8_t>(best);
    };
    size_t pad = (4 - c.width % 4) % 4;
    for (int y = c.height - 1; y >= 0; --y) {
        for (int x = 0; x < c.width; ++x) s += static_cast<char>(nearest(c.pixels[static_cast<size_t>(y) * c.width + x]));
        s.append(pad, '\0');
    }
    return s;
}
