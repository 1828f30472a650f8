// The host keyboard as the device's keys.
#pragma once

#include "win32/types.h"

#include <SDL_keycode.h>

namespace host {

// The virtual-key code (VK_*) of a host key, or 0 for a key the device does not have. Letters
// and digits are their upper-case characters, as on the platform.
UINT virtualKeyOf(SDL_Keycode key);

// The presenter's own keys, which never reach the program.
constexpr SDL_Keycode rotateKey = SDLK_F5;
constexpr SDL_Keycode screenshotKey = SDLK_F12;

}  // namespace host
