// The subcommands of ydb; each lives in its own file and gets the arguments after its name.
#pragma once

// Exit codes shared by the subcommands.
constexpr int exitOk = 0;
constexpr int exitFailed = 1;   // the source has errors / the file is damaged
constexpr int exitUsage = 2;    // bad arguments or an input/output error

int runBuild(int argc, char** argv);
int runInfo(int argc, char** argv);
int runCheck(int argc, char** argv);
int runDump(int argc, char** argv);
int runSynth(int argc, char** argv);
int runQuery(int argc, char** argv);
