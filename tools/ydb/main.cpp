// ydb: compiles source editions into directory database files and examines such files.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/ydb/commands.h"

namespace {

struct Command {
    const char* name;
    int (*run)(int, char**);
};

const Command commands[] = {
    {"build", runBuild}, {"info", runInfo}, {"check", runCheck},
    {"dump", runDump},   {"synth", runSynth}, {"query", runQuery},
    {"new", runNew},
    {"import", runImport},
};

bool asksForHelp(const char* argument) {
    return std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0 ||
           std::strcmp(argument, "help") == 0;
}

int printUsage(const char* command) {
    std::fputs(commandUsage(command), stdout);
    return exitOk;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usageError("ydb", "no command given");
    if (asksForHelp(argv[1])) {
        if (argc == 2) return printUsage("ydb");
        if (argc == 3 && commandUsage(argv[2])) return printUsage(argv[2]);
        return usageError("help", std::string("no such command '") + argv[2] + "'");
    }
    for (const Command& c : commands) {
        if (std::strcmp(argv[1], c.name) != 0) continue;
        // A request for help wins over everything else on the line.
        for (int i = 2; i < argc; ++i)
            if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return printUsage(c.name);
        return c.run(argc - 2, argv + 2);
    }
    return usageError("ydb", std::string("unknown command '") + argv[1] + "'");
}
