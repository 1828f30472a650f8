#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/ydb/commands.h"
#include "tools/ydb/source/synth.h"

namespace {

bool parseCount(const char* text, uint64_t maxValue, uint64_t& value) {
    char* end = nullptr;
    unsigned long long v = std::strtoull(text, &end, 10);
    if (end == text || *end != 0 || text[0] == '-' || v > maxValue) return false;
    value = v;
    return true;
}

} // namespace

int runSynth(int argc, char** argv) {
    SynthOptions options;
    std::string folder;
    bool force = false;
    for (int i = 0; i < argc; ++i) {
        uint64_t v = 0;
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--firms") == 0) {
            if (!hasValue || !parseCount(argv[i + 1], 5000000, v))
                return usageError("synth", "--firms takes a number from 0 to 5000000");
            options.firms = static_cast<uint32_t>(v);
            ++i;
        } else if (std::strcmp(argv[i], "--seed") == 0) {
            if (!hasValue || !parseCount(argv[i + 1], ~0ull, v)) return usageError("synth", "--seed takes a number");
            options.seed = v;
            ++i;
        } else if (std::strcmp(argv[i], "-o") == 0 && hasValue) {
            folder = argv[++i];
        } else if (std::strcmp(argv[i], "--force") == 0) {
            force = true;
        } else {
            return usageError("synth", std::string("unexpected argument '") + argv[i] + "'");
        }
    }
    if (folder.empty()) return usageError("synth", "-o DIR is needed");
    // A source edition written by hand into this folder would be lost without a word.
    if (std::string why = folderRefusal(folder, ", or add --force to write over its edition files", force); !why.empty()) {
        std::fprintf(stderr, "ydb synth: %s\n", why.c_str());
        return exitUsage;
    }
    std::string error;
    if (!writeSynthEdition(folder, options, error)) {
        std::fprintf(stderr, "ydb synth: %s\n", error.c_str());
        return exitUsage;
    }
    return exitOk;
}
