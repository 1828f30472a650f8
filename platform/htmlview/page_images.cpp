#include "platform/htmlview/page_images.h"

#include "platform/gdi/icon_images.h"
#include "platform/htmlview/page_rects.h"

#include <algorithm>
#include <cstring>

namespace htmlview {

namespace {

template <typename T> bool readAt(std::string_view bytes, size_t offset, T& value)
{
    if (offset > bytes.size() || bytes.size() - offset < sizeof(T))
        return false;
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return true;
}

// A 32-bit top-down section of the given size; its pixels in *bits.
HBITMAP makeSection(int width, int height, void** bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

} // namespace

bool decodeBitmapFile(std::string_view bytes, PageImage& image)
{
    image = PageImage{};
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    if (!readAt(bytes, 0, file) || file.bfType != 0x4D42 || !readAt(bytes, sizeof(file), header))
        return false;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > 256 || header.biPlanes != 1)
        return false;
    if (header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS)
        return false;
    int bits = header.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    long long width = header.biWidth;
    long long height = header.biHeight < 0 ? -static_cast<long long>(header.biHeight) : header.biHeight;
    if (width <= 0 || height <= 0 || width > maxImageSide || height > maxImageSide)
        return false;
    size_t infoBytes = header.biSize;
    if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER))
        infoBytes += 12;
    if (bits <= 8) {
        size_t colours = size_t{1} << bits;
        if (header.biClrUsed != 0)
            colours = std::min<size_t>(header.biClrUsed, colours);
        infoBytes += 4 * colours;
    }
    size_t stride = ((static_cast<size_t>(width) * static_cast<size_t>(bits) + 31) / 32) * 4;
    size_t rowsBytes = stride * static_cast<size_t>(height);
    if (sizeof(file) + infoBytes > bytes.size() || file.bfOffBits > bytes.size() ||
        bytes.size() - file.bfOffBits < rowsBytes)
        return false;

    // The header and colour table go to the drawing layer as they are, so that it reads every
    // depth; the result is taken back as 32-bit pixels.
    std::vector<uint8_t> info(bytes.begin() + sizeof(file), bytes.begin() + static_cast<long>(sizeof(file) + infoBytes));
    void* sourceBits = nullptr;
    HBITMAP source = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS,
                                      &sourceBits, nullptr, 0);
    if (source == nullptr || sourceBits == nullptr) {
        if (source != nullptr)
            DeleteObject(source);
        return false;
    }
    std::memcpy(sourceBits, bytes.data() + file.bfOffBits, rowsBytes);
    void* targetBits = nullptr;
    HBITMAP target = makeSection(static_cast<int>(width), static_cast<int>(height), &targetBits);
    bool ok = false;
    if (target != nullptr && targetBits != nullptr) {
        HDC from = CreateCompatibleDC(nullptr);
        HDC to = CreateCompatibleDC(nullptr);
        HGDIOBJ oldFrom = SelectObject(from, source);
        HGDIOBJ oldTo = SelectObject(to, target);
        ok = BitBlt(to, 0, 0, static_cast<int>(width), static_cast<int>(height), from, 0, 0, SRCCOPY) != FALSE;
        if (ok) {
            image.width = static_cast<int>(width);
            image.height = static_cast<int>(height);
            const auto* pixels = static_cast<const uint32_t*>(targetBits);
            image.pixels.assign(pixels, pixels + static_cast<size_t>(width * height));
            for (uint32_t& p : image.pixels)
                p &= 0xFFFFFF;
        }
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
        DeleteDC(from);
        DeleteDC(to);
    }
    if (target != nullptr)
        DeleteObject(target);
    DeleteObject(source);
    return ok;
}

bool decodePicture(std::string_view bytes, PageImage& image)
{
    image = PageImage{};
    if (bytes.substr(0, 8) != std::string_view("\x89PNG\r\n\x1A\n", 8))
        return decodeBitmapFile(bytes, image);
    gdi::IconData png;
    if (!gdi::decodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), png) || png.width <= 0 ||
        png.height <= 0 || png.width > maxImageSide || png.height > maxImageSide ||
        png.pixels.size() != static_cast<size_t>(png.width) * static_cast<size_t>(png.height))
        return false;
    image.width = png.width;
    image.height = png.height;
    image.pixels.resize(png.pixels.size());
    for (size_t i = 0; i < png.pixels.size(); ++i) {
        uint32_t p = png.pixels[i];
        uint32_t alpha = p >> 24;
        uint32_t out = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            uint32_t c = (p >> shift) & 0xFF;
            out |= ((c * alpha + 255 * (255 - alpha)) / 255) << shift;
        }
        image.pixels[i] = out;
    }
    return true;
}

void drawPageImage(HDC dc, const PageImage& image, const RECT& box, const RECT& clip)
{
    RECT visible{};
    if (image.width <= 0 || image.height <= 0 || !meet(box, clip, visible))
        return;
    long long boxWidth = static_cast<long long>(box.right) - box.left;
    long long boxHeight = static_cast<long long>(box.bottom) - box.top;
    int width = visible.right - visible.left;
    int height = visible.bottom - visible.top;
    void* bits = nullptr;
    HBITMAP section = makeSection(width, height, &bits);
    if (section == nullptr || bits == nullptr) {
        if (section != nullptr)
            DeleteObject(section);
        return;
    }
    auto* out = static_cast<uint32_t*>(bits);
    for (int y = 0; y < height; ++y) {
        long long sy = (static_cast<long long>(visible.top - box.top + y) * image.height) / boxHeight;
        sy = std::clamp<long long>(sy, 0, image.height - 1);
        for (int x = 0; x < width; ++x) {
            long long sx = (static_cast<long long>(visible.left - box.left + x) * image.width) / boxWidth;
            sx = std::clamp<long long>(sx, 0, image.width - 1);
            out[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                image.pixels[static_cast<size_t>(sy) * static_cast<size_t>(image.width) + static_cast<size_t>(sx)];
        }
    }
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, section);
    BitBlt(dc, visible.left, visible.top, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(section);
}

} // namespace htmlview
