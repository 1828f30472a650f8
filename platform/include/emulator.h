// Controls of the emulated device: what the host entry sets up before a program starts, what
// the device profiles and the window manager install, and what tests use to look inside and to
// provoke failures. None of this exists on the real device.
#pragma once

#include "win32.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace emu {

// ---- device file system -------------------------------------------------------------------

// The host folder that is the device's "\". Returns 0, or ERROR_PATH_NOT_FOUND when the folder
// does not exist (the root is then left unset). Until a root is set every path is not found.
int setDeviceRoot(const std::string& hostFolder);
std::string deviceRoot();
// The host path a device path resolves to (existing or not), or "" when it cannot resolve.
std::string hostPathOf(std::u16string_view devicePath);

// The program's own device path, as GetModuleFileNameW reports it.
void setModuleFileName(std::u16string_view devicePath);
HINSTANCE programInstance();

// ---- journal --------------------------------------------------------------------------------

// In headless runs every program start and call is written here instead of being carried out.
std::vector<std::string> journal();
void appendJournal(std::string_view line);
void clearJournal();

// ---- files held by host programs ----------------------------------------------------------

// A host program started for the device (the notes editor) has this host file open: until it is
// released, the device's opens behave as if a handle wrote it and shared only reading (writing,
// or not sharing writing, gives ERROR_SHARING_VIOLATION). False when the file does not exist.
// Holds are counted; the release may come from any thread.
bool holdFileForHostProgram(const std::string& hostPath);
void releaseFileOfHostProgram(const std::string& hostPath);

// ---- memory ---------------------------------------------------------------------------------

// Replaces the host's figure of available physical memory with the device profile's.
void setAvailablePhysicalMemory(uint64_t bytes);
// Memory held by other applications that SHCloseApps can free on the emulated figure.
void setReclaimableMemory(uint64_t bytes);
// Back to the host's figures, nothing reclaimable.
void useHostMemory();
// Live LocalAlloc blocks, for leak checks in tests.
size_t liveLocalBlocks();

// ---- message boxes --------------------------------------------------------------------------

// Answers a message box: returns the button (IDOK, IDYES, ...).
using MessageBoxHandler =
    std::function<int(HWND owner, std::u16string_view text, std::u16string_view caption, UINT style)>;
// Installs the handler (an empty one restores the standard-error line) and returns the previous.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);
// The button a box of this style answers when nobody chooses: its default button.
int defaultMessageBoxAnswer(UINT style);

// ---- resources ------------------------------------------------------------------------------

// One resource of the program. type and name are MAKEINTRESOURCE values or strings; the strings
// are copied, the data is not (it must outlive the program, as compiled-in data does).
struct ResourceEntry {
    const WCHAR* type;
    const WCHAR* name;
    const void* data;
    uint32_t size;
};
// Adds a table; may be called once per resource file, also from static initialisers. A later
// entry of the same type and name replaces an earlier one.
void registerResources(const ResourceEntry* table, size_t count);
void clearResources();

// ---- libraries ------------------------------------------------------------------------------

struct LibraryExport {
    std::u16string name;
    FARPROC address;
};
// Registers (or replaces) a device library, e.g. u"phone.dll".
void registerLibrary(std::u16string_view name, std::vector<LibraryExport> exports);
void unregisterLibrary(std::u16string_view name);

// ---- fault injection ------------------------------------------------------------------------
// Each fault lets `after` calls through untouched, then strikes `count` calls (or the next one)
// and sets the given error number.

// The kinds of call a planned failure can strike, each counted on its own.
enum class FailingCall : unsigned {
    allocation,      // LocalAlloc, LocalReAlloc
    read,            // ReadFile
    seek,            // SetFilePointer
    fileOpen,        // CreateFileW
    write,           // WriteFile
    fileDelete,      // DeleteFileW
    windowCreation,  // CreateWindowExW, a dialog's own window and its controls included
    dialogCreation,  // CreateDialogParamW, DialogBoxParamW
    gdiObject,       // bitmaps, DIB sections, fonts, brushes, pens and icons, made or loaded
    processStart,    // CreateProcessW, ShellExecuteExW and the page view's links
};
constexpr unsigned failingCallKinds = 10;

// The error a failed call of each kind gives when the test names none.
DWORD usualError(FailingCall kind);
void failCall(FailingCall kind, unsigned after = 0, unsigned count = 1);
void failCallWith(FailingCall kind, DWORD error, unsigned after = 0, unsigned count = 1);

void failSetFilePointer(unsigned count, DWORD error = ERROR_SEEK, unsigned after = 0);
void failReadFile(DWORD error = ERROR_READ_FAULT, unsigned after = 0);
// The next ReadFile delivers at most maxBytes and succeeds (a short read).
void shortReadFile(DWORD maxBytes, unsigned after = 0);
void failLocalAlloc(DWORD error = ERROR_NOT_ENOUGH_MEMORY, unsigned after = 0);
// Every allocation of more than `bytes` fails until clearFaults.
void failLocalAllocAbove(SIZE_T bytes, DWORD error = ERROR_NOT_ENOUGH_MEMORY);
// Also sets the call counts below back to 0.
void clearFaults();

// For the platform's calls that can fail: counts one call of `kind` and says whether a planned
// failure strikes it; when it does, its error is the last error.
bool plannedFailure(FailingCall kind);

// The calls of each kind made since clearFaults: a fault sweep runs an action once to count
// them, then once per call with that call failing (after = its index).
struct CallCounts {
    unsigned long made[failingCallKinds] = {};
    unsigned long operator[](FailingCall kind) const { return made[static_cast<unsigned>(kind)]; }
};
CallCounts callCounts();

// ---- text helpers ---------------------------------------------------------------------------

std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);

}  // namespace emu
