// Substring tests on search text. Names are folded in one pass through a byte table that is
// derived from upcaseText and compactKey themselves, so the folded text is exactly what
// compactKey(upcaseText(copy)) would give, without the copy and the two walks per firm.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "db/record_masks.h"

// Byte tables: for each byte, its upper-case form (`upcase`) and its form in a compacted key
// (`key`, 0 when compactKey drops it). Byte 0 maps to 0 in both.
struct TextFold {
    uint8_t upcase[256];
    uint8_t key[256];
};

const TextFold& textFold();

// Writes compactKey(upcaseText(text[0..length))) to `out` (room for `length` bytes, no 0 added)
// and returns its length.
size_t foldToKey(const char* text, size_t length, char* out);

// Writes upcaseText(text[0..length)) to `out` (room for `length` bytes, no 0 added).
void foldToUpper(const char* text, size_t length, char* out);

// True when `needle` (non-empty) occurs in `hay`.
bool containsText(const char* hay, size_t hayLength, const char* needle, size_t needleLength);

// True when a compacted name key contains `key`: the folded name of `name[0..length)` is
// tested without keeping it.
bool nameContainsKey(const char* name, size_t length, const char* key, size_t keyLength);

// A key about to be tested against many texts, with the raw bytes that can stand for its most
// telling byte under a fold (`map`: textFold().key or .upcase). A text that holds none of them
// cannot contain the key once folded, so most texts are turned away by a memchr without being
// folded at all; the answer is the same as folding every text.
struct PreparedKey {
    const char* key = nullptr;
    size_t length = 0;
    ByteSet witnesses;  // none: no byte narrows enough; every text must be folded
    // What an in-window scan masks: the witnesses above, or those of two neighbouring key bytes.
    ByteSet scanBytes;
};

// What a scan masks: the witnesses of single key bytes, or of two neighbouring key bytes. Pairs
// need a fold that keeps neighbours (one that drops bytes, as compacted keys do, does not); they
// pay where the texts are made of a few bytes that each repeat in most texts, as web addresses
// and e-mails are, and cost twice the comparisons elsewhere.
enum ScanWitnesses { scanSingleBytes, scanNeighbourPairs };

// `always`, when not 0, is a folded byte every text holds after folding (a separator the fold
// adds): a key byte equal to it narrows nothing and is never chosen.
PreparedKey prepareKey(const char* key, size_t length, const uint8_t* map, ScanWitnesses scan, uint8_t always = 0);

// False only when `text[0..length)` cannot contain the key after folding. Inline: a name search
// asks it of every firm.
inline bool mayContainKey(const PreparedKey& key, const char* text, size_t length) {
    for (int i = 0; i < key.witnesses.count; ++i)
        if (std::memchr(text, key.witnesses.bytes[i], length)) return true;
    return key.witnesses.count == 0;
}
