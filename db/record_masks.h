// Bit masks of a stretch of the read window, one bit a byte, made sixteen bytes at a time: where
// its 0 bytes are (the ends of the texts) and where any of a few chosen bytes is (or a chosen pair
// of bytes begins). The in-window
// scans find the texts of a sound record from the first mask and pass over a record whose texts
// hold none of the chosen bytes, without walking its bytes one by one.
#pragma once

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Up to four bytes (not 0), one of which a text must hold to be worth a closer look; with none,
// every text is. With followers as well, the text must hold one of the bytes followed right away
// by one of the followers: two neighbouring letters of a key turn away far more texts than one,
// where a fold keeps neighbours next to each other.
struct ByteSet {
    uint8_t bytes[4] = {};
    int count = 0;
    uint8_t followers[4] = {};
    int followerCount = 0;
};

struct WindowMasks {
    static constexpr uint32_t span = 4096;  // bytes masked at a time
    uint32_t base = 0;                      // window offset of bit 0
    uint32_t length = 0;                    // bytes masked, a multiple of 64; 0: none
    // One word more than the span, always 0, so that bitsAt may read the word after the last.
    uint64_t zeros[span / 64 + 1];
    uint64_t chosen[span / 64 + 1];
};

namespace record_masks {

using Bytes16 = uint8_t __attribute__((vector_size(16)));

inline Bytes16 load16(const uint8_t* at) {
    Bytes16 value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// Bit i set where lane i of a comparison's result is true.
inline uint64_t laneMask(Bytes16 lanes) {
#if defined(__SSE2__)
    return static_cast<uint32_t>(_mm_movemask_epi8(reinterpret_cast<__m128i>(lanes)));
#else
    uint64_t halves[2];
    std::memcpy(halves, &lanes, sizeof halves);
    uint64_t mask = 0;
    // One distinct bit per lane, gathered into the top byte by the multiplication.
    for (int h = 0; h < 2; ++h) mask |= (((halves[h] & 0x8040201008040201ull) * 0x0101010101010101ull) >> 56) << (8 * h);
    return mask;
#endif
}

}  // namespace record_masks

namespace record_masks {

// The loop of maskWindow, with pairs or without: the test is made once, not sixteen bytes at a time.
template <bool pairs>
inline void maskWords(WindowMasks& masks, const uint8_t* at, uint32_t words, const ByteSet& set) {
    // Locals, so that the stores into the masks do not make the loop read the set again.
    const int count = set.count;
    const int followers = set.followerCount;
    Bytes16 wanted[4] = {};
    Bytes16 after[4] = {};
    for (int i = 0; i < count; ++i) wanted[i] += set.bytes[i];
    for (int i = 0; i < followers; ++i) after[i] += set.followers[i];
    for (uint32_t w = 0; w < words; ++w, at += 64) {
        const Bytes16 blocks[4] = {load16(at), load16(at + 16), load16(at + 32), load16(at + 48)};
        uint64_t zeros = 0;
        uint64_t chosen = 0;
        for (int b = 0; b < 4; ++b) {
            zeros |= laneMask(reinterpret_cast<Bytes16>(blocks[b] == 0)) << (16 * b);
            if (count == 0) continue;
            auto hits = blocks[b] == wanted[0];
            if (count > 1) hits |= blocks[b] == wanted[1];
            if (count > 2) hits |= blocks[b] == wanted[2];
            if (count > 3) hits |= blocks[b] == wanted[3];
            if constexpr (pairs) {
                const Bytes16 next = load16(at + 16 * b + 1);
                auto seconds = next == after[0];
                if (followers > 1) seconds |= next == after[1];
                if (followers > 2) seconds |= next == after[2];
                if (followers > 3) seconds |= next == after[3];
                hits &= seconds;
            }
            chosen |= laneMask(reinterpret_cast<Bytes16>(hits)) << (16 * b);
        }
        masks.zeros[w] = zeros;
        masks.chosen[w] = chosen;
    }
}

}  // namespace record_masks

// Masks window[start, start + available) from `start` on: as much of it as fills whole words,
// up to the span. `set` may be empty (no chosen mask is made).
inline void maskWindow(WindowMasks& masks, const uint8_t* window, uint32_t start, uint32_t available,
                       const ByteSet& set) {
    const bool pairs = set.count > 0 && set.followerCount > 0;
    // A pair's second byte is read one place on, so the last masked byte needs one after it.
    const uint32_t usable = pairs && available > 0 ? available - 1 : available;
    const uint32_t words = (usable < WindowMasks::span ? usable : WindowMasks::span) / 64;
    if (pairs)
        record_masks::maskWords<true>(masks, window + start, words, set);
    else
        record_masks::maskWords<false>(masks, window + start, words, set);
    masks.zeros[words] = masks.chosen[words] = 0;
    masks.base = start;
    masks.length = words * 64;
}

// The 64 bits of a mask from bit `at` (below the masked length) on.
inline uint64_t bitsAt(const uint64_t* mask, uint32_t at) {
    const uint32_t shift = at % 64;
    // Two steps for the next word, so that a shift of 0 does not shift it by 64.
    return (mask[at / 64] >> shift) | ((mask[at / 64 + 1] << 1) << (63 - shift));
}

// The `n` lowest bits (n at most 64).
inline uint64_t lowBits(uint32_t n) { return n >= 64 ? ~uint64_t{0} : (uint64_t{1} << n) - 1; }

// The first set bit of a mask at or after `from` and before `end` (both within the masked
// length), or `end` when there is none.
inline uint32_t nextBit(const uint64_t* mask, uint32_t from, uint32_t end) {
    for (uint32_t at = from; at < end; at = (at / 64 + 1) * 64) {
        const uint64_t bits = mask[at / 64] >> (at % 64);
        if (bits) {
            const uint32_t found = at + static_cast<uint32_t>(__builtin_ctzll(bits));
            return found < end ? found : end;
        }
    }
    return end;
}

// True when the masks cover window[start, end), made again from `start` when they do not; false
// when they cannot (too near the window's end, or too long a stretch).
inline bool maskedThrough(WindowMasks& masks, const uint8_t* window, uint32_t windowLength, const ByteSet& set,
                          uint32_t start, uint32_t end) {
    if (start >= masks.base && end <= masks.base + masks.length) return true;
    maskWindow(masks, window, start, windowLength - start, set);
    return end <= masks.base + masks.length;
}
