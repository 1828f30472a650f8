// The one instance of the window manager's state, with the desktop window that is the root of
// every window tree.
#include "platform/ui/ui_state.h"

#include <atomic>

namespace ui {

namespace {

void makeDesktop(UiState& s)
{
    registerSystemClasses();
    WindowClass* c = findClass(u"#32769");
    auto w = std::make_unique<Window>();
    s.windows.push_back(WindowSlot{1, nullptr});
    w->handle = reinterpret_cast<HWND>(static_cast<uintptr_t>((1u << 16) | 1u));
    w->classIndex = static_cast<size_t>(c->atom - 0xC000);
    w->style = WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    w->proc = c->proc;
    w->window = screenRect();
    w->client = w->window;
    ++c->windows;
    s.desktop = w->handle;
    s.windows[0].window = std::move(w);
}

} // namespace

namespace {

// Asked for by nearly every call of the platform: once made, it is answered without the guards.
std::atomic<UiState*> madeState{nullptr};

} // namespace

UiState& uiState()
{
    if (UiState* made = madeState.load(std::memory_order_acquire); made != nullptr)
        return *made;
    static UiState* instance = [] {
        auto* s = new UiState();
        return s;
    }();
    static bool ready = false;
    if (!ready) {
        ready = true;
        makeDesktop(*instance);
        keepDrawnTexts();
        madeState.store(instance, std::memory_order_release);
    }
    return *instance;
}

} // namespace ui
