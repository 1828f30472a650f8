#include "handles.h"

namespace kernel {
namespace {

// Handle values: a tag nibble, a 12-bit generation and a 16-bit slot number plus one. They are
// never null, never INVALID_HANDLE_VALUE and never a plausible heap pointer.
constexpr uintptr_t handleTag = 0xD0000000u;
constexpr uintptr_t tagMask = 0xF0000000u;
constexpr size_t maxHandles = 0xFFFE;

HANDLE encode(size_t index, uint16_t generation) {
    return reinterpret_cast<HANDLE>(handleTag | (uintptr_t{generation} & 0xFFFu) << 16 | (index + 1));
}

}  // namespace

HANDLE addHandle(std::variant<std::monostate, OpenFile, FindSearch, MutexRef> object) {
    auto& slots = kernelState().handles;
    size_t index = 0;
    while (index < slots.size() && !std::holds_alternative<std::monostate>(slots[index].object)) ++index;
    if (index == slots.size()) {
        if (slots.size() >= maxHandles) {
            SetLastError(ERROR_TOO_MANY_OPEN_FILES);
            return nullptr;
        }
        slots.emplace_back();
    }
    slots[index].object = std::move(object);
    return encode(index, slots[index].generation);
}

HandleSlot* findSlot(HANDLE handle) {
    const auto value = reinterpret_cast<uintptr_t>(handle);
    if ((value & tagMask) != handleTag || (static_cast<uint64_t>(value) >> 32) != 0) return nullptr;
    const size_t number = value & 0xFFFFu;
    auto& slots = kernelState().handles;
    if (number == 0 || number > slots.size()) return nullptr;
    HandleSlot& slot = slots[number - 1];
    if (((value >> 16) & 0xFFFu) != (slot.generation & 0xFFFu)) return nullptr;
    if (std::holds_alternative<std::monostate>(slot.object)) return nullptr;
    return &slot;
}

void removeHandle(HANDLE handle) {
    if (HandleSlot* slot = findSlot(handle)) {
        slot->object = std::monostate{};
        ++slot->generation;
    }
}

}  // namespace kernel
