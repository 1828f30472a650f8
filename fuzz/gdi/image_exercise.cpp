#include "fuzz/gdi/image_exercise.h"

#include "emulator.h"
#include "win32.h"

#include <cstdlib>

namespace {

// Icon 1 at 32 x 32 and 16 x 16: the directory the input's icon images are looked up through.
const uint8_t soundDirectory[] = {0, 0, 1, 0, 2, 0,                          //
                                  32, 32, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 1, 0, //
                                  16, 16, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 2, 0};

void drawBitmap(HDC target, HBITMAP bitmap)
{
    BITMAP info{};
    if (GetObject(bitmap, sizeof info, &info) != sizeof info)
        std::abort();
    HDC memory = CreateCompatibleDC(target);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(target, 0, 0, 48, 48, memory, 0, 0, SRCCOPY);
    StretchBlt(target, 0, 0, 48, 48, memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    GetPixel(memory, info.bmWidth - 1, info.bmHeight - 1);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

int drawIcon(HDC target, HANDLE icon)
{
    if (icon == nullptr)
        return 0;
    HICON h = static_cast<HICON>(icon);
    DrawIcon(target, 3, 3, h);
    DrawIconEx(target, -5, 40, h, 7, 5, 0, nullptr, DI_NORMAL);
    DrawIconEx(target, 0, 0, h, 0, 0, 0, nullptr, DI_MASK);
    if (!DestroyIcon(h))
        std::abort();
    return 1;
}

} // namespace

int exerciseImageResources(const uint8_t* data, size_t size)
{
    int loaded = 0;
    const auto bytes = static_cast<uint32_t>(size);
    const emu::ResourceEntry entries[] = {
        {RT_BITMAP, MAKEINTRESOURCEW(1), data, bytes},
        {RT_ICON, MAKEINTRESOURCEW(1), data, bytes},
        {RT_ICON, MAKEINTRESOURCEW(2), data, bytes},
        {RT_GROUP_ICON, MAKEINTRESOURCEW(1), soundDirectory, sizeof soundDirectory},
        {RT_GROUP_ICON, MAKEINTRESOURCEW(2), data, bytes},
    };
    emu::registerResources(entries, sizeof entries / sizeof entries[0]);

    HDC target = CreateCompatibleDC(nullptr);
    HBITMAP surface = CreateCompatibleBitmap(target, 48, 48);
    HGDIOBJ previous = SelectObject(target, surface);

    if (HBITMAP bitmap = LoadBitmapW(nullptr, MAKEINTRESOURCEW(1))) {
        drawBitmap(target, bitmap);
        ++loaded;
        if (!DeleteObject(bitmap))
            std::abort();
    }
    for (int side : {0, 16, 32, 40})
        loaded += drawIcon(target, LoadImageW(nullptr, MAKEINTRESOURCEW(1), IMAGE_ICON, side, side, 0));
    loaded += drawIcon(target, LoadImageW(nullptr, MAKEINTRESOURCEW(2), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));

    SelectObject(target, previous);
    DeleteObject(surface);
    DeleteDC(target);
    emu::clearResources();
    return loaded;
}
