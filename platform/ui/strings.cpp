// LoadString over RT_STRING resources in the platform's form: blocks of 16 strings named by
// (id / 16) + 1, each string a count of UTF-16 units and the units, without a terminator.
#include "platform/ui/ansi_text.h"
#include "platform/ui/ui_state.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace ui {

namespace {

// The string of the identifier, or false when its block or the string is missing (empty
// strings are missing, as on the platform).
bool findString(HINSTANCE instance, UINT id, std::u16string_view& text)
{
    const auto block = static_cast<WORD>((id >> 4) + 1);
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(block), RT_STRING);
    if (found == nullptr)
        return false;
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(instance, found)));
    const size_t size = SizeofResource(instance, found);
    if (bytes == nullptr)
        return false;
    size_t at = 0;
    for (UINT i = 0; i < 16; ++i) {
        if (at + 2 > size)
            return false;
        WORD length;
        std::memcpy(&length, bytes + at, 2);
        at += 2;
        if (at + static_cast<size_t>(length) * 2 > size)
            return false;
        if (i == (id & 15)) {
            if (length == 0)
                return false;
            // Resource data is 2-byte aligned (the registry keeps compiled-in arrays).
            text = std::u16string_view(reinterpret_cast<const char16_t*>(bytes + at), length);
            return true;
        }
        at += static_cast<size_t>(length) * 2;
    }
    return false;
}

} // namespace

} // namespace ui

int WINAPI LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax)
{
    std::u16string_view text;
    if (lpBuffer == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!ui::findString(hInstance, uID, text)) {
        if (cchBufferMax > 0)
            lpBuffer[0] = u'\0';
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    if (cchBufferMax == 0) {
        // The platform's read-only form: a pointer to the resource's own (unterminated) text.
        *reinterpret_cast<LPCWSTR*>(lpBuffer) = text.data();
        return static_cast<int>(text.size());
    }
    if (cchBufferMax < 0)
        return 0;
    const size_t count = std::min(text.size(), static_cast<size_t>(cchBufferMax) - 1);
    text.copy(lpBuffer, count);
    lpBuffer[count] = u'\0';
    return static_cast<int>(count);
}

int WINAPI LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax)
{
    std::u16string_view text;
    if (lpBuffer == nullptr || cchBufferMax <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!ui::findString(hInstance, uID, text)) {
        lpBuffer[0] = '\0';
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    return ui::toAnsi(text, lpBuffer, cchBufferMax);
}
