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
    for (int i = 0; i < argc; ++i) {
        uint64_t v = 0;
        if (std::strcmp(argv[i], "--firms") == 0 && i + 1 < argc && parseCount(argv[i + 1], 5000000, v)) {
            options.firms = static_cast<uint32_t>(v);
            ++i;
        } else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc && parseCount(argv[i + 1], ~0ull, v)) {
            options.seed = v;
            ++i;
        } else if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc) {
            folder = argv[++i];
        } else {
            folder.clear();
            break;
        }
    }
    if (folder.empty()) {
        std::fprintf(stderr, "usage: ydb synth --firms N -o DIR [--seed S]   (N up to 5000000)\n");
        return exitUsage;
    }
    std::string error;
    if (!writeSynthEdition(folder, options, error)) {
        std::fprintf(stderr, "ydb synth: %s\n", error.c_str());
        return exitUsage;
    }
    return exitOk;
}
