// Starting host programs: an argument vector through posix_spawn, never a command interpreter,
// so nothing the device program passes can run as a command of its own.
#include "emulator.h"
#include "platform/host/host_services.h"

#include <cerrno>
#include <climits>
#include <functional>
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

enum class EntryKind { Program, Folder, Document };

DWORD checkedHostPath(std::u16string_view devicePath, EntryKind kind, std::string& hostPath)
{
    hostPath = emu::hostPathOf(devicePath);
    struct stat status {};
    if (hostPath.empty() || ::stat(hostPath.c_str(), &status) != 0) return ERROR_FILE_NOT_FOUND;
    if (!insideDeviceRoot(hostPath)) return ERROR_ACCESS_DENIED;
    const bool wantFolder = kind == EntryKind::Folder;
    if (S_ISDIR(status.st_mode) != wantFolder) return wantFolder ? ERROR_DIRECTORY : ERROR_ACCESS_DENIED;
    if (kind == EntryKind::Document && !S_ISREG(status.st_mode)) return ERROR_ACCESS_DENIED;
    if (kind == EntryKind::Program && ::access(hostPath.c_str(), X_OK) != 0) return ERROR_ACCESS_DENIED;
    return 0;
}

// The host's editor as an argument vector: $VISUAL, else $EDITOR, else the desktop's opener
// (which may hand the file on and end at once, so the hold then ends early).
std::vector<std::string> hostEditor()
{
    for (const char* variable : {"VISUAL", "EDITOR"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr) continue;
        std::vector<std::string> command = splitCommandLine(value);
        if (!command.empty() && !command.front().empty()) return command;
    }
    return {"xdg-open"};
}

// The whole command line of the notes editor is the document's path, perhaps in quotes.
std::u16string documentOfCommandLine(std::u16string_view commandLine)
{
    while (!commandLine.empty() && (commandLine.front() == u' ' || commandLine.front() == u'\t')) commandLine.remove_prefix(1);
    while (!commandLine.empty() && (commandLine.back() == u' ' || commandLine.back() == u'\t')) commandLine.remove_suffix(1);
    if (commandLine.size() >= 2 && commandLine.front() == u'"' && commandLine.back() == u'"')
        commandLine = commandLine.substr(1, commandLine.size() - 2);
    return std::u16string(commandLine);
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

DWORD spawnHostProgram(const std::vector<std::string>& arguments, const std::string& workingFolder,
                       std::function<void()> whenEnded)
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
    std::thread([child, whenEnded = std::move(whenEnded)] {
        while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
        if (whenEnded) whenEnded();
    }).detach();
    return 0;
}

DWORD openWithHostOpener(const std::string& uri) { return spawnHostProgram({"xdg-open", uri}, {}); }

DWORD startDeviceProgram(std::u16string_view devicePath, std::string_view utf8CommandLine,
                         std::u16string_view workingFolder)
{
    std::string hostPath;
    if (const DWORD error = checkedHostPath(devicePath, EntryKind::Program, hostPath); error != 0) return error;
    std::string hostFolder;
    if (!workingFolder.empty()) {
        if (const DWORD error = checkedHostPath(workingFolder, EntryKind::Folder, hostFolder); error != 0) return error;
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

DWORD openInNotesEditor(std::u16string_view commandLine)
{
    const std::u16string document = documentOfCommandLine(commandLine);
    std::string hostPath;
    if (document.empty()) return ERROR_FILE_NOT_FOUND;
    if (const DWORD error = checkedHostPath(document, EntryKind::Document, hostPath); error != 0) return error;
    if (launchMode() == LaunchMode::Journal) {
        emu::appendJournal("edit " + emu::toUtf8(document));
        return 0;
    }
    std::vector<std::string> arguments = hostEditor();
    arguments.push_back(hostPath);
    // Held before the editor starts, so that the device never sees the file free in between.
    emu::holdFileForHostProgram(hostPath);
    const DWORD error = spawnHostProgram(arguments, hostPath.substr(0, hostPath.find_last_of('/')),
                                         [hostPath] { emu::releaseFileOfHostProgram(hostPath); });
    if (error != 0) emu::releaseFileOfHostProgram(hostPath);
    return error;
}

}  // namespace host
