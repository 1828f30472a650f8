// Drawing the launcher's picture, its buttons and the edition sentence.
#pragma once

#include "launcher/launcher_state.h"

void paintLauncher(const LauncherState& state, HDC dc);

// Copies `picture` onto the place of button `entry` (a missing picture is left undrawn).
void drawButton(const LauncherState& state, HDC dc, int entry, HBITMAP picture);
