// The random sequence of generated editions (splitmix64): one seed gives the same edition on every
// machine and every run, so a generated edition can be made again instead of kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct SeededRandom {
    uint64_t state;
    uint64_t next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t below(size_t n) { return static_cast<uint32_t>(next() % n); }
    bool chance(int percent) { return below(100) < static_cast<uint32_t>(percent); }
    template <typename T> const T& pick(const std::vector<T>& items) { return items[below(items.size())]; }
    template <typename T, size_t N> const T& pick(const T (&items)[N]) { return items[below(N)]; }
};
