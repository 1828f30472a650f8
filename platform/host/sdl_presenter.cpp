#include "platform/host/sdl_presenter.h"

#include "emulator.h"
#include "platform/gdi/png_writer.h"
#include "platform/gdi/screen.h"
#include "platform/host/key_map.h"
#include "platform/ui/attention.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <poll.h>

namespace host {

namespace {

// The one presenter window of the process.
struct SdlPresenter {
    bool open = false;
    // The window's close button was pressed and the program has not been told yet.
    bool closeRequested = false;
    PresenterSettings settings;
    InputSink sink;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int textureWidth = 0;
    int textureHeight = 0;
    bool stylusHeld = false;
    bool napInsteadOfWaiting = false;
    bool waitCursor = false;
    SDL_Cursor* arrowCursor = nullptr;
    SDL_Cursor* busyCursor = nullptr;
    Uint32 lastShown = 0;
    int screenshotNumber = 0;
};

SdlPresenter& presenter()
{
    static SdlPresenter state;
    return state;
}

// A window point as a screen pixel, kept on the screen while the stylus is dragged outside.
void screenPoint(int windowX, int windowY, int& x, int& y)
{
    const gdi::Framebuffer& screen = gdi::screen();
    int windowWidth = 0, windowHeight = 0;
    SDL_GetWindowSize(presenter().window, &windowWidth, &windowHeight);
    if (windowWidth <= 0 || windowHeight <= 0) {
        windowWidth = screen.width * presenter().settings.scale;
        windowHeight = screen.height * presenter().settings.scale;
    }
    x = std::clamp(windowX * screen.width / std::max(windowWidth, 1), 0, std::max(screen.width - 1, 0));
    y = std::clamp(windowY * screen.height / std::max(windowHeight, 1), 0, std::max(screen.height - 1, 0));
}

void fitWindowToScreen()
{
    SdlPresenter& state = presenter();
    const gdi::Framebuffer& screen = gdi::screen();
    SDL_SetWindowSize(state.window, screen.width * state.settings.scale, screen.height * state.settings.scale);
}

void updateCursor()
{
    SdlPresenter& state = presenter();
    const bool busy = state.sink.waitCursorShown && state.sink.waitCursorShown();
    if (busy == state.waitCursor) return;
    state.waitCursor = busy;
    SDL_Cursor* cursor = busy ? state.busyCursor : state.arrowCursor;
    if (cursor) SDL_SetCursor(cursor);
}

// Drawing outside a paint cycle shows at once, but no more often than the display refreshes.
void screenChanged()
{
    if (SDL_GetTicks() - presenter().lastShown >= 16) showScreen();
}

void onKey(const SDL_KeyboardEvent& key, bool down)
{
    SdlPresenter& state = presenter();
    if (key.keysym.sym == rotateKey || key.keysym.sym == screenshotKey) {
        if (!down || key.repeat) return;
        if (key.keysym.sym == rotateKey) {
            turnScreen();
        } else {
            const std::string path = saveScreenshot();
            std::fprintf(stderr, path.empty() ? "screenshot: could not be written\n" : "screenshot: %s\n", path.c_str());
        }
        return;
    }
    const UINT virtualKey = virtualKeyOf(key.keysym.sym);
    if (virtualKey == 0) return;
    // Held keys repeat as further key-downs, as on the platform.
    if (down && state.sink.keyDown) state.sink.keyDown(virtualKey);
    if (!down && state.sink.keyUp) state.sink.keyUp(virtualKey);
}

void onText(const char* utf8)
{
    if (!presenter().sink.character) return;
    for (const char16_t unit : emu::fromUtf8(utf8)) presenter().sink.character(unit);
}

// Video drivers without a display (dummy, offscreen) cannot block in their own wait, and SDL
// then polls its queue every millisecond. Nothing but a signal or a pushed event can arrive
// there, so a coarse nap keeps the idle program from using the processor.
bool driverWaitsByPolling()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && (SDL_strcmp(driver, "dummy") == 0 || SDL_strcmp(driver, "offscreen") == 0);
}

// Another process asks for the program (a second copy started): the wait ends for it.
bool otherProcessAsks()
{
    const int descriptor = ui::attention().descriptor;
    if (descriptor < 0) return false;
    pollfd request{descriptor, POLLIN, 0};
    return poll(&request, 1, 0) > 0;
}

void raiseWindow()
{
    SDL_Window* window = presenter().window;
    if (!window) return;
    SDL_RestoreWindow(window);
    SDL_RaiseWindow(window);
}

// 1 with an event, 0 when maxWaitMs (-1: no limit) passed first. SDL cannot also wait for
// another process's request, so while one can come the wait goes in short steps.
int waitForEvent(SDL_Event& event, int maxWaitMs)
{
    const bool polling = presenter().napInsteadOfWaiting;
    if (!polling && ui::attention().descriptor < 0)
        return maxWaitMs < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, maxWaitMs);
    const Uint32 stepMs = polling ? 25 : 100;
    const Uint32 start = SDL_GetTicks();
    for (;;) {
        if (otherProcessAsks()) return 0;
        const Uint32 waited = SDL_GetTicks() - start;
        if (maxWaitMs >= 0 && waited >= static_cast<Uint32>(maxWaitMs)) return SDL_PollEvent(&event);
        Uint32 step = stepMs;
        if (maxWaitMs >= 0) step = std::min(step, static_cast<Uint32>(maxWaitMs) - waited);
        if (polling) {
            if (SDL_PollEvent(&event)) return 1;
            SDL_Delay(step);
        } else if (SDL_WaitEventTimeout(&event, static_cast<int>(step))) {
            return 1;
        }
    }
}

