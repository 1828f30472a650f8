#include "shell/bitmap_surface.h"

#include <cstring>

#include "db/database_program.h"

namespace {

constexpr uint32_t infoHeaderSize = sizeof(BITMAPINFOHEADER); // 40
constexpr uint32_t v4HeaderSize = 108;
constexpr uint32_t v5HeaderSize = 124;
constexpr uint32_t bitfieldMasksSize = 12; // after a 40-byte header; inside the larger ones
constexpr uint32_t colourEntrySize = 4;

static_assert(infoHeaderSize == 40);

// Where the parts of a picture lie, once its header has been found sound.
struct PictureLayout {
    uint32_t infoBytes = 0;  // header, masks and colour table as the bitmap section reads them
    uint32_t pixelBytes = 0; // row size x rows
};

bool knownHeaderSize(uint32_t size) {
    return size == infoHeaderSize || size == v4HeaderSize || size == v5HeaderSize;
}

bool knownBitCount(uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

int64_t rowsOf(const BITMAPINFOHEADER& header) {
    const int64_t height = header.biHeight;
    return height < 0 ? -height : height;
}

// Everything the header claims, checked against the chunk that holds it before anything is
// allocated: a header that fails describes no picture this loader will make.
bool layOutPicture(const BITMAPINFOHEADER& header, const ChunkCursor& chunk, PictureLayout& layout) {
    const uint64_t size = chunkSize(chunk);
    const uint64_t pixelOffset = chunkBitsOffset(chunk);
    const uint32_t bits = header.biBitCount;
    if (!knownHeaderSize(header.biSize) || header.biPlanes != 1 || !knownBitCount(bits)) return false;
    const bool bitfields = header.biCompression == BI_BITFIELDS;
    if (header.biCompression != BI_RGB && !(bitfields && (bits == 16 || bits == 32))) return false;
    const int64_t rows = rowsOf(header);
    if (header.biWidth < 1 || header.biWidth > maxPictureSide || rows < 1 || rows > maxPictureSide)
        return false;

    // The colour table: what the depth can address, all of it when the header names no count. A
    // deeper picture may carry a table too; the bitmap ignores it but the file lays it out.
    const uint64_t addressable = bits <= 8 ? uint64_t{1} << bits : 256;
    const uint64_t entries = header.biClrUsed == 0 && bits <= 8 ? addressable : header.biClrUsed;
    if (entries > addressable) return false;
    const uint64_t masks = bitfields && header.biSize == infoHeaderSize ? bitfieldMasksSize : 0;
    const uint64_t tableBytes = colourEntrySize * entries;
    const uint64_t infoInFile = header.biSize + masks + tableBytes;
    if (pixelOffset < ydb::chunkHeaderSize + infoInFile || pixelOffset > size) return false;

    const uint64_t rowBytes = (static_cast<uint64_t>(header.biWidth) * bits + 31) / 32 * 4;
    const uint64_t pixelBytes = rowBytes * static_cast<uint64_t>(rows);
    if (pixelBytes > pictureMemoryBudget || pixelOffset + pixelBytes > size ||
        chunk.position + pixelOffset + pixelBytes > UINT32_MAX)
        return false;

    layout.infoBytes = static_cast<uint32_t>(header.biSize + masks + (bits <= 8 ? tableBytes : 0));
    layout.pixelBytes = static_cast<uint32_t>(pixelBytes);
    return true;
}

int32_t damaged(const DirectoryDatabase& db, BitmapSurface& surface, int32_t code) {
    reportDamaged(db);
    surface.lastCode = code;
    return code;
}

// Runs `draw` with the picture selected into a memory context compatible with `dest`; nothing when
// there is no picture or no context.
template <class Draw> void drawFromPicture(BitmapSurface& surface, HDC dest, Draw draw) {
    if (surface.bitmap == nullptr || surface.bitmapInfo == nullptr) return;
    surface.drawingContext = CreateCompatibleDC(dest);
    if (surface.drawingContext == nullptr) return;
    const HGDIOBJ previous = SelectObject(surface.drawingContext, surface.bitmap);
    if (previous != nullptr) {
        draw(surface.drawingContext);
        SelectObject(surface.drawingContext, previous);
    }
    DeleteDC(surface.drawingContext);
    surface.drawingContext = nullptr;
}

} // namespace

BitmapSurface& initSurface(BitmapSurface& surface) {
    surface = BitmapSurface{};
    return surface;
}

void releaseSurface(BitmapSurface& surface) {
    if (surface.bitmap != nullptr) DeleteObject(surface.bitmap);
    if (surface.bitmapInfo != nullptr) LocalFree(surface.bitmapInfo);
    surface.bitmap = nullptr;
    surface.bitmapInfo = nullptr;
}

void resetSurface(BitmapSurface& surface) {
    releaseSurface(surface);
    initSurface(surface);
}

int32_t loadPicture(BitmapSurface& surface, HDC screenDc, uint32_t n) {
    resetSurface(surface);
    const DirectoryDatabase* current = databaseProgram.current;
    if (current == nullptr || current->file == INVALID_HANDLE_VALUE)
        return surface.lastCode = pictureNoDatabase;
    const DirectoryDatabase& db = *current;
    if (findChunk(db, ydb::chunkTagPicture, n, surface.chunk) != 0)
        return surface.lastCode = pictureAreaEnded;

    // The fixed part of the header is read onto the stack and judged before any allocation; the
    // copy that the bitmap is made from starts with exactly these bytes.
    BITMAPINFOHEADER header{};
    const uint32_t infoAt = surface.chunk.position + ydb::chunkHeaderSize;
    if (surface.chunk.position > UINT32_MAX - ydb::chunkHeaderSize - infoHeaderSize ||
        readFileAt(db, infoAt, &header, infoHeaderSize) != infoHeaderSize)
        return damaged(db, surface, pictureShortInfo);
    PictureLayout layout;
    if (!layOutPicture(header, surface.chunk, layout)) return damaged(db, surface, pictureUnusable);

    surface.bitmapInfo = static_cast<BITMAPINFO*>(LocalAlloc(LMEM_FIXED, layout.infoBytes));
    if (surface.bitmapInfo == nullptr) return damaged(db, surface, pictureNoMemory);
    std::memcpy(surface.bitmapInfo, &header, infoHeaderSize);
    const uint32_t rest = layout.infoBytes - infoHeaderSize;
    if (rest != 0 &&
        readFileAt(db, infoAt + infoHeaderSize,
                   reinterpret_cast<uint8_t*>(surface.bitmapInfo) + infoHeaderSize, rest) != rest)
        return damaged(db, surface, pictureShortInfo);

    void* pixels = nullptr;
    surface.bitmap = CreateDIBSection(screenDc, surface.bitmapInfo, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (surface.bitmap == nullptr || pixels == nullptr) {
        resetSurface(surface);
        return damaged(db, surface, pictureUnusable);
    }
    // The rows go straight into the bitmap's own memory, which holds exactly this many bytes.
    const uint32_t pixelsAt = surface.chunk.position + chunkBitsOffset(surface.chunk);
    if (readFileAt(db, pixelsAt, pixels, layout.pixelBytes) != layout.pixelBytes)
        return damaged(db, surface, pictureShortPixels);
    return surface.lastCode = pictureLoaded;
}

int pictureWidth(const BitmapSurface& surface) {
    return surface.bitmapInfo != nullptr ? static_cast<int>(surface.bitmapInfo->bmiHeader.biWidth) : 0;
}

int pictureHeight(const BitmapSurface& surface) {
    return surface.bitmapInfo != nullptr ? static_cast<int>(rowsOf(surface.bitmapInfo->bmiHeader)) : 0;
}

bool surfaceLoaded(const BitmapSurface& surface) {
    return surface.bitmapInfo != nullptr;
}

bool surfaceFailed(const BitmapSurface& surface) {
    return surface.lastCode <= pictureNoMemory && surface.lastCode >= pictureShortPixels;
}

void copyPicture(BitmapSurface& surface, HDC dest, int sourceX, int sourceY, int16_t width, int16_t height) {
    if (sourceX >= pictureWidth(surface)) sourceX = 0;
    if (sourceY >= pictureHeight(surface)) sourceY = 0;
    drawFromPicture(surface, dest, [&](HDC source) {
        BitBlt(dest, 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);
    });
}

void stretchPicture(BitmapSurface& surface, HDC dest, int destX, int destY, int16_t destWidth,
                    int16_t destHeight, int sourceX, int sourceY, int16_t sourceWidth, int16_t sourceHeight) {
    const int width = pictureWidth(surface);
    const int height = pictureHeight(surface);
    if (sourceX < 0 || sourceX >= width) sourceX = 0;
    if (sourceY < 0 || sourceY >= height) sourceY = 0;
    const int fromWidth = sourceWidth < 0 ? width : sourceWidth;
    const int fromHeight = sourceHeight < 0 ? height : sourceHeight;
    const int toWidth = destWidth < 0 ? width : destWidth;
    const int toHeight = destHeight < 0 ? height : destHeight;
    drawFromPicture(surface, dest, [&](HDC source) {
        StretchBlt(dest, destX, destY, toWidth, toHeight, source, sourceX, sourceY, fromWidth, fromHeight,
                   SRCCOPY);
    });
}
