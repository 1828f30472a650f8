// The program's module and the device's libraries: LoadLibraryW / GetProcAddress over the
// libraries a device profile registers, GetModuleFileNameW / GetModuleHandleW.
#include "emulator.h"
#include "errors.h"
#include "kernel_state.h"
#include "text.h"

#include <cstring>

namespace kernel {
namespace {

// The program's instance: a fixed value that is no pointer and no other kind of handle.
const HINSTANCE instanceValue = reinterpret_cast<HINSTANCE>(uintptr_t{0x00400000u});

// Library handles: a tag nibble, a 12-bit generation and the library's number plus one.
constexpr uintptr_t libraryTag = 0xB0000000u;
constexpr uintptr_t tagMask = 0xF0000000u;

// "\Windows\phone.dll", "PHONE.DLL" and "phone" all name the same library: PHONE.
std::u16string libraryKey(std::u16string_view name) {
    const size_t slash = name.find_last_of(u"\\/");
    if (slash != std::u16string_view::npos) name.remove_prefix(slash + 1);
    std::u16string key = foldCase(name);
    if (key.size() > 4 && key.compare(key.size() - 4, 4, u".DLL") == 0) key.resize(key.size() - 4);
    return key;
}

HMODULE encodeLibrary(size_t index, uint16_t generation) {
    return reinterpret_cast<HMODULE>(libraryTag | (uintptr_t{generation} & 0xFFFu) << 16 | (index + 1));
}

// The registered library of a handle, or null when the handle is stale or foreign.
Library* libraryOf(HMODULE module) {
    const auto value = reinterpret_cast<uintptr_t>(module);
    if ((value & tagMask) != libraryTag || (static_cast<uint64_t>(value) >> 32) != 0) return nullptr;
    auto& libraries = kernelState().libraries;
    const size_t number = value & 0xFFFFu;
    if (number == 0 || number > libraries.size()) return nullptr;
    Library& library = libraries[number - 1];
    if (library.name.empty() || ((value >> 16) & 0xFFFu) != (library.generation & 0xFFFu)) return nullptr;
    return &library;
}

Library* findLibrary(std::u16string_view name, size_t* index = nullptr) {
    const std::u16string key = libraryKey(name);
    auto& libraries = kernelState().libraries;
    for (size_t i = 0; i < libraries.size(); ++i)
        if (!libraries[i].name.empty() && libraries[i].name == key) {
            if (index) *index = i;
            return &libraries[i];
        }
    return nullptr;
}

FARPROC failProc(DWORD error) {
    SetLastError(error);
    return nullptr;
}

}  // namespace
}  // namespace kernel

using namespace kernel;

HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName) {
    if (!lpLibFileName || !*lpLibFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    size_t index = 0;
    Library* library = findLibrary(std::u16string_view(lpLibFileName, textLength(lpLibFileName)), &index);
    if (!library) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    ++library->loads;
    return encodeLibrary(index, library->generation);
}

BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
    Library* library = libraryOf(hLibModule);
    if (!library || library->loads == 0) return failWith(ERROR_INVALID_HANDLE);
    --library->loads;
    return TRUE;
}

FARPROC WINAPI GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName) {
    Library* library = libraryOf(hModule);
    if (!library || library->loads == 0) return failProc(ERROR_INVALID_HANDLE);
    if (!lpProcName) return failProc(ERROR_INVALID_PARAMETER);
    if (IS_INTRESOURCE(lpProcName)) {
        const auto ordinal = static_cast<size_t>(reinterpret_cast<uintptr_t>(lpProcName));
        if (ordinal == 0 || ordinal > library->exports.size()) return failProc(ERROR_PROC_NOT_FOUND);
        return library->exports[ordinal - 1].address;
    }
    // Export names are case-sensitive, as on the platform.
    const std::u16string_view name(lpProcName, textLength(lpProcName));
    for (const emu::LibraryExport& entry : library->exports)
        if (entry.name == name) return entry.address;
    return failProc(ERROR_PROC_NOT_FOUND);
}

FARPROC WINAPI GetProcAddressA(HMODULE hModule, LPCSTR lpProcName) {
    if (!lpProcName || IS_INTRESOURCE(lpProcName))
        return GetProcAddressW(hModule, reinterpret_cast<LPCWSTR>(lpProcName));
    // Export names are ASCII; each byte is one unit.
    std::u16string name;
    for (const char* p = lpProcName; *p; ++p) name += static_cast<char16_t>(static_cast<unsigned char>(*p));
    return GetProcAddressW(hModule, name.c_str());
}

HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName) {
    if (!lpModuleName) return instanceValue;
    const std::u16string_view name(lpModuleName, textLength(lpModuleName));
    const std::u16string own = kernelState().moduleFileName;
    if (libraryKey(name) == libraryKey(own) || foldCase(name) == foldCase(own)) return instanceValue;
    size_t index = 0;
    if (Library* library = findLibrary(name, &index); library && library->loads > 0)
        return encodeLibrary(index, library->generation);
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
    std::u16string path;
    if (!hModule || hModule == instanceValue) {
        path = kernelState().moduleFileName;
    } else if (const Library* library = libraryOf(hModule)) {
        path = u"\\Windows\\" + library->name + u".dll";
    } else {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (!lpFilename || nSize == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (path.size() >= nSize) {
        std::memcpy(lpFilename, path.data(), (nSize - 1) * sizeof(WCHAR));
        lpFilename[nSize - 1] = 0;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    std::memcpy(lpFilename, path.data(), path.size() * sizeof(WCHAR));
    lpFilename[path.size()] = 0;
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(path.size());
}

DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
    WCHAR wide[MAX_PATH + 1];
    const DWORD length = GetModuleFileNameW(hModule, wide, MAX_PATH + 1);
    if (length == 0) return 0;
    if (!lpFilename || nSize == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    // Code page 1251 has one byte per character: the ANSI path is as long as the wide one.
    char narrow[MAX_PATH + 1];
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), narrow, MAX_PATH, nullptr, nullptr);
    const DWORD count = bytes > 0 ? static_cast<DWORD>(bytes) : 0;
    if (count >= nSize) {
        std::memcpy(lpFilename, narrow, nSize - 1);
        lpFilename[nSize - 1] = 0;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    std::memcpy(lpFilename, narrow, count);
    lpFilename[count] = 0;
    SetLastError(NO_ERROR);
    return count;
}

namespace emu {

void setModuleFileName(std::u16string_view devicePath) { kernelState().moduleFileName = std::u16string(devicePath); }

HINSTANCE programInstance() { return instanceValue; }

void registerLibrary(std::u16string_view name, std::vector<LibraryExport> exports) {
    auto& libraries = kernelState().libraries;
    if (Library* existing = findLibrary(name)) {
        existing->exports = std::move(exports);
        return;
    }
    Library library;
    library.name = libraryKey(name);
    library.exports = std::move(exports);
    // Reuse a free slot; its generation makes handles of the library that was there stale.
    for (Library& slot : libraries)
        if (slot.name.empty()) {
            library.generation = static_cast<uint16_t>(slot.generation + 1);
            slot = std::move(library);
            return;
        }
    libraries.push_back(std::move(library));
}

void unregisterLibrary(std::u16string_view name) {
    if (Library* library = findLibrary(name)) {
        const uint16_t generation = static_cast<uint16_t>(library->generation + 1);
        *library = Library{};
        library->generation = generation;
    }
}

}  // namespace emu
