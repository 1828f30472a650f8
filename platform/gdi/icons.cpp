// Icons from RT_GROUP_ICON / RT_ICON resources, drawn with their alpha; bitmap resources.
#include "platform/gdi/icon_images.h"
#include "platform/gdi/text_layout.h"

#include "emulator.h"

#include <map>
#include <tuple>
#include <vector>

namespace gdi {

namespace {

// The platform's standard icon size (SM_CXICON, SM_CYICON on the default device).
constexpr int standardIconSize = 32;

struct GroupEntry {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    WORD id = 0;
};

// A group directory: reserved 0, type 1, a count, then 14-byte entries (width, height, colour
// count, reserved, planes, bit count, bytes in the image, image id), 0 meaning 256 for a side.
bool readGroup(const uint8_t* data, size_t size, std::vector<GroupEntry>& entries)
{
    auto word = [&](size_t at) { return static_cast<WORD>(data[at] | data[at + 1] << 8); };
    if (data == nullptr || size < 6 || word(0) != 0 || word(2) != 1)
        return false;
    size_t count = word(4);
    if (count == 0 || count > (size - 6) / 14)
        return false;
    for (size_t i = 0; i < count; ++i) {
        const size_t at = 6 + 14 * i;
        GroupEntry e;
        e.width = data[at] == 0 ? 256 : data[at];
        e.height = data[at + 1] == 0 ? 256 : data[at + 1];
        e.bitCount = word(at + 6);
        e.id = word(at + 12);
        if (e.id != 0)
            entries.push_back(e);
    }
    return !entries.empty();
}

// The image that looks best at width x height: that size itself (deepest colour first), else
// the smallest larger one (scaled down), else the largest.
const GroupEntry& chooseEntry(const std::vector<GroupEntry>& entries, int width, int height)
{
    const GroupEntry* best = &entries.front();
    auto rank = [&](const GroupEntry& e) {
        bool exact = e.width == width && e.height == height;
        bool larger = e.width >= width && e.height >= height;
        long area = static_cast<long>(e.width) * e.height;
        // Lower is better.
        return std::make_tuple(exact ? 0 : larger ? 1 : 2, larger ? area : -area, -e.bitCount);
    };
    for (const GroupEntry& e : entries)
        if (rank(e) < rank(*best))
            best = &e;
    return *best;
}

bool resourceBytes(HINSTANCE instance, LPCWSTR name, LPCWSTR type, const uint8_t*& data, size_t& size)
{
    HRSRC found = FindResourceW(instance, name, type);
    if (found == nullptr)
        return false;
    data = static_cast<const uint8_t*>(LockResource(LoadResource(instance, found)));
    size = data != nullptr ? SizeofResource(instance, found) : 0;
    return true;
}

// Shared icons (LoadIcon, LR_SHARED) by image and size: loading one twice gives the same handle,
// and they live until the program ends. The image is known by its bytes, not only by where they
// lie, so that resources registered anew at a reused address are not mistaken for the old.
using SharedKey = std::tuple<const uint8_t*, size_t, uint64_t, int, int>;

std::map<SharedKey, HICON>& sharedIcons()
{
    static std::map<SharedKey, HICON> instance;
    return instance;
}

uint64_t digest(const uint8_t* data, size_t size)
{
    uint64_t h = 0xCBF29CE484222325ull;
    for (size_t i = 0; i < size; ++i)
        h = (h ^ data[i]) * 0x100000001B3ull;
    return h;
}

HICON makeIcon(IconData picture, bool shared)
{
    auto object = std::make_unique<Object>();
    object->kind = ObjectKind::icon;
    object->stock = shared;
    object->icon = std::move(picture);
    return static_cast<HICON>(addObject(std::move(object)));
}

// width or height 0: the image's own size.
HICON loadIcon(HINSTANCE instance, LPCWSTR name, int width, int height, bool shared)
{
    const uint8_t* group = nullptr;
    size_t groupSize = 0;
    if (!resourceBytes(instance, name, RT_GROUP_ICON, group, groupSize))
        return nullptr;
    std::vector<GroupEntry> entries;
    if (!readGroup(group, groupSize, entries)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    const GroupEntry& entry = chooseEntry(entries, width != 0 ? width : standardIconSize,
                                          height != 0 ? height : standardIconSize);
    const uint8_t* image = nullptr;
    size_t imageSize = 0;
    if (!resourceBytes(instance, MAKEINTRESOURCEW(entry.id), RT_ICON, image, imageSize))
        return nullptr;
    SharedKey key{image, imageSize, shared ? digest(image, imageSize) : 0, width, height};
    if (shared) {
        auto found = sharedIcons().find(key);
        if (found != sharedIcons().end() && lookup(found->second, ObjectKind::icon) != nullptr)
            return found->second;
    }
    IconData picture;
    if (!decodeIconImage(image, imageSize, picture)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    int w = width != 0 ? width : picture.width;
    int h = height != 0 ? height : picture.height;
    if (w != picture.width || h != picture.height) {
        picture = scaleIcon(picture, w, h);
        if (picture.pixels.empty()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
    }
    HICON icon = makeIcon(std::move(picture), shared);
    if (icon != nullptr && shared)
        sharedIcons()[key] = icon;
    return icon;
}

std::u16string nameFromAnsi(LPCSTR name)
{
    return IS_INTRESOURCE(name) ? std::u16string() : fromAnsi(name, -1);
}

LPCWSTR wideName(LPCSTR name, const std::u16string& converted)
{
    return IS_INTRESOURCE(name) ? reinterpret_cast<LPCWSTR>(name) : converted.c_str();
}

} // namespace

} // namespace gdi

using namespace gdi;

HICON WINAPI LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName)
{
    if (emu::plannedFailure(emu::FailingCall::gdiObject))
        return nullptr;
    return loadIcon(hInstance, lpIconName, standardIconSize, standardIconSize, true);
}

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName)
{
    std::u16string name = nameFromAnsi(lpIconName);
    return LoadIconW(hInstance, wideName(lpIconName, name));
}

HBITMAP WINAPI LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName)
{
    const uint8_t* data = nullptr;
    size_t size = 0;
    if (!resourceBytes(hInstance, lpBitmapName, RT_BITMAP, data, size) ||
        emu::plannedFailure(emu::FailingCall::gdiObject))
        return nullptr;
    HBITMAP bitmap = bitmapFromResource(data, size);
    if (bitmap == nullptr)
        SetLastError(ERROR_INVALID_DATA);
    return bitmap;
}

