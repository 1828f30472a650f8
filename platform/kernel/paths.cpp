#include "paths.h"

#include "kernel_state.h"
#include "text.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <memory>
#include <unistd.h>

namespace kernel {
namespace {

bool forbiddenInName(char16_t c) {
    return c < 0x20 || c == u'<' || c == u'>' || c == u':' || c == u'"' || c == u'|';
}

bool isWildcard(char16_t c) { return c == u'*' || c == u'?'; }

std::string joinHost(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// The host name in `folder` that the device name matches: the exact spelling when it exists,
// otherwise the first, in byte order, of those equal ignoring case. Empty when none.
std::string matchEntry(const std::string& folder, std::u16string_view deviceName) {
    const std::string exact = utf16ToUtf8(deviceName);
    struct stat st {};
    if (lstat(joinHost(folder, exact).c_str(), &st) == 0) return exact;

    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) return {};
    std::string best;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view hostName(entry->d_name);
        if (hostName == "." || hostName == "..") continue;
        bool valid = false;
        const std::u16string name = utf8ToUtf16(hostName, &valid);
        if (valid && equalsIgnoringCase(name, deviceName) && (best.empty() || hostName < best))
            best = std::string(hostName);
    }
    return best;
}

}  // namespace

bool validDeviceName(std::u16string_view name) {
    if (name.empty() || name == u"." || name == u"..") return false;
    for (char16_t c : name)
        if (forbiddenInName(c) || isWildcard(c) || c == u'\\' || c == u'/') return false;
    bool valid = false;
    utf16ToUtf8(name, &valid);
    return valid;
}

bool insideRoot(const std::string& hostPath) {
    const std::string& root = kernelState().deviceRoot;
    if (root.empty()) return false;
    char resolved[PATH_MAX];
    if (!realpath(hostPath.c_str(), resolved)) return false;
    const std::string_view real(resolved);
    if (root == "/") return true;
    return real == root || (real.size() > root.size() && real.substr(0, root.size()) == root &&
                            real[root.size()] == '/');
}

DWORD splitDevicePath(std::u16string_view path, bool wildcardLast, std::vector<std::u16string>& components) {
    components.clear();
    if (path.empty()) return ERROR_PATH_NOT_FOUND;
    if (path.size() >= MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
    std::vector<std::u16string> raw;
    std::u16string current;
    for (char16_t c : path) {
        if (c == u'\\' || c == u'/') {
            raw.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    raw.push_back(std::move(current));
    for (size_t i = 0; i < raw.size(); ++i) {
        const bool last = i + 1 == raw.size();
        for (char16_t c : raw[i])
            if (forbiddenInName(c) || (isWildcard(c) && !(last && wildcardLast))) return ERROR_INVALID_NAME;
        bool valid = false;
        utf16ToUtf8(raw[i], &valid);
        if (!valid) return ERROR_INVALID_NAME;
        if (raw[i].empty() || raw[i] == u".") continue;
        if (raw[i] == u"..") {
            if (!components.empty()) components.pop_back();
            continue;
        }
        components.push_back(raw[i]);
    }
    return NO_ERROR;
}

DWORD resolveComponents(const std::vector<std::u16string>& components, ResolvedPath& out) {
    out = ResolvedPath{};
    const std::string& root = kernelState().deviceRoot;
    if (root.empty()) return ERROR_PATH_NOT_FOUND;
    std::string folder = root;
    for (size_t i = 0; i + 1 < components.size(); ++i) {
        const std::string name = matchEntry(folder, components[i]);
        if (name.empty()) return ERROR_PATH_NOT_FOUND;
        const std::string next = joinHost(folder, name);
        struct stat st {};
        if (lstat(next.c_str(), &st) != 0) return ERROR_PATH_NOT_FOUND;
        if (S_ISLNK(st.st_mode) && !insideRoot(next)) return ERROR_ACCESS_DENIED;
        if (stat(next.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return ERROR_PATH_NOT_FOUND;
        folder = next;
    }
    if (components.empty()) {
        out.host = root;
        out.isRoot = true;
        out.exists = stat(root.c_str(), &out.info) == 0;
        return out.exists ? NO_ERROR : ERROR_PATH_NOT_FOUND;
    }
    out.deviceName = components.back();
    const std::string name = matchEntry(folder, components.back());
    if (name.empty()) {
        out.host = joinHost(folder, utf16ToUtf8(components.back()));
        return NO_ERROR;
    }
    out.host = joinHost(folder, name);
    struct stat st {};
    if (lstat(out.host.c_str(), &st) != 0) return NO_ERROR;
    if (S_ISLNK(st.st_mode) && !insideRoot(out.host)) return ERROR_ACCESS_DENIED;
    out.exists = stat(out.host.c_str(), &out.info) == 0;
    return NO_ERROR;
}

DWORD resolvePath(const WCHAR* path, ResolvedPath& out) {
    out = ResolvedPath{};
    if (!path) return ERROR_INVALID_PARAMETER;
    std::vector<std::u16string> components;
    // Bounded scan: a path can only be valid below MAX_PATH, so the terminator need not be
    // looked for beyond it.
    size_t length = 0;
    while (length < MAX_PATH && path[length] != 0) ++length;
    if (const DWORD error = splitDevicePath(std::u16string_view(path, length), false, components)) return error;
    return resolveComponents(components, out);
}

}  // namespace kernel

namespace emu {

int setDeviceRoot(const std::string& hostFolder) {
    char resolved[PATH_MAX];
    struct stat st {};
    if (hostFolder.empty() || !realpath(hostFolder.c_str(), resolved) || stat(resolved, &st) != 0 ||
        !S_ISDIR(st.st_mode))
        return ERROR_PATH_NOT_FOUND;
    kernel::kernelState().deviceRoot = resolved;
    return 0;
}

std::string deviceRoot() { return kernel::kernelState().deviceRoot; }

std::string hostPathOf(std::u16string_view devicePath) {
    std::vector<std::u16string> components;
    kernel::ResolvedPath resolved;
    if (kernel::splitDevicePath(devicePath, false, components) != NO_ERROR ||
        kernel::resolveComponents(components, resolved) != NO_ERROR)
        return {};
    return resolved.host;
}

}  // namespace emu
