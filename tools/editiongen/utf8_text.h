// UTF-8 to code points and back, for the generator's own texts (word lists, picture captions).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The texts are the project's own, so a malformed sequence is not reported: it decodes to
// whatever its bits give and the next sequence starts after it.
std::vector<uint32_t> utf8CodePoints(const std::string& text);
// Code points below U+10000 only: the generator writes nothing beyond the Basic Multilingual Plane.
std::string utf8FromCodePoints(const std::vector<uint32_t>& codePoints);
