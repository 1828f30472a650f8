// The four pictures of the about screen: an upper and a lower band for the portrait screen
// (240 pixels wide) and for the landscape one (320 wide).
#pragma once

#include <string>

#include "tools/editiongen/canvas.h"

// `index` 0 and 1 are the portrait upper and lower pictures, 2 and 3 the landscape ones.
bool drawAboutPicture(int index, const std::string& city, Canvas& out, std::string& error);
