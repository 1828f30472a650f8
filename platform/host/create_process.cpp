// CreateProcessW: the device's process start, carried out by the host services' start by name.
#include "win32.h"

#include "platform/host/host_services.h"

#include <algorithm>
#include <string>

namespace {

// The first word of a command line (in quotes or up to a blank) and the rest after its blanks.
void splitImage(std::u16string_view line, std::u16string& image, std::u16string& rest)
{
    while (!line.empty() && (line.front() == u' ' || line.front() == u'\t')) line.remove_prefix(1);
    size_t end = 0;
    if (!line.empty() && line.front() == u'"') {
        end = line.find(u'"', 1);
        image = std::u16string(line.substr(1, end == std::u16string_view::npos ? std::u16string_view::npos : end - 1));
        end = end == std::u16string_view::npos ? line.size() : end + 1;
    } else {
        end = std::min(line.find_first_of(u" \t"), line.size());
        image = std::u16string(line.substr(0, end));
    }
    line.remove_prefix(end);
    while (!line.empty() && (line.front() == u' ' || line.front() == u'\t')) line.remove_prefix(1);
    rest = std::u16string(line);
}

}  // namespace

BOOL WINAPI CreateProcessW(LPCWSTR pszImageName, LPWSTR pszCmdLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                           BOOL, DWORD, LPVOID, LPWSTR pszCurDir, LPSTARTUPINFOW psiStartInfo,
                           LPPROCESS_INFORMATION pProcInfo)
{
    if (pProcInfo != nullptr) *pProcInfo = PROCESS_INFORMATION{};
    if (psiStartInfo != nullptr || (pszImageName == nullptr && pszCmdLine == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::u16string image;
    std::u16string commandLine;
    if (pszImageName != nullptr) {
        image = pszImageName;
        if (pszCmdLine != nullptr) commandLine = pszCmdLine;
    } else {
        splitImage(pszCmdLine, image, commandLine);
    }
    const DWORD error = host::startByName(image, commandLine, pszCurDir ? std::u16string_view(pszCurDir) : std::u16string_view());
    if (error != 0) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}
