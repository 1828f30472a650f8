#include "platform/host/key_map.h"

#include <gtest/gtest.h>

namespace {

TEST(KeyMap, LettersAndDigitsAreTheirUpperCaseCharacters) {
    EXPECT_EQ(host::virtualKeyOf(SDLK_a), static_cast<UINT>('A'));
    EXPECT_EQ(host::virtualKeyOf(SDLK_z), static_cast<UINT>('Z'));
    EXPECT_EQ(host::virtualKeyOf(SDLK_0), static_cast<UINT>('0'));
    EXPECT_EQ(host::virtualKeyOf(SDLK_9), static_cast<UINT>('9'));
}

TEST(KeyMap, NavigationAndEditingKeysHaveThePlatformsNumbers) {
    EXPECT_EQ(host::virtualKeyOf(SDLK_RETURN), 0x0Du);
    EXPECT_EQ(host::virtualKeyOf(SDLK_KP_ENTER), 0x0Du);
    EXPECT_EQ(host::virtualKeyOf(SDLK_ESCAPE), 0x1Bu);
    EXPECT_EQ(host::virtualKeyOf(SDLK_BACKSPACE), 0x08u);
    EXPECT_EQ(host::virtualKeyOf(SDLK_LEFT), 0x25u);
    EXPECT_EQ(host::virtualKeyOf(SDLK_UP), 0x26u);
    EXPECT_EQ(host::virtualKeyOf(SDLK_RIGHT), 0x27u);
    EXPECT_EQ(host::virtualKeyOf(SDLK_DOWN), 0x28u);
    EXPECT_EQ(host::virtualKeyOf(SDLK_RCTRL), 0x11u);
    EXPECT_EQ(host::virtualKeyOf(SDLK_DELETE), 0x2Eu);
    EXPECT_EQ(host::virtualKeyOf(SDLK_F1), 0x70u);
    EXPECT_EQ(host::virtualKeyOf(SDLK_SLASH), 0xBFu);
}

TEST(KeyMap, ThePresentersOwnKeysAndUnknownKeysReachNothing) {
    EXPECT_EQ(host::virtualKeyOf(host::rotateKey), 0u);
    EXPECT_EQ(host::virtualKeyOf(host::screenshotKey), 0u);
    EXPECT_EQ(host::virtualKeyOf(SDLK_VOLUMEUP), 0u);
    // Keycodes of characters outside ASCII are text input, not keys.
    EXPECT_EQ(host::virtualKeyOf(static_cast<SDL_Keycode>(0x0444)), 0u);
}

}  // namespace