const char noDisplay[] = "no display is available (DISPLAY and WAYLAND_DISPLAY name none)";

bool displayNamed()
{
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = SDL_getenv(variable);
        if (value != nullptr && value[0] != 0) return true;
    }
    return false;
}

}  // namespace

bool isDriverWithoutDisplay(const char* chosen, const char* requested)
{
    if (chosen == nullptr) return false;
    const bool displayless = SDL_strcmp(chosen, "offscreen") == 0 || SDL_strcmp(chosen, "dummy") == 0;
    // Asked for by name (the tests run the window on the dummy driver), it is what was wanted.
    return displayless && (requested == nullptr || SDL_strstr(requested, chosen) == nullptr);
}

int openSdlPresenter(const PresenterSettings& settings, const InputSink& sink, std::string& error)
{
    SdlPresenter& state = presenter();
    if (state.open) closeSdlPresenter();
    // Without a display named SDL would still try its drivers, and one of them writes its own
    // complaint to standard error before ours.
    if (SDL_getenv("SDL_VIDEODRIVER") == nullptr && !displayNamed()) {
        error = noDisplay;
        return 1;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error = std::string("cannot open a window: ") + SDL_GetError();
        return 1;
    }
    // With no display SDL falls back to a driver that draws nowhere: the program would run unseen
    // and, waiting for input nobody can give, for ever.
    if (isDriverWithoutDisplay(SDL_GetCurrentVideoDriver(), SDL_getenv("SDL_VIDEODRIVER"))) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        error = noDisplay;
        return 1;
    }
    state.settings = settings;
    state.sink = sink;
    state.closeRequested = false;
    state.stylusHeld = false;
    const gdi::Framebuffer& screen = gdi::screen();
    state.window = SDL_CreateWindow(settings.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                    screen.width * settings.scale, screen.height * settings.scale, 0);
    if (state.window) state.renderer = SDL_CreateRenderer(state.window, -1, 0);
    // Without an accelerated renderer (a bare server, the dummy driver) the software one does.
    if (state.window && !state.renderer) state.renderer = SDL_CreateRenderer(state.window, -1, SDL_RENDERER_SOFTWARE);
    if (!state.window || !state.renderer) {
        error = std::string("cannot open a window: ") + SDL_GetError();
        closeSdlPresenter();
        return 1;
    }
    state.arrowCursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    state.busyCursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
    state.waitCursor = false;
    state.napInsteadOfWaiting = driverWaitsByPolling();
    state.open = true;
    ui::attention().raiseHostWindow = raiseWindow;
    SDL_StartTextInput();
    gdi::setScreenChangedHandler(screenChanged);
    showScreen();
    return 0;
}

void closeSdlPresenter()
{
    SdlPresenter& state = presenter();
    gdi::setScreenChangedHandler(nullptr);
    if (ui::attention().raiseHostWindow == raiseWindow) ui::attention().raiseHostWindow = nullptr;
    if (state.texture) SDL_DestroyTexture(state.texture);
    if (state.renderer) SDL_DestroyRenderer(state.renderer);
    if (state.window) SDL_DestroyWindow(state.window);
    if (state.arrowCursor) SDL_FreeCursor(state.arrowCursor);
    if (state.busyCursor) SDL_FreeCursor(state.busyCursor);
    if (state.open || state.window) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    const int screenshots = state.screenshotNumber;
    state = SdlPresenter();
    state.screenshotNumber = screenshots;
}

