// Which faces the platform's fonts resolve to. The handheld has one face, Tahoma; the desktop
// resolves a font asked with no face name to an Arial-metric sans and the dialog faces to Tahoma.
// Either falls back to DejaVu Sans when its own face is not installed.
#pragma once

#include "win32.h"

#include <string>
#include <string_view>

namespace gdi {

// The machine whose faces (and, in the window manager, frames) the platform imitates.
enum class DeviceLook { handheld, desktop };

void setDeviceLook(DeviceLook look);
DeviceLook deviceLook();

enum class Family { tahoma, arialMetric };
constexpr size_t familyCount = 2;

// Regular, bold, oblique, bold oblique: the index of a style in a family's files.
constexpr int styleCount = 4;
inline int styleIndex(bool bold, bool italic) { return (bold ? 1 : 0) + (italic ? 2 : 0); }

// The family a face name asks for on the given machine.
Family familyFor(std::u16string_view faceName, DeviceLook look);

// The file of a family's style, found once; a family without its own oblique gives its upright
// file (drawn slanted). Empty only when not even DejaVu Sans is installed.
struct FaceFile {
    std::string path;
    bool slanted = false; // the face is drawn with a shear: the file has no oblique of its own
};
FaceFile faceFile(Family family, int style);

// Every family draws in DejaVu Sans from now on, as on a machine without the platform's own faces;
// for measuring what the faces change. Call it before any text is measured or drawn.
void useFallbackFaceOnly();

// The font of the desktop's window captions (Tahoma bold, 8 points): a stock object.
HFONT captionFont();

} // namespace gdi
