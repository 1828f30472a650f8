// The object table, stock objects, pens, brushes, system colours and selection.
#include "platform/gdi/gdi_state.h"

#include "platform/gdi/dib_format.h"
#include "platform/gdi/faces.h"
#include "emulator.h"

#include <array>
#include <cstring>
#include <string_view>

namespace gdi {

namespace {

struct Slot {
    std::unique_ptr<Object> object;
    uint32_t generation = 1;
};

struct ObjectTable {
    std::vector<Slot> slots;
    std::vector<size_t> freeSlots;
};

ObjectTable& table()
{
    static ObjectTable instance;
    return instance;
}

// Handle value: a tag of the drawing layer above bit 32 (so that a window's or a kernel object's
// handle is never taken for one of ours), a 12-bit generation, and the slot index + 1; never 0.
constexpr uintptr_t handleTag = sizeof(uintptr_t) >= 8 ? (uintptr_t{0x6D} << 32) : 0;

uintptr_t encode(size_t index, uint32_t generation)
{
    return handleTag | (uintptr_t(generation) << 20) | (index + 1);
}

} // namespace

Object* lookupAny(const void* handle)
{
    uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    size_t index = (value & 0xFFFFF);
    if (index == 0)
        return nullptr;
    --index;
    ObjectTable& t = table();
    if (index >= t.slots.size() || !t.slots[index].object)
        return nullptr;
    if (encode(index, t.slots[index].generation) != value)
        return nullptr;
    return t.slots[index].object.get();
}

Object* lookup(const void* handle, ObjectKind kind)
{
    Object* object = lookupAny(handle);
    return object != nullptr && object->kind == kind ? object : nullptr;
}

void* addObject(std::unique_ptr<Object> object)
{
    ObjectTable& t = table();
    size_t index;
    if (!t.freeSlots.empty()) {
        index = t.freeSlots.back();
        t.freeSlots.pop_back();
    } else {
        if (t.slots.size() >= 0xFFFFE)
            return nullptr;
        index = t.slots.size();
        t.slots.emplace_back();
    }
    t.slots[index].object = std::move(object);
    return reinterpret_cast<void*>(encode(index, t.slots[index].generation));
}

size_t liveObjects()
{
    const ObjectTable& t = table();
    return t.slots.size() - t.freeSlots.size();
}

void removeObject(const void* handle)
{
    if (lookupAny(handle) == nullptr)
        return;
    size_t index = (reinterpret_cast<uintptr_t>(handle) & 0xFFFFF) - 1;
    ObjectTable& t = table();
    t.slots[index].object.reset();
    t.slots[index].generation = (t.slots[index].generation + 1) & 0xFFF;
    if (t.slots[index].generation == 0)
        t.slots[index].generation = 1;
    t.freeSlots.push_back(index);
}

namespace {

void* makePen(int style, int width, COLORREF colour, bool stock)
{
    auto object = std::make_unique<Object>();
    object->kind = ObjectKind::pen;
    object->penStyle = style;
    object->penWidth = width < 1 ? 1 : width;
    object->colour = colour & 0xFFFFFF;
    object->stock = stock;
    return addObject(std::move(object));
}

void* makeBrush(COLORREF colour, bool null, bool stock)
{
    auto object = std::make_unique<Object>();
    object->kind = ObjectKind::brush;
    object->colour = colour & 0xFFFFFF;
    object->nullBrush = null;
    object->stock = stock;
    return addObject(std::move(object));
}

constexpr int sysColourCount = 27;

// Pocket PC system colours: white windows, grey faces, blue selection.
constexpr std::array<COLORREF, sysColourCount> sysColours = {
    RGB(192, 192, 192), RGB(0, 128, 128),   RGB(0, 0, 128),     RGB(128, 128, 128), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(192, 192, 192), RGB(192, 192, 192), RGB(128, 128, 128), RGB(0, 0, 128),     RGB(255, 255, 255),
    RGB(192, 192, 192), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(192, 192, 192),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(223, 223, 223), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(192, 192, 192), RGB(0, 0, 0)};

void copyFaceName(LOGFONTW& font, std::u16string_view name)
{
    for (size_t i = 0; i < name.size() && i + 1 < LF_FACESIZE; ++i)
        font.lfFaceName[i] = name[i];
}

struct StockObjects {
    std::array<void*, 18> objects{};
    std::array<void*, sysColourCount> sysBrushes{};
    // The one-pixel monochrome surface every new memory context starts with; shared by all of
    // them, so that selecting it back always works.
    void* defaultBitmap = nullptr;
    void* captionFont = nullptr; // the desktop's window captions
    StockObjects()
    {
        defaultBitmap = makeBitmap(1, 1, 1, true);
        if (Object* bitmap = lookupAny(defaultBitmap))
            bitmap->stock = true;
        objects[WHITE_BRUSH] = makeBrush(RGB(255, 255, 255), false, true);
        objects[LTGRAY_BRUSH] = makeBrush(RGB(192, 192, 192), false, true);
        objects[GRAY_BRUSH] = makeBrush(RGB(128, 128, 128), false, true);
        objects[DKGRAY_BRUSH] = makeBrush(RGB(64, 64, 64), false, true);
        objects[BLACK_BRUSH] = makeBrush(RGB(0, 0, 0), false, true);
        objects[NULL_BRUSH] = makeBrush(0, true, true);
        objects[WHITE_PEN] = makePen(PS_SOLID, 1, RGB(255, 255, 255), true);
        objects[BLACK_PEN] = makePen(PS_SOLID, 1, RGB(0, 0, 0), true);
        objects[NULL_PEN] = makePen(PS_NULL, 1, 0, true);
        // Height 0: the machine's default size, so the one stock font serves the handheld and the desktop.
        LOGFONTW system{};
        system.lfHeight = 0;
        system.lfWeight = FW_BOLD;
        copyFaceName(system, u"System");
        objects[SYSTEM_FONT] = CreateFontIndirectW(&system);
        LOGFONTW gui{};
        gui.lfHeight = -11;
        gui.lfWeight = FW_NORMAL;
        copyFaceName(gui, u"MS Shell Dlg");
        objects[DEFAULT_GUI_FONT] = CreateFontIndirectW(&gui);
        LOGFONTW caption{};
        caption.lfHeight = -11;
        caption.lfWeight = FW_BOLD;
        copyFaceName(caption, u"Tahoma");
        captionFont = CreateFontIndirectW(&caption);
        for (void* font : {objects[SYSTEM_FONT], objects[DEFAULT_GUI_FONT], captionFont})
            if (Object* object = lookupAny(font))
                object->stock = true;
        for (size_t i = 0; i < sysBrushes.size(); ++i)
            sysBrushes[i] = makeBrush(sysColours[i], false, true);
    }
};

StockObjects& stock()
{
    static StockObjects instance;
    return instance;
}

} // namespace

void* stockObject(int index)
{
    if (index < 0 || index >= static_cast<int>(stock().objects.size()))
        return nullptr;
    return stock().objects[index];
}

void* defaultBitmap() { return stock().defaultBitmap; }

HFONT captionFont() { return static_cast<HFONT>(stock().captionFont); }

} // namespace gdi

