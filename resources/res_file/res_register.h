// Puts a compiled resource file's resources into the program's registry, so that LoadStringA,
// LoadBitmapA, DialogBoxParamA and the rest find them as they would in the program's image.
#pragma once

#include <cstddef>
#include <string>

namespace resfile {

// 0 on success; otherwise -1 with `error` saying what is wrong with the bytes (nothing registered).
int registerResFile(const unsigned char* bytes, size_t size, std::string& error);

} // namespace resfile

namespace resfile {

// For a program's static initialiser: registers its built-in resources, and ends the program with
// a message naming it when they are damaged (the build made them; nothing can run without them).
int registerProgramResources(const char* program, const unsigned char* bytes, size_t size);

} // namespace resfile
