// The program's compiled-in resources: FindResourceW, LoadResource, LockResource,
// SizeofResource over the tables that resource files register.
#include "emulator.h"
#include "errors.h"
#include "kernel_state.h"
#include "text.h"

namespace kernel {
namespace {

// Resource handles: a tag nibble, a 12-bit generation (changed by clearResources) and the
// entry's number plus one.
constexpr uintptr_t resourceTag = 0xA0000000u;
constexpr uintptr_t tagMask = 0xF0000000u;

// A type or name as the tables keep it: an identifier, or an upper-cased string.
struct Key {
    WORD id = 0;
    std::u16string text;
};

// Integer identifiers, "#123" strings (identifier 123) and other strings (compared ignoring case).
bool keyOf(LPCWSTR value, Key& key) {
    key = Key{};
    if (!value) return false;
    if (IS_INTRESOURCE(value)) {
        key.id = static_cast<WORD>(reinterpret_cast<uintptr_t>(value));
        return key.id != 0;
    }
    const std::u16string_view text(value, textLength(value));
    if (text.size() > 1 && text[0] == u'#') {
        unsigned number = 0;
        for (size_t i = 1; i < text.size(); ++i) {
            if (text[i] < u'0' || text[i] > u'9' || number > 0xFFFF) return false;
            number = number * 10 + (text[i] - u'0');
        }
        if (number == 0 || number > 0xFFFF) return false;
        key.id = static_cast<WORD>(number);
        return true;
    }
    if (text.empty()) return false;
    key.text = foldCase(text);
    return true;
}

bool sameKey(const Key& key, WORD id, const std::u16string& text) {
    return key.id != 0 ? id == key.id : (id == 0 && text == key.text);
}

HRSRC encode(size_t index) {
    const uintptr_t generation = kernelState().resourceGeneration & 0xFFFu;
    return reinterpret_cast<HRSRC>(resourceTag | generation << 16 | (index + 1));
}

const Resource* resourceOf(HRSRC handle) {
    const auto value = reinterpret_cast<uintptr_t>(handle);
    if ((value & tagMask) != resourceTag || (static_cast<uint64_t>(value) >> 32) != 0) return nullptr;
    const KernelState& state = kernelState();
    if (((value >> 16) & 0xFFFu) != (state.resourceGeneration & 0xFFFu)) return nullptr;
    const size_t number = value & 0xFFFFu;
    if (number == 0 || number > state.resources.size()) return nullptr;
    return &state.resources[number - 1];
}

bool ownModule(HMODULE module) { return !module || module == emu::programInstance(); }

std::u16string fromAnsi(LPCSTR text) {
    std::u16string out;
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) return out;
    out.resize(static_cast<size_t>(length));
    MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), length);
    out.pop_back();
    return out;
}

}  // namespace
}  // namespace kernel

using namespace kernel;

HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType) {
    if (!ownModule(hModule)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    Key type, name;
    if (!keyOf(lpType, type)) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    if (!keyOf(lpName, name)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const auto& resources = kernelState().resources;
    bool typeFound = false;
    for (size_t i = 0; i < resources.size(); ++i) {
        if (!sameKey(type, resources[i].typeId, resources[i].type)) continue;
        typeFound = true;
        if (sameKey(name, resources[i].nameId, resources[i].name)) return encode(i);
    }
    SetLastError(typeFound ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
}

HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType) {
    std::u16string name, type;
    LPCWSTR wideName = reinterpret_cast<LPCWSTR>(lpName);
    LPCWSTR wideType = reinterpret_cast<LPCWSTR>(lpType);
    if (lpName && !IS_INTRESOURCE(lpName)) wideName = (name = fromAnsi(lpName)).c_str();
    if (lpType && !IS_INTRESOURCE(lpType)) wideType = (type = fromAnsi(lpType)).c_str();
    return FindResourceW(hModule, wideName, wideType);
}

HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo) {
    const Resource* resource = ownModule(hModule) ? resourceOf(hResInfo) : nullptr;
    if (!resource) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // The data is compiled in: the loaded resource is the data itself, as on later platforms.
    return const_cast<void*>(resource->data);
}

LPVOID WINAPI LockResource(HGLOBAL hResData) { return hResData; }

DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo) {
    const Resource* resource = ownModule(hModule) ? resourceOf(hResInfo) : nullptr;
    if (!resource) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return resource->size;
}

namespace emu {

void registerResources(const ResourceEntry* table, size_t count) {
    auto& resources = kernelState().resources;
    for (size_t i = 0; i < count; ++i) {
        Key type, name;
        if (!keyOf(table[i].type, type) || !keyOf(table[i].name, name)) continue;
        Resource resource;
        resource.typeId = type.id;
        resource.type = type.text;
        resource.nameId = name.id;
        resource.name = name.text;
        resource.data = table[i].data;
        resource.size = table[i].size;
        bool replaced = false;
        for (Resource& existing : resources)
            if (sameKey(type, existing.typeId, existing.type) && sameKey(name, existing.nameId, existing.name)) {
                existing = resource;
                replaced = true;
                break;
            }
        if (!replaced) resources.push_back(std::move(resource));
    }
}

void clearResources() {
    KernelState& state = kernelState();
    state.resources.clear();
    ++state.resourceGeneration;
}

}  // namespace emu
