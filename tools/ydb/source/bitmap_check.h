// Pictures of the resource area are whole Windows bitmap files that the handheld reads straight into
// a bitmap section: anything it cannot take must be refused before it is stored.
#pragma once

#include <string>

// Checks an uncompressed bitmap file (1, 4, 8, 16, 24 or 32 bits per pixel, sizes within 16-bit signed
// range, colour table and pixel rows present). On success sets the file header's size field to the
// real size and returns true; otherwise `why` says what is wrong.
bool checkBitmap(std::string& bytes, std::string& why);
