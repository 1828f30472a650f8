#include "fuzz/shell/picture_exercise.h"

#include <vector>

#include "db/database.h"
#include "emulator.h"
#include "fuzz/area_database.h"
#include "fuzz/exercise_files.h"
#include "shell/bitmap_surface.h"

namespace {

// The about screen uses pictures 0 to 3 and the metro screen 4; a few more reach chunks behind them.
constexpr uint32_t maxPictures = 8;
constexpr int canvasSide = 48;

HDC canvas = nullptr;

[[noreturn]] void broken(const char* what) {
    exerciseBroken("picture", what);
}

// A memory context with a 32-bit bitmap selected: what the screens' paint contexts stand for.
HDC makeCanvas() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = canvasSide;
    info.bmiHeader.biHeight = -canvasSide;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    if (bitmap == nullptr || dc == nullptr || SelectObject(dc, bitmap) == nullptr) return nullptr;
    return dc;
}

void checkLoad(const BitmapSurface& surface, int32_t code) {
    if (code < pictureShortPixels || code > pictureLoaded) broken("a code the loader does not give");
    if (surface.drawingContext != nullptr) broken("a drawing context kept after a load");
    if (surface.lastCode != code) broken("the surface does not keep its code");
    if (code == pictureLoaded || code == pictureShortPixels) {
        if (surface.bitmap == nullptr || !surfaceLoaded(surface)) broken("a picture without its bitmap");
        const int width = pictureWidth(surface);
        const int height = pictureHeight(surface);
        if (width < 1 || width > maxPictureSide || height < 1 || height > maxPictureSide)
            broken("a picture beyond the size limits");
        BITMAP made{};
        if (GetObject(surface.bitmap, sizeof made, &made) != static_cast<int>(sizeof made) ||
            made.bmWidth != width || (made.bmHeight < 0 ? -made.bmHeight : made.bmHeight) != height)
            broken("the bitmap is not the size its header gave");
        if (static_cast<uint64_t>(made.bmWidthBytes) * static_cast<uint64_t>(height) > pictureMemoryBudget)
            broken("a bitmap over the memory budget");
    } else if (surface.bitmap != nullptr) {
        broken("a failed load kept a bitmap");
    } else if (surfaceLoaded(surface) && code != pictureShortInfo) {
        broken("a failed load kept its bitmap info");
    }
}

void drawEveryWay(BitmapSurface& surface) {
    const int width = pictureWidth(surface);
    const int height = pictureHeight(surface);
    copyPicture(surface, canvas, 0, 0, canvasSide, canvasSide);
    copyPicture(surface, canvas, width - 1, height - 1, canvasSide, canvasSide);
    copyPicture(surface, canvas, width, height, canvasSide, canvasSide);
    stretchPicture(surface, canvas, 0, 0, canvasSide, canvasSide, -1, -1, -1, -1);
    stretchPicture(surface, canvas, 3, 3, canvasSide, -1, -1, -1, -1, -1);
    if (surface.drawingContext != nullptr) broken("a drawing context kept after a copy");
}

} // namespace

bool preparePictureExercise(const std::string& hostRoot) {
    if (!prepareAreaDatabase(hostRoot, "picture-exercise")) return false;
    canvas = makeCanvas();
    return canvas != nullptr;
}

int exercisePictures(const uint8_t* data, size_t size) {
    DirectoryDatabase* db = openAreaDatabase(data, size, "picture");

    const size_t blocks = emu::liveLocalBlocks();
    BitmapSurface surface;
    initSurface(surface);
    int loaded = 0;
    bool ended = false;
    for (uint32_t n = 0; n < maxPictures; ++n) {
        const int32_t code = loadPicture(surface, canvas, n);
        checkLoad(surface, code);
        drawEveryWay(surface);
        // The walk starts from the area's beginning each time: once it ends, it ends for every later number.
        if (ended && code != pictureAreaEnded) broken("a picture found after the area ended");
        if (code == pictureLoaded) ++loaded;
        resetSurface(surface);
        if (emu::liveLocalBlocks() != blocks) broken("a block left behind by a load");
        if (ended) break;
        ended = code == pictureAreaEnded;
    }
    releaseSurface(surface);
    releaseSurface(surface);

    closeAreaDatabase(db);
    return loaded;
}
