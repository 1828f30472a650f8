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

}  // namespace

const TextFold& textFold() {
    static const TextFold fold = makeFold();
    return fold;
}

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
    return memmem(hay, hayLength, needle, needleLength) != nullptr;
}

bool nameContainsKey(const char* name, size_t length, const char* key, size_t keyLength) {
    if (keyLength == 0 || keyLength > length) return false;
    char local[512];
    std::string large;
    char* folded = local;
    if (length > sizeof local) {
        large.resize(length);
        folded = large.data();
    }
    const size_t n = foldToKey(name, length, folded);
    return containsText(folded, n, key, keyLength);
}
