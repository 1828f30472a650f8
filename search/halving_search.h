// The halving search that both fixed-size indexes (name prefixes, telephones) are searched with.
// It keeps the devices' probing rules exactly, including where it gives up: it stops when the
// middle does not move, so a key between two neighbouring entries is not found.
#pragma once

#include <cstdint>

struct HalvingResult {
    bool found;
    int32_t index;  // the entry that compared equal
    int32_t lo;     // the lower bound when the search ended
};

// `probe(index)` reads entry `index` and returns <0 when it is smaller than the key, 0 when
// equal, >0 when greater, or probeFailed when it cannot be read (the search then gives up).
constexpr int probeFailed = 0x7FFFFFFF;

template <typename Probe>
HalvingResult halvingSearch(int32_t count, int probeLimit, Probe probe) {
    int32_t lo = 0, hi = count, mid = count / 2, prev = -1;
    if (mid < 0) return {false, -1, lo};
    for (int probes = probeLimit; probes > 0; --probes) {
        if (mid > hi || lo >= hi || mid == prev) break;
        prev = mid;
        const int order = probe(mid);
        if (order == probeFailed) break;
        if (order == 0) return {true, mid, lo};
        if (order < 0) {
            lo = mid;
            mid = static_cast<int32_t>((static_cast<int64_t>(hi) + mid) / 2);
        } else {
            hi = mid;
            mid = static_cast<int32_t>((static_cast<int64_t>(lo) + mid) / 2);
        }
        if (mid < lo) break;
    }
    return {false, -1, lo};
}
