// Keyboard accelerator tables: made from ACCEL arrays or loaded from RT_ACCELERATOR resources,
// and the translation of key and character messages into WM_COMMAND.
#include "platform/ui/ansi_text.h"
#include "platform/ui/ui_state.h"

#include <cstring>

namespace ui {

namespace {

// Handles: a tag, a 12-bit generation and the slot's number plus one.
constexpr uintptr_t acceleratorTag = 0x4C000000u;
constexpr uintptr_t tagMask = 0xFF000000u;

HACCEL encode(size_t index, uint16_t generation)
{
    return reinterpret_cast<HACCEL>(acceleratorTag | (static_cast<uintptr_t>(generation & 0xFFFu) << 12) |
                                    (index + 1));
}

AcceleratorTable* tableOf(HACCEL handle)
{
    const auto value = reinterpret_cast<uintptr_t>(handle);
    if ((value & tagMask) != acceleratorTag)
        return nullptr;
    const size_t number = value & 0xFFFu;
    const auto generation = static_cast<uint16_t>((value >> 12) & 0xFFFu);
    auto& slots = uiState().accelerators;
    if (number == 0 || number > slots.size())
        return nullptr;
    AcceleratorSlot& slot = slots[number - 1];
    if (!slot.table || (slot.generation & 0xFFFu) != generation)
        return nullptr;
    return slot.table.get();
}

HACCEL addTable(std::unique_ptr<AcceleratorTable> table)
{
    auto& slots = uiState().accelerators;
    size_t index = slots.size();
    for (size_t i = 0; i < slots.size(); ++i)
        if (!slots[i].table) {
            index = i;
            break;
        }
    if (index == slots.size()) {
        if (slots.size() >= 0xFFF) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        slots.push_back(AcceleratorSlot{});
    }
    AcceleratorSlot& slot = slots[index];
    slot.generation = static_cast<uint16_t>(slot.generation % 0xFFF + 1);
    slot.table = std::move(table);
    return encode(index, slot.generation);
}

// The resource compiler's form: 8-byte entries (flags, key, command, padding), 0x80 in the flags
// of the last one.
bool readCompiledForm(const uint8_t* bytes, size_t size, std::vector<ACCEL>& out)
{
    if (size == 0 || size % 8 != 0)
        return false;
    const size_t count = size / 8;
    std::vector<ACCEL> entries;
    for (size_t i = 0; i < count; ++i) {
        WORD flags, key, cmd, pad;
        std::memcpy(&flags, bytes + i * 8, 2);
        std::memcpy(&key, bytes + i * 8 + 2, 2);
        std::memcpy(&cmd, bytes + i * 8 + 4, 2);
        std::memcpy(&pad, bytes + i * 8 + 6, 2);
        const bool last = (flags & 0x80) != 0;
        if ((flags & ~0x9Fu) != 0 || pad != 0 || last != (i + 1 == count))
            return false;
        entries.push_back(ACCEL{static_cast<BYTE>(flags & 0x1F), key, cmd});
    }
    out = std::move(entries);
    return true;
}

bool readAccelArray(const void* data, size_t size, std::vector<ACCEL>& out)
{
    if (size == 0 || size % sizeof(ACCEL) != 0)
        return false;
    const size_t count = size / sizeof(ACCEL);
    out.resize(count);
    std::memcpy(out.data(), data, count * sizeof(ACCEL));
    return true;
}

bool modifiersMatch(BYTE flags)
{
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0;
    return shift == ((flags & FSHIFT) != 0) && control == ((flags & FCONTROL) != 0) && alt == ((flags & FALT) != 0);
}

const ACCEL* findEntry(const AcceleratorTable& table, const MSG& msg)
{
    constexpr LPARAM altContext = 1 << 29;
    for (const ACCEL& a : table.entries) {
        switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if ((a.fVirt & FVIRTKEY) && a.key == static_cast<WORD>(msg.wParam) && modifiersMatch(a.fVirt))
                return &a;
            break;
        case WM_CHAR:
        case WM_SYSCHAR:
            if (!(a.fVirt & FVIRTKEY) && a.key == static_cast<WORD>(msg.wParam)) {
                const bool alt = (msg.lParam & altContext) != 0;
                if (alt == ((a.fVirt & FALT) != 0))
                    return &a;
            }
            break;
        default:
            return nullptr;
        }
    }
    return nullptr;
}

} // namespace

void resetAcceleratorTables()
{
    for (AcceleratorSlot& slot : uiState().accelerators)
        slot.table.reset();
}

} // namespace ui

HACCEL WINAPI CreateAcceleratorTableW(LPACCEL paccel, int cAccel)
{
    if (paccel == nullptr || cAccel <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto table = std::make_unique<ui::AcceleratorTable>();
    table->entries.assign(paccel, paccel + cAccel);
    for (ACCEL& a : table->entries)
        a.fVirt &= 0x1F;
    return ui::addTable(std::move(table));
}

HACCEL WINAPI LoadAcceleratorsW(HINSTANCE hInstance, LPCWSTR lpTableName)
{
    HRSRC found = FindResourceW(hInstance, lpTableName, RT_ACCELERATOR);
    if (found == nullptr)
        return nullptr;
    const void* data = LockResource(LoadResource(hInstance, found));
    const DWORD size = SizeofResource(hInstance, found);
    if (data == nullptr) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    // The same resource gives the same table, as on the platform.
    auto& slots = ui::uiState().accelerators;
    for (size_t i = 0; i < slots.size(); ++i)
        if (slots[i].table && slots[i].table->resource == data)
            return ui::encode(i, slots[i].generation);
    auto table = std::make_unique<ui::AcceleratorTable>();
    if (!ui::readCompiledForm(static_cast<const uint8_t*>(data), size, table->entries) &&
        !ui::readAccelArray(data, size, table->entries)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    table->resource = data;
    return ui::addTable(std::move(table));
}

HACCEL WINAPI LoadAcceleratorsA(HINSTANCE hInstance, LPCSTR lpTableName)
{
    if (lpTableName == nullptr || IS_INTRESOURCE(lpTableName))
        return LoadAcceleratorsW(hInstance, reinterpret_cast<LPCWSTR>(lpTableName));
    const std::u16string name = ui::fromAnsi(lpTableName);
    return LoadAcceleratorsW(hInstance, name.c_str());
}

BOOL WINAPI DestroyAcceleratorTable(HACCEL hAccel)
{
    const auto value = reinterpret_cast<uintptr_t>(hAccel);
    if (ui::tableOf(hAccel) == nullptr) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return FALSE;
    }
    ui::uiState().accelerators[(value & 0xFFFu) - 1].table.reset();
    return TRUE;
}

int WINAPI TranslateAcceleratorW(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg)
{
    const ui::AcceleratorTable* table = ui::tableOf(hAccTable);
    if (table == nullptr) {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return 0;
    }
    if (lpMsg == nullptr || ui::windowOf(hWnd) == nullptr)
        return 0;
    const ACCEL* hit = ui::findEntry(*table, *lpMsg);
    if (hit == nullptr)
        return 0;
    SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(hit->cmd, 1), 0);
    return 1;
}

int WINAPI TranslateAcceleratorA(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg)
{
    return TranslateAcceleratorW(hWnd, hAccTable, lpMsg);
}
