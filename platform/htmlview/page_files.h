// Reading pages and pictures from the device file system.
#pragma once

#include <string>
#include <string_view>

namespace htmlview {

// The file's bytes, at most `limit` of them (the rest is left unread). False when the file
// cannot be opened or read.
bool readDeviceFile(std::u16string_view path, size_t limit, std::string& bytes);

} // namespace htmlview
