// Device paths onto the host folder that is the device root.
#pragma once

#include "win32.h"

#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace kernel {

struct ResolvedPath {
    std::string host;           // the host path (of the entry found, or of the name to create)
    bool exists = false;        // the last component names an existing entry
    bool isRoot = false;        // the path is the device root itself
    struct stat info {};        // of the existing entry (links followed)
    std::u16string deviceName;  // last component as the device names it
};

// Splits a device path into its components: "\" and "/" separate, "." is dropped, ".." steps
// back (staying at the root). Characters the device forbids in names give ERROR_INVALID_NAME;
// "*" and "?" are allowed in the last component only when `wildcardLast`. An empty path is
// ERROR_PATH_NOT_FOUND and one of MAX_PATH or more characters ERROR_FILENAME_EXCED_RANGE.
DWORD splitDevicePath(std::u16string_view path, bool wildcardLast, std::vector<std::u16string>& components);

// Finds the host entries of the components, each matched case-insensitively. A missing or
// non-folder intermediate component is ERROR_PATH_NOT_FOUND; a host link that leaves the root
// (or leads nowhere) is ERROR_ACCESS_DENIED; no root set is ERROR_PATH_NOT_FOUND.
DWORD resolveComponents(const std::vector<std::u16string>& components, ResolvedPath& out);

DWORD resolvePath(const WCHAR* path, ResolvedPath& out);

// Whether a device name can be spelled on the device (for listing host entries).
bool validDeviceName(std::u16string_view name);

// Whether an existing host path, its links followed, lies inside the device root.
bool insideRoot(const std::string& hostPath);

}  // namespace kernel
