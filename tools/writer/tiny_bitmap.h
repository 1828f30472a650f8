// The smallest picture an edition can carry: a 2 x 2 black bitmap file of 24 bits, for editions
// made to be read back (the tests' and the fuzzers' seeds).
#pragma once

#include <string>

std::string tinyBitmap();
