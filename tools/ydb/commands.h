// The subcommands of ydb; each lives in its own file and gets the arguments after its name.
#pragma once

#include <string>

#include "tools/ydb/examine/host_database.h"

// Exit codes shared by the subcommands.
constexpr int exitOk = 0;
constexpr int exitFailed = 1;   // the source has errors / the file is damaged or has findings
constexpr int exitUsage = 2;    // bad arguments or a file that cannot be read or written

int runBuild(int argc, char** argv);
int runInfo(int argc, char** argv);
int runCheck(int argc, char** argv);
int runDump(int argc, char** argv);
int runSynth(int argc, char** argv);
int runQuery(int argc, char** argv);
int runNew(int argc, char** argv);

// Why a command must not write into `folder`; empty when it is new, an empty folder, or `force`d.
// `forceHint` ends the refusal of a folder that is not empty (", or add --force ...").
std::string folderRefusal(const std::string& folder, const std::string& forceHint, bool force);
int runImport(int argc, char** argv);

// The usage of one command with every option, or of the whole tool for "ydb"; none for an unknown
// command.
const char* commandUsage(const std::string& command);
// Writes `reason` (when not empty) as "ydb COMMAND: reason", then the command's usage, to standard
// error; returns exitUsage.
int usageError(const std::string& command, const std::string& reason = {});
// The exit code of a file that could not be opened.
int exitCodeOf(OpenFailure failure);
