#include "search/sinks.h"

#include "win32.h"

int ScreenHooks::showSystemError(const WCHAR* caption) {
    const DWORD error = GetLastError();
    if (error == 0) return 0;
    LPWSTR message = nullptr;
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error, 0, reinterpret_cast<LPWSTR>(&message), 0, nullptr);
    messageBox(message ? message : W(""), caption, MB_OK | MB_ICONSTOP);
    if (message) LocalFree(message);
    return -1;
}
