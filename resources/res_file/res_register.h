// Puts a compiled resource file's resources into the program's registry, so that LoadStringA,
// LoadBitmapA, DialogBoxParamA and the rest find them as they would in the program's image.
#pragma once

#include <cstddef>
#include <string>

namespace resfile {

// 0 on success; otherwise -1 with `error` saying what is wrong with the bytes (nothing registered).
int registerResFile(const unsigned char* bytes, size_t size, std::string& error);

} // namespace resfile
