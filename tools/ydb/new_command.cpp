#include <cstdio>
#include <string>

#include "tools/ydb/commands.h"
#include "tools/ydb/source/starter_edition.h"

int runNew(int argc, char** argv) {
    if (argc != 1) return usageError("new", argc == 0 ? "no DIR given" : "one DIR only");
    const std::string folder = argv[0];
    if (!folder.empty() && folder[0] == '-') return usageError("new", "unexpected argument '" + folder + "'");
    // What a publisher has written there would be lost without a word.
    if (std::string why = folderRefusal(folder, "", false); !why.empty()) {
        std::fprintf(stderr, "ydb new: %s\n", why.c_str());
        return exitUsage;
    }
    std::string error;
    if (!writeStarterEdition(folder, error)) {
        std::fprintf(stderr, "ydb new: %s\n", error.c_str());
        return exitUsage;
    }
    std::printf("%s: a source edition to rewrite; build it with: ydb build %s -o FILE.ydb\n", folder.c_str(),
                folder.c_str());
    return exitOk;
}
