#include "search/text_match.h"

#include <cstring>
#include <string>

#include "search/search_text.h"

namespace {

TextFold makeFold() {
    // Both operations work byte by byte, so applying them to each byte alone gives their tables.
    TextFold fold{};
    for (int b = 1; b < 256; ++b) {
        char one[2] = {static_cast<char>(b), 0};
        upcaseText(one);
        fold.upcase[b] = static_cast<uint8_t>(one[0]);
        compactKey(one);
        fold.key[b] = static_cast<uint8_t>(one[0]);
    }
    return fold;
}

// Made before main: it reads only search_text's constant tables, and the name scan looks it up
// once per firm without a guard.
const TextFold foldTables = makeFold();

}  // namespace

const TextFold& textFold() { return foldTables; }

size_t foldToKey(const char* text, size_t length, char* out) {
    const uint8_t* map = textFold().key;
    size_t n = 0;
    for (size_t i = 0; i < length; ++i) {
        const uint8_t c = map[static_cast<uint8_t>(text[i])];
        out[n] = static_cast<char>(c);
        n += c != 0;
    }
    return n;
}

void foldToUpper(const char* text, size_t length, char* out) {
    const uint8_t* map = textFold().upcase;
    for (size_t i = 0; i < length; ++i) out[i] = static_cast<char>(map[static_cast<uint8_t>(text[i])]);
}

bool containsText(const char* hay, size_t hayLength, const char* needle, size_t needleLength) {
    if (needleLength == 0 || needleLength > hayLength) return false;
    // Names and keys are short: finding the first byte and comparing the rest beats memmem's
    // set-up, which costs more than the whole comparison of a 30-byte name.
    const char first = needle[0];
    const char* at = hay;
    const char* last = hay + (hayLength - needleLength);
    while (at <= last) {
        const void* hit = std::memchr(at, first, static_cast<size_t>(last - at) + 1);
        if (!hit) return false;
        at = static_cast<const char*>(hit);
        if (std::memcmp(at + 1, needle + 1, needleLength - 1) == 0) return true;
        ++at;
    }
    return false;
}

bool nameContainsKey(const char* name, size_t length, const char* key, size_t keyLength) {
    if (keyLength == 0 || keyLength > length) return false;
    // Names of a valid edition are far shorter than the local buffer; longer ones fold into the
    // heap rather than being cut.
    char local[512];
    if (length <= sizeof local) return containsText(local, foldToKey(name, length, local), key, keyLength);
    std::string large(length, '\0');
    return containsText(large.data(), foldToKey(name, length, large.data()), key, keyLength);
}

namespace {

// The raw bytes a fold turns into `folded`: false when there are more than four.
bool witnessesOf(uint8_t folded, const uint8_t* map, ByteSet& set) {
    set.count = 0;
    for (int b = 1; b < 256; ++b) {
        if (map[b] != folded) continue;
        if (set.count == 4) return false;
        set.bytes[set.count++] = static_cast<uint8_t>(b);
    }
    return set.count > 0;
}

}  // namespace

PreparedKey prepareKey(const char* key, size_t length, const uint8_t* map, ScanWitnesses scan, uint8_t always) {
    PreparedKey prepared;
    prepared.key = key;
    prepared.length = length;
    int best = 5;  // more than four witnesses do not pay for their memchr calls
    for (size_t i = 0; i < length; ++i) {
        if (always != 0 && static_cast<uint8_t>(key[i]) == always) continue;
        ByteSet set;
        // Fewer witnesses filter better; among equals the later byte (word beginnings repeat
        // more often than what follows them).
        if (witnessesOf(static_cast<uint8_t>(key[i]), map, set) && set.count <= best) {
            best = set.count;
            prepared.witnesses = set;
        }
    }
    prepared.scanBytes = prepared.witnesses;
    if (scan != scanNeighbourPairs) return prepared;
    // A pair costs the mask a comparison for each of its witnesses: at most four in all, as a
    // single byte may have. Among equals the later pair, as above.
    int bestPair = 5;
    for (size_t i = 0; i + 1 < length; ++i) {
        const auto first = static_cast<uint8_t>(key[i]);
        const auto second = static_cast<uint8_t>(key[i + 1]);
        if (always != 0 && (first == always || second == always)) continue;
        ByteSet pair;
        ByteSet followers;
        if (!witnessesOf(first, map, pair) || !witnessesOf(second, map, followers)) continue;
        const int cost = pair.count + followers.count;
        if (cost > bestPair) continue;
        bestPair = cost;
        std::memcpy(pair.followers, followers.bytes, sizeof pair.followers);
        pair.followerCount = followers.count;
        prepared.scanBytes = pair;
    }
    return prepared;
}