void showScreen()
{
    SdlPresenter& state = presenter();
    if (!state.renderer) return;
    const gdi::Framebuffer& screen = gdi::screen();
    if (screen.width <= 0 || screen.height <= 0 ||
        screen.pixels.size() != static_cast<size_t>(screen.width) * static_cast<size_t>(screen.height))
        return;
    if (!state.texture || state.textureWidth != screen.width || state.textureHeight != screen.height) {
        if (state.texture) SDL_DestroyTexture(state.texture);
        // 0x00RRGGBB in 32 bits is exactly the framebuffer's pixel.
        state.texture = SDL_CreateTexture(state.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                          screen.width, screen.height);
        state.textureWidth = screen.width;
        state.textureHeight = screen.height;
        if (!state.texture) return;
    }
    SDL_UpdateTexture(state.texture, nullptr, screen.pixels.data(), screen.width * 4);
    SDL_RenderClear(state.renderer);
    SDL_RenderCopy(state.renderer, state.texture, nullptr, nullptr);
    SDL_RenderPresent(state.renderer);
    state.lastShown = SDL_GetTicks();
    updateCursor();
}

bool handleSdlEvent(const SDL_Event& event)
{
    SdlPresenter& state = presenter();
    int x = 0, y = 0;
    switch (event.type) {
    case SDL_QUIT: state.closeRequested = true; break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) state.closeRequested = true;
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            showScreen();
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button != SDL_BUTTON_LEFT || state.stylusHeld) break;
        screenPoint(event.button.x, event.button.y, x, y);
        state.stylusHeld = true;
        if (state.sink.stylusDown) state.sink.stylusDown(x, y);
        break;
    case SDL_MOUSEMOTION:
        // A touch screen knows nothing of a stylus hovering above it.
        if (!state.stylusHeld) break;
        screenPoint(event.motion.x, event.motion.y, x, y);
        if (state.sink.stylusMove) state.sink.stylusMove(x, y);
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button != SDL_BUTTON_LEFT || !state.stylusHeld) break;
        screenPoint(event.button.x, event.button.y, x, y);
        state.stylusHeld = false;
        if (state.sink.stylusUp) state.sink.stylusUp(x, y);
        break;
    case SDL_KEYDOWN: onKey(event.key, true); break;
    case SDL_KEYUP: onKey(event.key, false); break;
    case SDL_TEXTINPUT: onText(event.text.text); break;
    default: break;
    }
    return !state.closeRequested;
}

bool takeCloseRequest()
{
    SdlPresenter& state = presenter();
    const bool requested = state.closeRequested;
    state.closeRequested = false;
    return requested;
}

bool sdlIdle(int maxWaitMs)
{
    SdlPresenter& state = presenter();
    if (!state.open) return false;
    if (takeCloseRequest()) return false;
    showScreen();
    SDL_Event event;
    const int got = waitForEvent(event, maxWaitMs);
    if (got) {
        handleSdlEvent(event);
        while (SDL_PollEvent(&event)) handleSdlEvent(event);
    }
    // One press of the close button asks once: a program that asks "really end?" and is told
    // no goes on, and its question box is not closed by the same press.
    return !takeCloseRequest();
}

bool drainSdlEvents()
{
    SdlPresenter& state = presenter();
    if (!state.open) return false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT || (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE))
            state.closeRequested = true;
        else if (event.type == SDL_WINDOWEVENT) handleSdlEvent(event);
    }
    return !takeCloseRequest();
}

bool readWindowPixels(std::vector<uint32_t>& pixels, int& width, int& height)
{
    SdlPresenter& state = presenter();
    if (!state.renderer || SDL_GetRendererOutputSize(state.renderer, &width, &height) != 0) return false;
    pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    return SDL_RenderReadPixels(state.renderer, nullptr, SDL_PIXELFORMAT_RGB888, pixels.data(), width * 4) == 0;
}

void turnScreen()
{
    SdlPresenter& state = presenter();
    const gdi::Framebuffer& screen = gdi::screen();
    const int width = screen.height;
    const int height = screen.width;
    gdi::resizeScreen(width, height);
    if (state.window) fitWindowToScreen();
    if (state.sink.screenTurned) state.sink.screenTurned(width, height);
    showScreen();
}

std::string saveScreenshot()
{
    SdlPresenter& state = presenter();
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_directories(state.settings.screenshotFolder, error);
    for (int attempt = 0; attempt < 10000; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "screen-%03d.png", ++state.screenshotNumber);
        const fs::path path = fs::path(state.settings.screenshotFolder) / name;
        if (fs::exists(path, error)) continue;
        return gdi::savePng(gdi::screen(), path.string()) ? path.string() : std::string();
    }
    return {};
}

}  // namespace host
