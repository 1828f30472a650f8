// The one instance of the window manager's state, with the desktop window that is the root of
// every window tree.
#include "platform/ui/ui_state.h"

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

UiState& uiState()
{
    static UiState* instance = [] {
        auto* s = new UiState();
        return s;
    }();
    static bool ready = false;
    if (!ready) {
        ready = true;
        makeDesktop(*instance);
        keepDrawnTexts();
    }
    return *instance;
}

} // namespace ui
