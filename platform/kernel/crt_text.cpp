// The device's text functions the programs call: the kernel's and the C run-time's.
#include "text.h"
#include "win32.h"

int _wcsnicmp(const WCHAR* a, const WCHAR* b, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const char16_t x = kernel::foldCase(a[i]);
        const char16_t y = kernel::foldCase(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
    return 0;
}

int WINAPI lstrlenW(LPCWSTR lpString)
{
    return lpString == nullptr ? 0 : static_cast<int>(kernel::textLength(lpString));
}

LPWSTR WINAPI lstrcpyW(LPWSTR lpString1, LPCWSTR lpString2)
{
    if (lpString1 == nullptr || lpString2 == nullptr)
        return nullptr;
    size_t i = 0;
    do {
        lpString1[i] = lpString2[i];
    } while (lpString2[i++] != 0);
    return lpString1;
}
