// Windows shared between the host processes of one device, as the window manager sees them.
#include "platform/ui/foreign_windows.h"

#include "emulator.h"
#include "platform/ui/ansi_text.h"
#include "platform/ui/attention.h"
#include "platform/ui/shared_registry.h"
#include "platform/ui/ui_state.h"
#include "platform/ui/window_manager.h"

#include <algorithm>
#include <cstdlib>

namespace ui {

namespace {

// Another process's windows get handles with bit 31 set, which no local handle has (their
// generation stays below 0x8000), and bit 0 clear, so that "| 1" can be told apart.
constexpr uintptr_t foreignTag = 0x80000000u;
constexpr size_t foreignLimit = 0x3FFF;
constexpr int ownerChainLimit = 64;

struct Published {
    HWND handle = nullptr;
    std::u16string className;
    std::u16string text;
};

struct ForeignWindow {
    std::string folder;
    uint64_t owner = 0;
    uint64_t handle = 0;
    std::u16string className;
};

struct SharingState {
    uint64_t token = 0;
    std::string folderKey;  // the device root and temporary folder that folder was found for
    std::string folder;
    std::string publishedIn;
    // What was published of each window, or tried: a folder that refuses is not asked again at
    // every wait, only when the text changes.
    std::vector<Published> published;
    std::vector<ForeignWindow> foreign;
    std::vector<std::pair<HWND, HWND>> lastActive;  // owner, the owned window active last
    std::u16string raised;  // the class of the other process's window brought forward last
    bool shownOwn = false;  // a top-level window of this process was ever made
};

SharingState& sharing()
{
    static auto* state = new SharingState();
    // A forked child publishes its windows as its own.
    if (state->token != ownToken()) {
        state->token = ownToken();
        state->published.clear();
        state->publishedIn.clear();
    }
    return *state;
}

const std::string& deviceFolder(SharingState& s)
{
    const std::string root = emu::deviceRoot();
    const char* temporary = std::getenv("TMPDIR");
    std::string key = root + '\n' + (temporary ? temporary : "");
    if (key != s.folderKey) {
        s.folderKey = std::move(key);
        s.folder = registryFolder(root, true);
    }
    return s.folder;
}

bool publishable(const Window& w) { return isTopLevel(w) && !w.destroying && w.handle != uiState().desktop; }

uint64_t handleValue(HWND handle) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(handle)); }

void publishOne(SharingState& s, Window& w)
{
    const std::u16string& className = uiState().classes[w.classIndex].name;
    auto it = std::find_if(s.published.begin(), s.published.end(), [&](const Published& p) { return p.handle == w.handle; });
    if (it != s.published.end() && it->className == className && it->text == w.text)
        return;
    publishWindow(s.publishedIn, handleValue(w.handle), className, w.text);
    if (it == s.published.end())
        s.published.push_back(Published{w.handle, className, w.text});
    else
        *it = Published{w.handle, className, w.text};
}

// A new device root (or none) takes everything published to the new folder.
void followDeviceRoot(SharingState& s)
{
    const std::string& folder = deviceFolder(s);
    if (folder == s.publishedIn)
        return;
    withdrawAllWindows();
    s.published.clear();
    s.publishedIn = folder;
}

HWND handleFor(SharingState& s, const std::string& folder, const SharedWindow& w)
{
    size_t index = 0;
    while (index < s.foreign.size() &&
           !(s.foreign[index].owner == w.owner && s.foreign[index].handle == w.handle && s.foreign[index].folder == folder))
        ++index;
    if (index == s.foreign.size()) {
        if (s.foreign.size() >= foreignLimit)
            return nullptr;
        s.foreign.push_back(ForeignWindow{folder, w.owner, w.handle, w.className});
    }
    return reinterpret_cast<HWND>(foreignTag | static_cast<uintptr_t>(index + 1) << 1);
}

const ForeignWindow* foreignOf(HWND handle)
{
    const auto value = reinterpret_cast<uintptr_t>(handle);
    if ((value >> 31) != 1 || (value & 1) != 0)
        return nullptr;
    const size_t index = (value & ~foreignTag) >> 1;
    const SharingState& s = sharing();
    return index == 0 || index > s.foreign.size() ? nullptr : &s.foreign[index - 1];
}

HWND rootOwnerOf(HWND top)
{
    HWND root = top;
    for (int step = 0; step < ownerChainLimit; ++step) {
        const Window* w = peekWindow(root);
        if (w == nullptr || w->owner == nullptr)
            break;
        root = w->owner;
    }
    return root;
}

