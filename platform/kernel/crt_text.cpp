// The device's C run-time text functions the programs call.
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
