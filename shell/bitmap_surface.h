// One picture of the current database's resource area, held in a platform bitmap and drawn whole or
// in part on every repaint. The pictures come from the database file, so everything they claim is
// checked before it is allocated or read.
//
//   BitmapSurface surface;
//   initSurface(surface);
//   if (!surfaceLoaded(surface) && !surfaceFailed(surface)) loadPicture(surface, paintDc, 4);
//   copyPicture(surface, paintDc, scrollX, scrollY, width, height);
//   ...
//   releaseSurface(surface);
#pragma once

#include <cstdint>

#include "db/resource_area.h"
#include "win32.h"

struct BitmapSurface {
    HDC drawingContext = nullptr;     // the memory context of a copy in progress, else none
    HBITMAP bitmap = nullptr;         // the picture, or none
    ChunkCursor chunk;                // position and header of the chunk read last
    BITMAPINFO* bitmapInfo = nullptr; // owned (LocalAlloc): header, masks and colour table, or none
    int32_t lastCode = 0;             // what the last loadPicture returned
};

// Load results.
constexpr int32_t pictureLoaded = 0;
constexpr int32_t pictureAreaEnded = -1;   // the area ended before the picture (or the chain is broken)
constexpr int32_t pictureNoMemory = -2;    // no memory for the bitmap info
constexpr int32_t pictureShortInfo = -3;   // the bitmap info could not be read in full
constexpr int32_t pictureUnusable = -4;    // the header describes no picture we load, or no bitmap was made
constexpr int32_t pictureShortPixels = -5; // the pixel rows could not be read in full
constexpr int32_t pictureNoDatabase = -6;  // no database is open

// The largest side we load: the copy operations address pixels with 16-bit values.
constexpr int32_t maxPictureSide = 32767;
// The most pixel memory one picture may claim: a metro scheme of 4000 x 4000 at 16 bits fits, a
// header that asks for gigabytes does not.
constexpr uint32_t pictureMemoryBudget = 32u << 20;

// Clears every field. Answers the surface.
BitmapSurface& initSurface(BitmapSurface& surface);
// Deletes the bitmap and frees the bitmap info. The two are cleared so that a second release (a
// screen closed two ways) frees nothing twice; the chunk and the last code stay.
void releaseSurface(BitmapSurface& surface);
// releaseSurface, then every field cleared.
void resetSurface(BitmapSurface& surface);

// Loads picture n (from 0) of the current database into a bitmap for `screenDc`, replacing what the
// surface held. One of the codes above; -2 to -5 show the damaged-file message first. After -3 the
// bitmap info is kept (without a bitmap); after -5 the bitmap is kept as far as it was read.
int32_t loadPicture(BitmapSurface& surface, HDC screenDc, uint32_t n);

// The picture's size in pixels (the height counted as rows, whatever their order); 0 when nothing
// is loaded.
int pictureWidth(const BitmapSurface& surface);
int pictureHeight(const BitmapSurface& surface);
// The bitmap info is held (as after a load, or after -3).
bool surfaceLoaded(const BitmapSurface& surface);
// The last load showed the damaged-file message: a screen that loads on paint waits for a reset
// before trying again, rather than raising the message on every repaint.
bool surfaceFailed(const BitmapSurface& surface);

// Copies width x height pixels from (sourceX, sourceY) of the picture to the destination's origin.
// A source point at or beyond the picture's right (bottom) edge draws from its left (top) instead.
// Nothing without a bitmap.
void copyPicture(BitmapSurface& surface, HDC dest, int sourceX, int sourceY, int16_t width, int16_t height);

// Stretches a part of the picture onto a rectangle. A source point that is negative or beyond the
// picture draws from 0; a negative width or height (source or destination) means the picture's own,
// so (x, y, w, -1, -1, -1, -1, -1) draws the whole picture w wide at its natural height.
void stretchPicture(BitmapSurface& surface, HDC dest, int destX, int destY, int16_t destWidth,
                    int16_t destHeight, int sourceX, int sourceY, int16_t sourceWidth, int16_t sourceHeight);
