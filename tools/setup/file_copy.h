// Copying with a check: a copy counts only once it has been read back and found equal to its
// source and flushed to the device.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace setup {

// Called after each chunk with the number of bytes just written.
using CopiedBytes = std::function<void(uint64_t)>;

// Copies the regular file `source` to `target` (replacing whatever file is there), then reads
// both back and compares them. Returns the failure in plain words, or "" on success; on
// failure `target` is removed. `shownName` is how the file is named to the user.
std::string copyFileChecked(const std::filesystem::path& source, const std::filesystem::path& target,
                            const std::string& shownName, const CopiedBytes& copied);

// Copies the folder tree `source` into the new folder `target` (removed first if present),
// file by file with copyFileChecked. Symbolic links are followed; anything that is neither a
// file nor a folder is refused.
using FileStarted = std::function<void(const std::string& shownName)>;
std::string copyTreeChecked(const std::filesystem::path& source, const std::filesystem::path& target,
                            const std::string& shownName, const FileStarted& started, const CopiedBytes& copied);

// Bytes of all regular files in `path` (a file or a folder tree); unreadable parts count 0.
uint64_t bytesToCopy(const std::filesystem::path& path);

} // namespace setup
