// Starting host programs: an argument vector through posix_spawn, never a command interpreter,
// so nothing the device program passes can run as a command of its own.
#include "emulator.h"
#include "platform/host/host_services.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace host {

namespace {

DWORD errorOfErrno(int number)
{
    switch (number) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR: return ERROR_ACCESS_DENIED;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case ENOEXEC: return ERROR_ACCESS_DENIED;
    default: return ERROR_GEN_FAILURE;
    }
}

std::string realPathOf(const std::string& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

// True when the host path lies inside the device root once links are followed.
bool insideDeviceRoot(const std::string& hostPath)
{
    const std::string root = realPathOf(emu::deviceRoot());
    const std::string target = realPathOf(hostPath);
    if (root.empty() || target.empty()) return false;
    return target == root || (target.size() > root.size() && target.compare(0, root.size(), root) == 0 &&
                              (root.back() == '/' || target[root.size()] == '/'));
}

DWORD checkedHostPath(std::u16string_view devicePath, bool wantFolder, std::string& hostPath)
{
    hostPath = emu::hostPathOf(devicePath);
    struct stat status {};
    if (hostPath.empty() || ::stat(hostPath.c_str(), &status) != 0) return ERROR_FILE_NOT_FOUND;
    if (!insideDeviceRoot(hostPath)) return ERROR_ACCESS_DENIED;
    if (S_ISDIR(status.st_mode) != wantFolder) return wantFolder ? ERROR_DIRECTORY : ERROR_ACCESS_DENIED;
    if (!wantFolder && ::access(hostPath.c_str(), X_OK) != 0) return ERROR_ACCESS_DENIED;
    return 0;
}

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view line)
{
    std::vector<std::string> arguments;
    size_t at = 0;
    while (true) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        if (at >= line.size()) break;
        std::string argument;
        bool quoted = false;
        for (; at < line.size(); ++at) {
            const char c = line[at];
            if (c == '"') {
                if (quoted && at + 1 < line.size() && line[at + 1] == '"') {
                    argument += '"';
                    ++at;
                } else {
                    quoted = !quoted;
                }
            } else if (!quoted && (c == ' ' || c == '\t')) {
                break;
            } else {
                argument += c;
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

DWORD spawnHostProgram(const std::vector<std::string>& arguments, const std::string& workingFolder)
{
    if (arguments.empty() || arguments.front().empty()) return ERROR_INVALID_PARAMETER;
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return ERROR_NOT_ENOUGH_MEMORY;
    if (!workingFolder.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    pid_t child = 0;
    // A name without a folder is looked up on the host's PATH (the URL opener); a path is taken as it is.
    const bool bareName = arguments.front().find('/') == std::string::npos;
    const int result = bareName ? posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ)
                                : posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) return errorOfErrno(result);
    // The device program never waits for what it started; the host still collects its end.
    std::thread([child] { ::waitpid(child, nullptr, 0); }).detach();
    return 0;
}

DWORD openWithHostOpener(const std::string& uri) { return spawnHostProgram({"xdg-open", uri}, {}); }

DWORD startDeviceProgram(std::u16string_view devicePath, std::string_view utf8CommandLine,
                         std::u16string_view workingFolder)
{
    std::string hostPath;
    if (const DWORD error = checkedHostPath(devicePath, false, hostPath); error != 0) return error;
    std::string hostFolder;
    if (!workingFolder.empty()) {
        if (const DWORD error = checkedHostPath(workingFolder, true, hostFolder); error != 0) return error;
    } else {
        hostFolder = hostPath.substr(0, hostPath.find_last_of('/'));
    }
    if (launchMode() == LaunchMode::Journal) {
        std::string line = "start " + emu::toUtf8(devicePath);
        if (!utf8CommandLine.empty()) line += " " + std::string(utf8CommandLine);
        emu::appendJournal(line);
        return 0;
    }
    std::vector<std::string> arguments = splitCommandLine(utf8CommandLine);
    arguments.insert(arguments.begin(), hostPath);
    return spawnHostProgram(arguments, hostFolder);
}

}  // namespace host
