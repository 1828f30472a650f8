// Folder listings: FindFirstFileW takes the whole listing at once, sorted by name, and
// FindNextFileW hands it out entry by entry.
#include "errors.h"
#include "files.h"
#include "handles.h"
#include "paths.h"
#include "text.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <memory>

namespace kernel {
namespace {

// Whether `name` matches `pattern` ("*" any run, "?" one character), ignoring case. "*.*" matches
// every name, with a dot or without, as on the platform.
bool matchesPattern(std::u16string_view name, std::u16string_view pattern) {
    if (pattern == u"*.*" || pattern == u"*") return true;
    size_t n = 0, p = 0;
    size_t starAt = std::u16string_view::npos, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && (pattern[p] == u'?' || foldCase(pattern[p]) == foldCase(name[n]))) {
            ++n, ++p;
        } else if (starAt != std::u16string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

// Case-insensitive order, the exact spelling breaking ties so that the order is total.
bool nameBefore(const FoundEntry& a, const FoundEntry& b) {
    const std::u16string fa = foldCase(a.name), fb = foldCase(b.name);
    return fa != fb ? fa < fb : a.name < b.name;
}

// FILETIME: 100-nanosecond intervals since 1601-01-01.
FILETIME fileTimeOf(int64_t unixNs) {
    constexpr int64_t epochDifference = 116444736000000000LL;  // 1601 to 1970, in 100 ns
    const auto ticks = static_cast<uint64_t>(unixNs / 100 + epochDifference);
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

void fill(const FoundEntry& entry, WIN32_FIND_DATAW& out) {
    std::memset(&out, 0, sizeof out);
    out.dwFileAttributes = entry.attributes;
    out.ftCreationTime = out.ftLastAccessTime = out.ftLastWriteTime = fileTimeOf(entry.writeTimeNs);
    out.nFileSizeHigh = static_cast<DWORD>(entry.size >> 32);
    out.nFileSizeLow = static_cast<DWORD>(entry.size);
    std::memcpy(out.cFileName, entry.name.data(), entry.name.size() * sizeof(WCHAR));
    out.cFileName[entry.name.size()] = 0;
}

// The entries of a host folder that match, as the device lists them.
DWORD listFolder(const std::string& folder, std::u16string_view pattern, std::vector<FoundEntry>& entries) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) return ERROR_PATH_NOT_FOUND;
    while (const dirent* host = readdir(dir.get())) {
        const std::string_view hostName(host->d_name);
        if (hostName == "." || hostName == "..") continue;
        bool valid = false;
        std::u16string name = utf8ToUtf16(hostName, &valid);
        if (!valid || name.size() >= MAX_PATH || !validDeviceName(name) || !matchesPattern(name, pattern)) continue;
        std::string path = folder;
        if (path.empty() || path.back() != '/') path += '/';
        path += hostName;
        struct stat link {};
        struct stat info {};
        if (lstat(path.c_str(), &link) != 0) continue;
        // A link that leaves the device, or leads nowhere, is not part of the device.
        if (S_ISLNK(link.st_mode) && !insideRoot(path)) continue;
        if (stat(path.c_str(), &info) != 0) continue;
        if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) continue;
        FoundEntry entry;
        entry.name = std::move(name);
        entry.attributes = attributesOf(path, info);
        entry.size = S_ISDIR(info.st_mode) ? 0 : static_cast<uint64_t>(info.st_size);
        entry.writeTimeNs = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(), nameBefore);
    return NO_ERROR;
}

HANDLE failFind(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

}  // namespace
}  // namespace kernel

using namespace kernel;

HANDLE WINAPI FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData) {
    if (!lpFileName || !lpFindFileData) return failFind(ERROR_INVALID_PARAMETER);
    size_t length = 0;
    while (length < MAX_PATH && lpFileName[length] != 0) ++length;
    const std::u16string_view path(lpFileName, length);
    // A path that names a folder by its trailing separator lists nothing, as on the platform.
    if (!path.empty() && (path.back() == u'\\' || path.back() == u'/')) return failFind(ERROR_FILE_NOT_FOUND);

    std::vector<std::u16string> components;
    if (const DWORD error = splitDevicePath(path, true, components)) return failFind(error);
    if (components.empty()) return failFind(ERROR_FILE_NOT_FOUND);
    const std::u16string pattern = components.back();
    components.pop_back();

    ResolvedPath folder;
    if (const DWORD error = resolveComponents(components, folder)) return failFind(error);
    if (!folder.exists || !S_ISDIR(folder.info.st_mode)) return failFind(ERROR_PATH_NOT_FOUND);

    FindSearch search;
    if (const DWORD error = listFolder(folder.host, pattern, search.entries)) return failFind(error);
    if (search.entries.empty()) return failFind(ERROR_FILE_NOT_FOUND);
    fill(search.entries[0], *lpFindFileData);
    search.next = 1;
    HANDLE handle = addHandle(std::move(search));
    if (!handle) return INVALID_HANDLE_VALUE;
    SetLastError(NO_ERROR);
    return handle;
}

BOOL WINAPI FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData) {
    FindSearch* search = handleObject<FindSearch>(hFindFile);
    if (!search) return failWith(ERROR_INVALID_HANDLE);
    if (!lpFindFileData) return failWith(ERROR_INVALID_PARAMETER);
    if (search->next >= search->entries.size()) return failWith(ERROR_NO_MORE_FILES);
    fill(search->entries[search->next++], *lpFindFileData);
    return TRUE;
}

BOOL WINAPI FindClose(HANDLE hFindFile) {
    if (!handleObject<FindSearch>(hFindFile)) return failWith(ERROR_INVALID_HANDLE);
    removeHandle(hFindFile);
    return TRUE;
}
