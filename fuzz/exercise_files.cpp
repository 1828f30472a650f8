#include "fuzz/exercise_files.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "db/format.h"
#include "emulator.h"

std::string exerciseDeviceRoot(const std::string& hostRoot, const char* prefix) {
    std::string root = hostRoot;
    if (root.empty()) {
        std::string pattern = std::string("/tmp/") + prefix + "-XXXXXX";
        if (!mkdtemp(pattern.data())) return {};
        root = pattern;
    }
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
