// Saving the screen (or any framebuffer) as a PNG file; used by the test driver and presenters.
#pragma once

#include "platform/gdi/screen.h"

#include <string>

namespace gdi {

// An 8-bit RGB PNG. False when the framebuffer is empty or inconsistent, or when the file could
// not be written in full (a half-written file is removed).
bool savePng(const Framebuffer& framebuffer, const std::string& path);
inline bool writePng(const Framebuffer& framebuffer, const std::string& path) { return savePng(framebuffer, path); }

} // namespace gdi