void raise(const RaiseRequest& request)
{
    const HWND top = reinterpret_cast<HWND>(static_cast<uintptr_t>(request.handle));
    Window* w = peekWindow(top);
    if (w == nullptr || !publishable(*w))
        return;
    const std::string className = emu::toUtf8(uiState().classes[w->classIndex].name);
    SetForegroundWindow(request.ownedPopup ? lastActivePopupOf(top) : top);
    emu::appendJournal("raise " + className);
    if (attention().raiseHostWindow != nullptr)
        attention().raiseHostWindow();
}

} // namespace

void publishTopLevel(HWND handle)
{
    Window* w = peekWindow(handle);
    if (w == nullptr || !publishable(*w))
        return;
    SharingState& s = sharing();
    s.shownOwn = true;
    followDeviceRoot(s);
    if (!s.publishedIn.empty())
        publishOne(s, *w);
}

void withdrawTopLevel(HWND handle)
{
    SharingState& s = sharing();
    auto& pairs = s.lastActive;
    pairs.erase(std::remove_if(pairs.begin(), pairs.end(),
                               [handle](const auto& p) { return p.first == handle || p.second == handle; }),
                pairs.end());
    const auto it = std::find_if(s.published.begin(), s.published.end(), [&](const Published& p) { return p.handle == handle; });
    if (it == s.published.end())
        return;
    s.published.erase(it);
    withdrawWindow(handleValue(handle));
}

bool serveOtherProcesses()
{
    SharingState& s = sharing();
    followDeviceRoot(s);
    if (!s.publishedIn.empty()) {
        for (HWND h : desktopWindow().children)
            if (Window* w = peekWindow(h); w != nullptr && publishable(*w))
                publishOne(s, *w);
    }
    // A window that became a child (SetParent) is no longer anyone's to find.
    for (size_t i = 0; i < s.published.size();) {
        const Window* w = peekWindow(s.published[i].handle);
        if (w != nullptr && publishable(*w)) {
            ++i;
            continue;
        }
        withdrawWindow(handleValue(s.published[i].handle));
        s.published.erase(s.published.begin() + static_cast<std::ptrdiff_t>(i));
    }
    const std::vector<RaiseRequest> requests = takeRaiseRequests();
    for (const RaiseRequest& request : requests)
        raise(request);
    return !requests.empty();
}

HWND findForeignWindow(const std::u16string* className, LPCWSTR text)
{
    const std::string folder = registryFolder(emu::deviceRoot(), false);
    if (folder.empty())
        return nullptr;
    for (const SharedWindow& w : listSharedWindows(folder, ownToken())) {
        if (className != nullptr && !sameNameIgnoringCase(w.className, *className))
            continue;
        if (text != nullptr && (w.textCut || w.text != text))
            continue;
        return handleFor(sharing(), folder, w);
    }
    return nullptr;
}

bool isForeignWindow(HWND handle) { return foreignOf(handle) != nullptr; }

bool foreignWindowLive(HWND handle)
{
    const ForeignWindow* f = foreignOf(handle);
    return f != nullptr && sharedWindowLive(f->folder, f->owner, f->handle);
}

BOOL raiseForeignWindow(HWND handle, bool ownedPopup)
{
    const ForeignWindow* f = foreignOf(handle);
    if (f == nullptr || sendRaiseRequest(f->folder, f->owner, RaiseRequest{f->handle, ownedPopup}) != 0) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    sharing().raised = f->className;
    // The other program is in front now.
    programToBackground();
    return TRUE;
}

void noteActivated(HWND top)
{
    const HWND root = rootOwnerOf(top);
    if (root == top)
        return;
    auto& pairs = sharing().lastActive;
    for (auto& p : pairs) {
        if (p.first == root) {
            p.second = top;
            return;
        }
    }
    pairs.emplace_back(root, top);
}

HWND lastActivePopupOf(HWND top)
{
    const HWND root = rootOwnerOf(top);
    for (const auto& p : sharing().lastActive) {
        if (p.first != root)
            continue;
        const Window* w = peekWindow(p.second);
        if (w != nullptr && !w->destroying && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED) &&
            rootOwnerOf(p.second) == root)
            return p.second;
    }
    return root;
}

} // namespace ui

namespace ui {

void programStarting()
{
    SharingState& s = sharing();
    s.raised.clear();
    s.shownOwn = false;
}

std::u16string anotherCopyRaised()
{
    const SharingState& s = sharing();
    return s.shownOwn ? std::u16string() : s.raised;
}

} // namespace ui
