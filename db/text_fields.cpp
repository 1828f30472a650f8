#include "db/text_fields.h"

#include <cstdint>
#include <cstring>

namespace {
constexpr UINT codePage1251 = 1251;
}

void convertText(const char* text, size_t length, WCHAR* out, size_t capacity) {
    if (capacity == 0) return;
    const size_t kept = length < capacity - 1 ? length : capacity - 1;
    int written = 0;
    if (kept > 0)
        written = MultiByteToWideChar(codePage1251, 0, text, static_cast<int>(kept), out, static_cast<int>(kept));
    out[written > 0 ? static_cast<size_t>(written) : 0] = 0;
}

char* copyOwnedText(const char* text, size_t length) {
    auto* copy = static_cast<char*>(LocalAlloc(LMEM_FIXED, length + 1));
    if (!copy) return nullptr;
    std::memcpy(copy, text, length);
    copy[length] = '\0';
    return copy;
}

void freeOwned(char*& text) {
    if (text) LocalFree(text);
    text = nullptr;
}

void freeOwned(uint32_t*& list) {
    if (list) LocalFree(list);
    list = nullptr;
}
