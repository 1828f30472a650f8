// MultiByteToWideChar / WideCharToMultiByte for code page 1251 and UTF-8.
#include "codepage1251.h"
#include "emulator.h"
#include "text.h"
#include "win32.h"

#include <cstring>
#include <string>

namespace {

enum class CodePage { cp1251, utf8, unsupported };

CodePage codePageOf(UINT codePage) {
    switch (codePage) {
    case CP_ACP:
    case CP_THREAD_ACP:
    case 1251:
        return CodePage::cp1251;
    case CP_UTF8:
        return CodePage::utf8;
    default:
        return CodePage::unsupported;
    }
}

int fail(DWORD error) {
    SetLastError(error);
    return 0;
}

// Copies a converted text into the caller's buffer with the platform's size rules: a size of 0
// asks for the length; a buffer too small is filled as far as it goes and the call fails.
template <class Unit>
int deliver(const Unit* converted, size_t length, Unit* out, int outSize) {
    if (length > 0x7FFFFFFF) return fail(ERROR_INSUFFICIENT_BUFFER);
    if (outSize == 0) return static_cast<int>(length);
    if (length > static_cast<size_t>(outSize)) {
        std::memcpy(out, converted, static_cast<size_t>(outSize) * sizeof(Unit));
        return fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(out, converted, length * sizeof(Unit));
    return static_cast<int>(length);
}

}  // namespace

UINT WINAPI GetACP(void) { return 1251; }

int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar) {
    const auto page = codePageOf(CodePage);
    if (page == CodePage::unsupported) return fail(ERROR_INVALID_PARAMETER);
    if (!lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
        (cchWideChar > 0 && !lpWideCharStr) ||
        (cchWideChar > 0 && static_cast<const void*>(lpMultiByteStr) == static_cast<const void*>(lpWideCharStr)))
        return fail(ERROR_INVALID_PARAMETER);
    const size_t length = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
    const std::string_view input(lpMultiByteStr, length);

    if (page == CodePage::utf8) {
        if ((dwFlags & ~DWORD{MB_ERR_INVALID_CHARS}) != 0) return fail(ERROR_INVALID_FLAGS);
        bool valid = true;
        const std::u16string converted = kernel::utf8ToUtf16(input, &valid);
        if (!valid && (dwFlags & MB_ERR_INVALID_CHARS)) return fail(ERROR_NO_UNICODE_TRANSLATION);
        return deliver(converted.data(), converted.size(), lpWideCharStr, cchWideChar);
    }

    constexpr DWORD known = MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS;
    if ((dwFlags & ~known) != 0 || ((dwFlags & MB_PRECOMPOSED) && (dwFlags & MB_COMPOSITE)))
        return fail(ERROR_INVALID_FLAGS);
    // One unit per byte: no buffer is needed to know the length.
    if (cchWideChar == 0) {
        if (length > 0x7FFFFFFF) return fail(ERROR_INSUFFICIENT_BUFFER);
        return static_cast<int>(length);
    }
    const size_t room = static_cast<size_t>(cchWideChar);
    const size_t count = length < room ? length : room;
    const auto* bytes = reinterpret_cast<const unsigned char*>(input.data());
    const char16_t* units = kernel::cp1251Units.data();
    for (size_t i = 0; i < count; ++i) lpWideCharStr[i] = units[bytes[i]];
    if (length > room) return fail(ERROR_INSUFFICIENT_BUFFER);
    return static_cast<int>(length);
}

int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                               LPBOOL lpUsedDefaultChar) {
    const auto page = codePageOf(CodePage);
    if (page == CodePage::unsupported) return fail(ERROR_INVALID_PARAMETER);
    if (!lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
        (cbMultiByte > 0 && !lpMultiByteStr) ||
        (cbMultiByte > 0 && static_cast<const void*>(lpMultiByteStr) == static_cast<const void*>(lpWideCharStr)))
        return fail(ERROR_INVALID_PARAMETER);
    const size_t length = cchWideChar == -1 ? kernel::textLength(lpWideCharStr) + 1 : static_cast<size_t>(cchWideChar);
    const std::u16string_view input(lpWideCharStr, length);

    if (page == CodePage::utf8) {
        if ((dwFlags & ~DWORD{WC_ERR_INVALID_CHARS}) != 0) return fail(ERROR_INVALID_FLAGS);
        if (lpDefaultChar || lpUsedDefaultChar) return fail(ERROR_INVALID_PARAMETER);
        bool valid = true;
        const std::string converted = kernel::utf16ToUtf8(input, &valid);
        if (!valid && (dwFlags & WC_ERR_INVALID_CHARS)) return fail(ERROR_NO_UNICODE_TRANSLATION);
        if (cbMultiByte == 0 || converted.size() <= static_cast<size_t>(cbMultiByte))
            return deliver(converted.data(), converted.size(), lpMultiByteStr, cbMultiByte);
        // Too small: hand over whole characters only, then fail.
        size_t cut = static_cast<size_t>(cbMultiByte);
        while (cut > 0 && (static_cast<unsigned char>(converted[cut]) & 0xC0) == 0x80) --cut;
        std::memcpy(lpMultiByteStr, converted.data(), cut);
        return fail(ERROR_INSUFFICIENT_BUFFER);
    }

    constexpr DWORD known = WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR | WC_COMPOSITECHECK | WC_NO_BEST_FIT_CHARS;
    if ((dwFlags & ~known) != 0) return fail(ERROR_INVALID_FLAGS);
    const char defaultChar = lpDefaultChar ? lpDefaultChar[0] : '?';
    bool usedDefault = false;
    const size_t room = static_cast<size_t>(cbMultiByte);
    for (size_t i = 0; i < length; ++i) {
        int byte = kernel::unicodeToCp1251(input[i]);
        if (byte < 0) {
            byte = static_cast<unsigned char>(defaultChar);
            usedDefault = true;
        }
        if (cbMultiByte > 0) {
            if (i >= room) {
                if (lpUsedDefaultChar) *lpUsedDefaultChar = usedDefault;
                return fail(ERROR_INSUFFICIENT_BUFFER);
            }
            lpMultiByteStr[i] = static_cast<char>(byte);
        }
    }
    if (lpUsedDefaultChar) *lpUsedDefaultChar = usedDefault;
    if (length > 0x7FFFFFFF) return fail(ERROR_INSUFFICIENT_BUFFER);
    return static_cast<int>(length);
}

namespace emu {

std::string toUtf8(std::u16string_view text) { return kernel::utf16ToUtf8(text); }
std::u16string fromUtf8(std::string_view text) { return kernel::utf8ToUtf16(text); }

}  // namespace emu
