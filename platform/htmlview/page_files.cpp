#include "platform/htmlview/page_files.h"

#include "win32.h"

#include <algorithm>

namespace htmlview {

bool readDeviceFile(std::u16string_view path, size_t limit, std::string& bytes)
{
    bytes.clear();
    if (path.empty())
        return false;
    std::u16string name(path);
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD size = GetFileSize(file, nullptr);
    bool ok = size != INVALID_FILE_SIZE || GetLastError() == NO_ERROR;
    if (ok) {
        bytes.resize(std::min<size_t>(size, limit));
        size_t done = 0;
        while (done < bytes.size()) {
            DWORD got = 0;
            DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 16));
            if (!ReadFile(file, bytes.data() + done, want, &got, nullptr)) {
                ok = false;
                break;
            }
            if (got == 0)
                break;
            done += got;
        }
        bytes.resize(done);
    }
    CloseHandle(file);
    if (!ok)
        bytes.clear();
    return ok;
}

} // namespace htmlview
