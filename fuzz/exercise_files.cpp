#include "fuzz/exercise_files.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <vector>

#include "db/format.h"
#include "emulator.h"

namespace {

std::vector<std::string>& foldersMade() {
    static std::vector<std::string> folders;
    return folders;
}

// Memory is not given back by a folder left behind in /dev/shm.
void removeFoldersMade() {
    std::error_code ignored;
    for (const std::string& folder : foldersMade()) std::filesystem::remove_all(folder, ignored);
}

} // namespace

std::string exerciseFolder(const char* prefix) {
    // In memory where the host has it: an input is written over the last one run after run, and
    // cutting a file on a disk's file system cost a tenth of a run.
    for (const char* base : {"/dev/shm/", "/tmp/"}) {
        std::string pattern = std::string(base) + prefix + "-XXXXXX";
        if (!mkdtemp(pattern.data())) continue;
        if (foldersMade().empty()) std::atexit(removeFoldersMade);
        foldersMade().push_back(pattern);
        return pattern;
    }
    return {};
}

std::string exerciseDeviceRoot(const std::string& hostRoot, const char* prefix) {
    const std::string root = hostRoot.empty() ? exerciseFolder(prefix) : hostRoot;
    if (root.empty()) return {};
    if (emu::setDeviceRoot(root) != 0) return {};
    return root;
}

bool writeExerciseInput(const std::string& hostFile, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(hostFile.c_str(), "wb");
    if (!file) return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

uint8_t exerciseWay(const uint8_t* data, size_t size) {
    return size >= ydb::headerSize ? data[ydb::headerSize - 1] : 0;
}

void exerciseBroken(const char* exercise, const char* what) {
    std::fprintf(stderr, "%s exercise: %s\n", exercise, what);
    std::abort();
}
