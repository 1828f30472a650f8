// Installing editions of the directory onto a handheld's device folder.
//
// An edition on the distribution medium is a folder holding one ".ydb" file and, usually, its
// "HTML" pages. It is installed as a folder of the same name under the handheld's install
// folder, where the directory program finds it. An older copy is replaced only once the new
// one is complete and checked: a failed installation leaves it as it was.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace setup {

// The install folder, from the root of the device's file system.
inline const std::vector<std::string> installFolderPath = {"Storage Card", "Program Files", "MORVANE", "QUILLDEN"};

struct EditionSource {
    std::string name;             // the edition's folder name, e.g. "SPb"
    std::filesystem::path folder; // where it lies on the medium
};

// Told about each file as it is copied, with the bytes copied so far of the whole job.
struct Progress {
    std::function<void(const std::string& file, uint64_t doneBytes, uint64_t totalBytes)> copying;
};

struct InstallResult {
    bool ok = false;
    std::string error; // in plain words, for the user; empty on success
};

// Installs every edition (all or nothing per edition, in order; stops at the first failure).
InstallResult installEditions(const std::vector<EditionSource>& editions, const std::filesystem::path& deviceFolder,
                              const Progress& progress);

// The entry of `folder` whose name equals `name` apart from ASCII case (device paths are
// case-insensitive), else folder / name.
std::filesystem::path deviceEntry(const std::filesystem::path& folder, const std::string& name);

} // namespace setup
