// FormatMessageW over the system texts.
#include "error_texts.h"
#include "text.h"

#include <cstring>
#include <string>

namespace {

DWORD fail(DWORD error) {
    SetLastError(error);
    return 0;
}

}  // namespace

DWORD WINAPI FormatMessageW(DWORD dwFlags, LPCVOID /*lpSource*/, DWORD dwMessageId, DWORD /*dwLanguageId*/,
                            LPWSTR lpBuffer, DWORD nSize, va_list* /*Arguments*/) {
    if (!(dwFlags & FORMAT_MESSAGE_FROM_SYSTEM) || (dwFlags & FORMAT_MESSAGE_FROM_STRING) || !lpBuffer)
        return fail(ERROR_INVALID_PARAMETER);
    // A Win32 error wrapped in an HRESULT has the same text.
    if ((dwMessageId & 0xFFFF0000u) == 0x80070000u) dwMessageId &= 0xFFFFu;
    const char16_t* found = kernel::errorText(dwMessageId);
    if (!found) return fail(ERROR_MR_MID_NOT_FOUND);
    std::u16string text(found);
    // A width limit removes the line break that ends every system text; the texts are short
    // enough that no other wrapping is needed.
    if ((dwFlags & FORMAT_MESSAGE_MAX_WIDTH_MASK) == 0) text += u"\r\n";
    const size_t units = text.size() + 1;

    WCHAR* out = lpBuffer;
    if (dwFlags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
        const size_t capacity = units > nSize ? units : nSize;
        out = static_cast<WCHAR*>(LocalAlloc(LMEM_FIXED, capacity * sizeof(WCHAR)));
        if (!out) return 0;
        // lpBuffer is really the address of the caller's pointer.
        std::memcpy(static_cast<void*>(lpBuffer), &out, sizeof out);
    } else if (nSize < units) {
        return fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(out, text.c_str(), units * sizeof(WCHAR));
    return static_cast<DWORD>(text.size());
}
