// The drawing layer's one table of objects and contexts. Handles are checked ids: a slot
// index and a generation, so a stale or foreign handle finds nothing and the call fails.
#pragma once

#include "platform/gdi/screen.h"
#include "win32.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace gdi {

enum class ObjectKind { pen, brush, font, bitmap, dc, icon };

struct FontData {
    LOGFONTW logFont{};
    bool bold = false;
    bool italic = false;
    // What the font resolved to (fonts.cpp), worked out again when the device look changes.
    mutable int resolvedLook = -1;
    mutable int family = 0;
    mutable int pixelSize = 0; // em height in pixels
    mutable int emWidth64 = 0; // em width in 64ths of a pixel when lfWidth asks one; 0: as wide as high
};

struct BitmapData {
    int width = 0;
    int height = 0; // always positive
    int bitsPerPixel = 32;
    bool topDown = true;
    size_t stride = 0;
    std::vector<uint8_t> bits;       // the pixel rows, as the program sees them
    std::vector<uint32_t> palette;   // 0x00RRGGBB for 1, 4 and 8 bits per pixel
    uint32_t masks[3] = {0, 0, 0};   // red, green, blue for 16 and 32 bits per pixel
};

// An icon: 0xAARRGGBB pixels with straight (not premultiplied) alpha, top row first.
struct IconData {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

struct DcState {
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr;
    COLORREF textColour = 0;
    COLORREF bkColour = 0xFFFFFF;
    int bkMode = OPAQUE;
    UINT textAlign = 0;
    POINT position{0, 0};
};

struct DcData {
    bool window = false;
    int originX = 0;
    int originY = 0;
    std::vector<ClipRect> clip; // window contexts: screen coordinates
    DcState state;
    std::vector<DcState> saved;
};

struct Object {
    ObjectKind kind;
    bool stock = false;
    int selectedCount = 0;
    bool deletePending = false;
    // pen / brush
    int penStyle = PS_SOLID;
    int penWidth = 1;
    COLORREF colour = 0;
    bool nullBrush = false;
    FontData font;
    BitmapData bitmap;
    DcData dc;
    IconData icon;
};

// Returns the object behind a handle of the given kind, or nullptr for a stale or wrong handle.
Object* lookup(const void* handle, ObjectKind kind);
Object* lookupAny(const void* handle);
void* addObject(std::unique_ptr<Object> object);
void removeObject(const void* handle);

// A 32-bit drawing target: pixels 0x00RRGGBB, with the clip in target coordinates.
struct Target {
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    ptrdiff_t stridePixels = 0; // negative for bottom-up rows
    int originX = 0;
    int originY = 0;
    std::vector<ClipRect> clip;
    bool isScreen = false;
};

// The target of a context; false when the context draws nowhere (a bitmap of fewer than 32 bits
// per pixel).
bool targetOf(DcData& dc, Target& target);
// Fills the intersection of r (target coordinates) with the clip.
void fillSpan(Target& target, ClipRect r, uint32_t colour);
void xorSpan(Target& target, ClipRect r, uint32_t mask);
void putPixel(Target& target, int x, int y, uint32_t colour);
void blendPixel(Target& target, int x, int y, uint32_t colour, unsigned alpha);
bool insideClip(const Target& target, int x, int y);
void notifyChanged(const Target& target);
// A run of text drawn onto the screen, for the handler of setTextDrawnHandler.
void notifyTextDrawn(HDC dc, const Target& target, std::u16string_view text, const ClipRect& cell);

inline uint32_t toPixel(COLORREF c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }
inline COLORREF toColour(uint32_t p) { return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF); }

// Reads pixel (x, y) of any bitmap as 0x00RRGGBB (x, y inside the bitmap).
uint32_t readBitmapPixel(const BitmapData& bitmap, int x, int y);
// The `count` pixels of row y from x on (all inside the bitmap) as 0x00RRGGBB, the depth decided
// once for the span.
void readBitmapSpan(const BitmapData& bitmap, int x, int y, int count, uint32_t* out);
// The pixels of row y at the given columns (each inside the bitmap), decided once as a span is.
void readBitmapColumns(const BitmapData& bitmap, const int* columns, int y, int count, uint32_t* out);

// The address of pixel (x, y) of a target (inside it).
inline uint32_t& pixelAt(const Target& target, int x, int y)
{
    return target.pixels[static_cast<ptrdiff_t>(y) * target.stridePixels + x];
}

// colour drawn over p with the given straight alpha, each channel rounded to the nearest. The
// three channels are worked in 16-bit lanes of one 64-bit word, where x / 255 rounded is
// (t + (t >> 8)) >> 8 with t = x + 128.
inline uint32_t blend(uint32_t p, uint32_t colour, unsigned alpha)
{
    if (alpha >= 255)
        return colour;
    constexpr uint64_t lanes = 0x000000FF00FF00FFull;
    auto spread = [](uint32_t c) {
        return uint64_t{c & 0xFFu} | uint64_t{c & 0xFF00u} << 8 | uint64_t{c & 0xFF0000u} << 16;
    };
    uint64_t t = spread(colour) * alpha + spread(p) * (255 - alpha) + 0x0000008000800080ull;
    t = (t + (t >> 8 & lanes)) >> 8 & lanes;
    return static_cast<uint32_t>((t & 0xFF) | (t >> 8 & 0xFF00) | (t >> 16 & 0xFF0000));
}

// Calls op(pixel, column, row) once for every pixel of the width x height block whose top left
// corner is at (x, y) in target coordinates and that the clip lets through. One clip rectangle
// (the usual case) is walked row by row; several are asked pixel by pixel, so that overlapping
// rectangles still visit each pixel once.
template <typename Op> void eachInBlock(Target& target, int x, int y, int width, int height, Op op)
{
    if (target.clip.size() == 1) {
        const ClipRect& c = target.clip.front();
        const int left = x > c.left ? x : c.left;
        const int top = y > c.top ? y : c.top;
        const int right = x + width < c.right ? x + width : c.right;
        const int bottom = y + height < c.bottom ? y + height : c.bottom;
        for (int ty = top; ty < bottom; ++ty) {
            uint32_t* row = &pixelAt(target, 0, ty);
            for (int tx = left; tx < right; ++tx)
                op(row[tx], tx - x, ty - y);
        }
        return;
    }
    for (int by = 0; by < height; ++by)
        for (int bx = 0; bx < width; ++bx)
            if (insideClip(target, x + bx, y + by))
                op(pixelAt(target, x + bx, y + by), bx, by);
}

} // namespace gdi