using namespace gdi;

HGDIOBJ WINAPI GetStockObject(int i) { return stockObject(i); }

HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color)
{
    if (emu::plannedFailure(emu::FailingCall::gdiObject))
        return nullptr;
    if (iStyle != PS_SOLID && iStyle != PS_DASH && iStyle != PS_DOT && iStyle != PS_NULL)
        iStyle = PS_SOLID;
    return static_cast<HPEN>(makePen(iStyle, cWidth, color, false));
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color)
{
    if (emu::plannedFailure(emu::FailingCall::gdiObject))
        return nullptr;
    return static_cast<HBRUSH>(makeBrush(color, false, false));
}

DWORD WINAPI GetSysColor(int nIndex)
{
    if (nIndex < 0 || nIndex >= sysColourCount)
        return 0;
    return sysColours[nIndex];
}

HBRUSH WINAPI GetSysColorBrush(int nIndex)
{
    if (nIndex < 0 || nIndex >= sysColourCount)
        return nullptr;
    return static_cast<HBRUSH>(stock().sysBrushes[nIndex]);
}

namespace {

void release(void* handle)
{
    Object* object = lookupAny(handle);
    if (object == nullptr)
        return;
    if (object->selectedCount > 0)
        --object->selectedCount;
    if (object->selectedCount == 0 && object->deletePending)
        removeObject(handle);
}

void retain(void* handle)
{
    if (Object* object = lookupAny(handle))
        ++object->selectedCount;
}

template <typename H> H swapSelected(H& slot, H next)
{
    H previous = slot;
    retain(next);
    slot = next;
    // The previous object stays alive for the caller to select back, unless it was deleted.
    release(previous);
    return previous;
}

} // namespace

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h)
{
    Object* dcObject = lookup(hdc, ObjectKind::dc);
    Object* object = lookupAny(h);
    if (dcObject == nullptr || object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    DcState& state = dcObject->dc.state;
    switch (object->kind) {
    case ObjectKind::pen:
        return swapSelected(state.pen, static_cast<HPEN>(h));
    case ObjectKind::brush:
        return swapSelected(state.brush, static_cast<HBRUSH>(h));
    case ObjectKind::font:
        return swapSelected(state.font, static_cast<HFONT>(h));
    case ObjectKind::bitmap:
        // Only memory contexts take bitmaps, and a bitmap can be in one context at a time.
        if (dcObject->dc.window || (object->selectedCount > 0 && state.bitmap != h && !object->stock))
            return nullptr;
        return swapSelected(state.bitmap, static_cast<HBITMAP>(h));
    case ObjectKind::dc:
    case ObjectKind::icon:
        break;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

BOOL WINAPI DeleteObject(HGDIOBJ ho)
{
    Object* object = lookupAny(ho);
    if (object == nullptr || object->kind == ObjectKind::dc || object->kind == ObjectKind::icon) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (object->stock)
        return TRUE;
    if (object->selectedCount > 0) {
        object->deletePending = true;
        return TRUE;
    }
    removeObject(ho);
    return TRUE;
}

int WINAPI GetObjectW(HGDIOBJ h, int c, LPVOID pv)
{
    Object* object = lookupAny(h);
    if (object == nullptr)
        return 0;
    if (object->kind == ObjectKind::bitmap) {
        if (pv == nullptr)
            return sizeof(BITMAP);
        if (c < static_cast<int>(sizeof(BITMAP)))
            return 0;
        const BitmapData& b = object->bitmap;
        BITMAP info{};
        info.bmWidth = b.width;
        info.bmHeight = b.height;
        info.bmWidthBytes = static_cast<LONG>(b.stride);
        info.bmPlanes = 1;
        info.bmBitsPixel = static_cast<WORD>(b.bitsPerPixel);
        info.bmBits = const_cast<uint8_t*>(b.bits.data());
        *static_cast<BITMAP*>(pv) = info;
        return sizeof(BITMAP);
    }
    if (object->kind == ObjectKind::font) {
        if (pv == nullptr)
            return sizeof(LOGFONTW);
        int size = c < static_cast<int>(sizeof(LOGFONTW)) ? c : static_cast<int>(sizeof(LOGFONTW));
        if (size <= 0)
            return 0;
        std::memcpy(pv, &object->font.logFont, static_cast<size_t>(size));
        return size;
    }
    return 0;
}

// Context lifetime and attributes.

namespace gdi {

void* newDc(bool window)
{
    auto object = std::make_unique<Object>();
    object->kind = ObjectKind::dc;
    object->dc.window = window;
    void* handle = addObject(std::move(object));
    if (handle == nullptr)
        return nullptr;
    HDC dc = static_cast<HDC>(handle);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    return handle;
}

void freeDc(void* handle)
{
    Object* object = lookup(handle, ObjectKind::dc);
    if (object == nullptr)
        return;
    DcState state = object->dc.state;
    std::vector<DcState> saved = object->dc.saved;
    removeObject(handle);
    for (const DcState& s : saved) {
        release(s.pen);
        release(s.brush);
        release(s.font);
        release(s.bitmap);
    }
    release(state.pen);
    release(state.brush);
    release(state.font);
    release(state.bitmap);
}

void retainState(const DcState& s)
{
    retain(s.pen);
    retain(s.brush);
    retain(s.font);
    retain(s.bitmap);
}

void releaseState(const DcState& s)
{
    release(s.pen);
    release(s.brush);
    release(s.font);
    release(s.bitmap);
}

} // namespace gdi