HBITMAP WINAPI LoadBitmapA(HINSTANCE hInstance, LPCSTR lpBitmapName)
{
    std::u16string name = nameFromAnsi(lpBitmapName);
    return LoadBitmapW(hInstance, wideName(lpBitmapName, name));
}

HANDLE WINAPI LoadImageW(HINSTANCE hInst, LPCWSTR name, UINT type, int cx, int cy, UINT fuLoad)
{
    if ((fuLoad & LR_LOADFROMFILE) != 0) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    if (type == IMAGE_BITMAP)
        return LoadBitmapW(hInst, name);
    if (type != IMAGE_ICON || cx < 0 || cy < 0 || cx > maxIconSide || cy > maxIconSide) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if ((fuLoad & LR_DEFAULTSIZE) != 0) {
        cx = cx != 0 ? cx : standardIconSize;
        cy = cy != 0 ? cy : standardIconSize;
    }
    if (emu::plannedFailure(emu::FailingCall::gdiObject))
        return nullptr;
    return loadIcon(hInst, name, cx, cy, (fuLoad & LR_SHARED) != 0);
}

HANDLE WINAPI LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad)
{
    std::u16string converted = nameFromAnsi(name);
    return LoadImageW(hInst, wideName(name, converted), type, cx, cy, fuLoad);
}

BOOL WINAPI DestroyIcon(HICON hIcon)
{
    Object* object = lookup(hIcon, ObjectKind::icon);
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // A shared icon belongs to everyone who loaded it.
    if (!object->stock)
        removeObject(hIcon);
    return TRUE;
}

BOOL WINAPI DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT, HBRUSH hbrFlickerFreeDraw,
                       UINT diFlags)
{
    Object* dc = lookup(hdc, ObjectKind::dc);
    Object* object = lookup(hIcon, ObjectKind::icon);
    if (dc == nullptr || object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if ((diFlags & DI_NORMAL) == 0 || cxWidth < 0 || cyWidth < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const IconData* picture = &object->icon;
    int defaultSide = (diFlags & DI_DEFAULTSIZE) != 0 ? standardIconSize : 0;
    int width = cxWidth != 0 ? cxWidth : defaultSide != 0 ? defaultSide : picture->width;
    int height = cyWidth != 0 ? cyWidth : defaultSide != 0 ? defaultSide : picture->height;
    IconData scaled;
    if (width != picture->width || height != picture->height) {
        scaled = scaleIcon(*picture, width, height);
        if (scaled.pixels.empty()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        picture = &scaled;
    }
    if (hbrFlickerFreeDraw != nullptr) {
        RECT area{xLeft, yTop, xLeft + width, yTop + height};
        FillRect(hdc, &area, hbrFlickerFreeDraw);
    }
    Target target;
    if (!targetOf(dc->dc, target))
        return TRUE;
    const uint32_t* pixels = picture->pixels.data();
    const int stride = picture->width;
    const UINT parts = diFlags & DI_NORMAL;
    eachInBlock(target, xLeft + target.originX, yTop + target.originY, picture->width, picture->height,
                [&](uint32_t& out, int x, int y) {
                    uint32_t p = pixels[y * stride + x];
                    unsigned alpha = p >> 24;
                    if (parts == DI_NORMAL) {
                        if (alpha != 0)
                            out = blend(out, p & 0xFFFFFF, alpha);
                    } else if (parts == DI_IMAGE) {
                        out = p & 0xFFFFFF;
                    } else if (alpha != 0) { // the mask alone: black wherever the icon covers anything
                        out = 0;
                    }
                });
    notifyChanged(target);
    return TRUE;
}

BOOL WINAPI DrawIcon(HDC hDC, int X, int Y, HICON hIcon)
{
    return DrawIconEx(hDC, X, Y, hIcon, 0, 0, 0, nullptr, DI_NORMAL);
}
