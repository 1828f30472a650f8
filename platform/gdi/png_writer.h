// Saving the screen (or any framebuffer) as a PNG file; used by the test driver and presenters.
#pragma once

#include "platform/gdi/screen.h"

#include <string>

namespace gdi {

bool writePng(const Framebuffer& framebuffer, const std::string& path);

} // namespace gdi
