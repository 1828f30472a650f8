// The SDL presenter on SDL's dummy video driver, so that it runs without a display.
#include "platform/host/sdl_presenter.h"

#include "platform/gdi/screen.h"
#include "platform/host/key_map.h"

#include <cstdlib>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

using ::testing::ElementsAre;

namespace {

std::vector<std::string> received;
std::string turnedTo;

void recordDown(int x, int y) { received.push_back("down " + std::to_string(x) + " " + std::to_string(y)); }
void recordMove(int x, int y) { received.push_back("move " + std::to_string(x) + " " + std::to_string(y)); }
void recordUp(int x, int y) { received.push_back("up " + std::to_string(x) + " " + std::to_string(y)); }
void recordKeyDown(UINT key) { received.push_back("keydown " + std::to_string(key)); }
void recordKeyUp(UINT key) { received.push_back("keyup " + std::to_string(key)); }
void recordCharacter(WCHAR ch) { received.push_back("char " + std::to_string(ch)); }
void recordTurn(int width, int height) { turnedTo = std::to_string(width) + "x" + std::to_string(height); }

SDL_Event mouseButton(Uint32 type, int x, int y) {
    SDL_Event event = {};
    event.type = type;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.x = x;
    event.button.y = y;
    return event;
}

SDL_Event mouseMotion(int x, int y) {
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = x;
    event.motion.y = y;
    return event;
}

SDL_Event key(Uint32 type, SDL_Keycode code) {
    SDL_Event event = {};
    event.type = type;
    event.key.keysym.sym = code;
    return event;
}

class SdlPresenterTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        received.clear();
        turnedTo.clear();
        folder = std::filesystem::temp_directory_path() / ("presenter-test-" + std::to_string(::getpid()));
        gdi::resizeScreen(240, 320);
        host::InputSink sink;
        sink.stylusDown = recordDown;
        sink.stylusMove = recordMove;
        sink.stylusUp = recordUp;
        sink.keyDown = recordKeyDown;
        sink.keyUp = recordKeyUp;
        sink.character = recordCharacter;
        sink.screenTurned = recordTurn;
        host::PresenterSettings settings;
        settings.scale = 2;
        settings.screenshotFolder = folder.string();
        std::string error;
        ASSERT_EQ(host::openSdlPresenter(settings, sink, error), 0) << error;
    }
    void TearDown() override {
        host::closeSdlPresenter();
        std::filesystem::remove_all(folder);
    }
    std::filesystem::path folder;
};

TEST_F(SdlPresenterTest, ShowsTheFramebufferScaled) {
    gdi::Framebuffer& screen = gdi::screen();
    screen.pixels[0] = 0x00FF8040;
    screen.pixels[static_cast<size_t>(319) * 240 + 239] = 0x000000FF;
    host::showScreen();
    std::vector<uint32_t> shown;
    int width = 0, height = 0;
    ASSERT_TRUE(host::readWindowPixels(shown, width, height));
    ASSERT_EQ(width, 480);
    ASSERT_EQ(height, 640);
    auto at = [&](int x, int y) { return shown[static_cast<size_t>(y) * 480 + static_cast<size_t>(x)] & 0xFFFFFF; };
    EXPECT_EQ(at(0, 0), 0xFF8040u);
    EXPECT_EQ(at(1, 1), 0xFF8040u);
    EXPECT_EQ(at(2, 0), 0xFFFFFFu & screen.pixels[1]);
    EXPECT_EQ(at(479, 639), 0x0000FFu);
    EXPECT_EQ(at(478, 638), 0x0000FFu);
}

TEST_F(SdlPresenterTest, MouseIsTheStylusInScreenPixels) {
    host::handleSdlEvent(mouseMotion(100, 100));  // hovering reaches nothing
    host::handleSdlEvent(mouseButton(SDL_MOUSEBUTTONDOWN, 21, 41));
    host::handleSdlEvent(mouseMotion(61, 81));
    host::handleSdlEvent(mouseMotion(2000, -5));  // dragged out of the window
    host::handleSdlEvent(mouseButton(SDL_MOUSEBUTTONUP, 2000, -5));
    host::handleSdlEvent(mouseButton(SDL_MOUSEBUTTONUP, 10, 10));  // no second up
    SDL_Event right = mouseButton(SDL_MOUSEBUTTONDOWN, 10, 10);
    right.button.button = SDL_BUTTON_RIGHT;
    host::handleSdlEvent(right);
    EXPECT_THAT(received, ElementsAre("down 10 20", "move 30 40", "move 239 0", "up 239 0"));
}

TEST_F(SdlPresenterTest, KeysTextAndThePresentersOwnKeys) {
    host::handleSdlEvent(key(SDL_KEYDOWN, SDLK_a));
    host::handleSdlEvent(key(SDL_KEYUP, SDLK_a));
    host::handleSdlEvent(key(SDL_KEYDOWN, SDLK_VOLUMEUP));
    SDL_Event text = {};
    text.type = SDL_TEXTINPUT;
    std::snprintf(text.text.text, sizeof text.text.text, "%s", "Жa😀");
    host::handleSdlEvent(text);
    EXPECT_THAT(received, ElementsAre("keydown 65", "keyup 65", "char 1046", "char 97", "char 55357", "char 56832"));

    received.clear();
    host::handleSdlEvent(key(SDL_KEYDOWN, host::screenshotKey));
    host::handleSdlEvent(key(SDL_KEYUP, host::screenshotKey));
    EXPECT_TRUE(std::filesystem::exists(folder / "screen-001.png"));
    host::handleSdlEvent(key(SDL_KEYDOWN, host::rotateKey));
    EXPECT_TRUE(received.empty()) << "the presenter's keys never reach the program";
    EXPECT_EQ(turnedTo, "320x240");
    EXPECT_EQ(gdi::screen().width, 320);
    EXPECT_EQ(gdi::screen().height, 240);
    host::handleSdlEvent(mouseButton(SDL_MOUSEBUTTONDOWN, 639, 479));
    EXPECT_THAT(received, ElementsAre("down 319 239"));
}

TEST_F(SdlPresenterTest, ClosingTheWindowAsksOncePerPress) {
    EXPECT_TRUE(host::sdlIdle(1)) << "a timer due soon ends the wait";
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_FALSE(host::sdlIdle(-1));
    EXPECT_TRUE(host::sdlIdle(1)) << "a program that declined to end goes on waiting";
    SDL_PushEvent(&quit);
    EXPECT_FALSE(host::sdlIdle(5)) << "another press asks again";
}

TEST_F(SdlPresenterTest, AScriptRunDropsTheUsersInputButNotTheCloseButton) {
    SDL_Event down = mouseButton(SDL_MOUSEBUTTONDOWN, 20, 20);
    SDL_PushEvent(&down);
    SDL_Event keyDown = key(SDL_KEYDOWN, SDLK_a);
    SDL_PushEvent(&keyDown);
    EXPECT_TRUE(host::drainSdlEvents());
    EXPECT_TRUE(received.empty());
    SDL_Event close = {};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&close);
    EXPECT_FALSE(host::drainSdlEvents());
    EXPECT_TRUE(host::drainSdlEvents());
}

}  // namespace
