// The top-level windows of the host processes that run on one device, published for each other
// in a folder of the host's temporary folder (named from the device root, as the named mutexes'
// lock files are). Each window is one small file that its process holds locked, so that the
// files of a process that died are told apart and removed. Each publishing process also has a
// FIFO there through which the others ask it to come forward.
//
// Nothing here fails a program: without a usable temporary folder a process is simply alone.
// Whatever is read from the folder is untrusted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

struct SharedWindow {
    uint64_t owner = 0;   // the publishing process's token
    uint64_t handle = 0;  // the window's handle in that process
    std::u16string className;
    std::u16string text;
    bool textCut = false;  // longer than an entry holds: never matches a text exactly
};

struct RaiseRequest {
    uint64_t handle = 0;
    bool ownedPopup = false;  // its last active owned window rather than the window itself
};

// The folder of a device root; "" when there is no root or no usable temporary folder. With
// create, a missing folder is made.
std::string registryFolder(const std::string& deviceRoot, bool create);

// This process's token; the same until it forks.
uint64_t ownToken();

// Publishes a window of this process in the folder, or replaces what was published of it. 0, or -1
// when it could not be (the window then stays unpublished). A window is published in one folder
// at a time: publishing into another folder withdraws everything from the previous one.
int publishWindow(const std::string& folder, uint64_t handle, std::u16string_view className,
                  std::u16string_view text);
void withdrawWindow(uint64_t handle);
void withdrawAllWindows();

// The live windows of the folder, except those of the process `except` (0: every process). The
// entries of dead processes are removed on the way.
std::vector<SharedWindow> listSharedWindows(const std::string& folder, uint64_t except);
bool sharedWindowLive(const std::string& folder, uint64_t owner, uint64_t handle);

// Puts a request into the owner's FIFO; 0 when it was delivered.
int sendRaiseRequest(const std::string& folder, uint64_t owner, const RaiseRequest& request);
// The requests that came to this process since the last call; its descriptor is empty again.
std::vector<RaiseRequest> takeRaiseRequests();

} // namespace ui
