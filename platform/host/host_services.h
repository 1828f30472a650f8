// What the device's program starts become on the host: the browser, the mailer, a program of the
// device file system. Each operation returns 0 or the platform's error number (ERROR_*), which
// ShellExecute and the process calls hand on as the last error.
#pragma once

#include "win32/types.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// Journal: every start is written to the emulator's journal and nothing is launched (headless
// runs and tests; the default, so that nothing is ever started by accident). Launch: the host
// carries the start out.
enum class LaunchMode { Journal, Launch };
void setLaunchMode(LaunchMode mode);
LaunchMode launchMode();

// ---- web addresses --------------------------------------------------------------------------

// The address to hand to the host's browser for what the device's browser was given: blanks
// around it dropped, "http://" put in front of an address without a scheme, a scheme other than
// http or https refused (ERROR_ACCESS_DENIED), as is an empty address or host
// (ERROR_INVALID_PARAMETER) and a control character. Spaces and non-ASCII bytes are
// percent-encoded.
DWORD browserAddressOf(std::string_view utf8Text, std::string& address);
DWORD openWebAddress(std::string_view utf8Text);

// ---- mail -----------------------------------------------------------------------------------

// The "mailto:" address for a command line of the device's mail program
// (-to "ADDRESS" -subject "TEXT" -body "TEXT"; -cc and -bcc as well). ERROR_INVALID_PARAMETER
// when there is no address or the line cannot be read.
DWORD mailAddressOfCommandLine(std::string_view utf8CommandLine, std::string& address);
// A "mailto:" address as a link gives it: checked, with spaces and non-ASCII percent-encoded.
DWORD mailAddressOfUri(std::string_view utf8Uri, std::string& address);
DWORD openMailAddress(const std::string& mailtoAddress);

// ---- programs -------------------------------------------------------------------------------

// A command line split into arguments by the platform's rules: blanks separate, double quotes
// group (a doubled quote inside quotes is one quote), backslashes are kept as they are.
std::vector<std::string> splitCommandLine(std::string_view utf8CommandLine);
// Starts the host program at the device path with the command line's arguments, in its own
// folder (or workingFolder, a device path, when not empty). ERROR_FILE_NOT_FOUND when nothing is
// there, ERROR_ACCESS_DENIED for a folder or a file that may not be run.
DWORD startDeviceProgram(std::u16string_view devicePath, std::string_view utf8CommandLine,
                         std::u16string_view workingFolder);

// The device's notes editor: its whole command line is the path of a document on the device,
// which the host's editor ($VISUAL, $EDITOR, else the desktop's opener) gets. While the editor
// runs, the device's opens of the document for writing fail with ERROR_SHARING_VIOLATION, as the
// device's editor holds it. ERROR_FILE_NOT_FOUND without the document, ERROR_ACCESS_DENIED for a
// folder or anything outside the device.
DWORD openInNotesEditor(std::u16string_view commandLine);

// A start by the name of what to start, as the shell and the process calls of the device take it:
// an http or https address or "iexplore.exe" (with the address as parameters) opens the browser,
// a "mailto:" address or "tmail.exe" (with its command line) the mailer, "notes.exe" the host's
// editor (openInNotesEditor), any other address is refused (ERROR_ACCESS_DENIED), and a path
// starts that device program.
DWORD startByName(std::u16string_view file, std::u16string_view parameters, std::u16string_view folder);

// Runs a host program with an argument vector (never through a command interpreter) and does not
// wait for it; its end is collected in the background, where whenEnded (if any) is then called.
// The host's URL opener is one such.
DWORD spawnHostProgram(const std::vector<std::string>& arguments, const std::string& workingFolder,
                       std::function<void()> whenEnded = {});
DWORD openWithHostOpener(const std::string& uri);

}  // namespace host
