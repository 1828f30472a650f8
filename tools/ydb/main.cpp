// ydb: compiles source editions into directory database files and examines such files.
#include <cstdio>
#include <cstring>

#include "tools/ydb/commands.h"

namespace {

struct Command {
    const char* name;
    int (*run)(int, char**);
    const char* usage;
};

const Command commands[] = {
    {"build", runBuild, "build SOURCE_DIR -o FILE.ydb [--quiet]   compile a source edition"},
    {"info", runInfo, "info FILE                              header, counts, tables, resources"},
    {"check", runCheck, "check FILE                             validate every table and cross reference"},
    {"dump", runDump, "dump FILE TABLE                        one JSON object per record (TABLE 0-7 or name)"},
    {"synth", runSynth, "synth --firms N -o DIR [--seed S]      write a generated source edition"},
    {"query", runQuery, "query FILE WHAT ... [--json]           the lines the lists and searches show"},
};

int usage() {
    std::fprintf(stderr, "usage: ydb COMMAND ...\n");
    for (const Command& c : commands) std::fprintf(stderr, "  ydb %s\n", c.usage);
    return exitUsage;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    for (const Command& c : commands)
        if (std::strcmp(argv[1], c.name) == 0) return c.run(argc - 2, argv + 2);
    std::fprintf(stderr, "ydb: unknown command '%s'\n", argv[1]);
    return usage();
}
