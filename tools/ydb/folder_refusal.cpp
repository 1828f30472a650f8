#include <filesystem>

#include "tools/ydb/commands.h"

std::string folderRefusal(const std::string& folder, const std::string& forceHint, bool force) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (!fs::exists(status)) return {};
    if (!fs::is_directory(status)) return folder + " is a file, not a folder";
    if (force) return {};
    fs::directory_iterator entries(folder, ec);
    if (ec) return folder + " cannot be read";
    if (entries != fs::directory_iterator()) return folder + " is not empty; name a new folder" + forceHint;
    return {};
}
