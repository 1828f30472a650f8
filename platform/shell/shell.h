// What the host tells the Pocket PC shell: when it is on the device's screen and when the
// screen turns. Programs use the shell through ce.h.
#pragma once

namespace shell {

// Puts the task bar strip, the (lowered) input panel and its button on the screen and sets the
// work area below the strip. The host calls it for a handheld program once the screen has its
// size; calling it again (after a window manager reset) starts the shell afresh.
void startShell();
// Takes the shell's windows off the screen and forgets its state; the work area is the whole
// screen again.
void stopShell();
bool shellRunning();

// The screen has turned (the framebuffer already has its new size): the strip, the panel, the
// work area and the dialogs sized to the screen follow, and the program's top-level windows get
// WM_SETTINGCHANGE with SETTINGCHANGE_RESET.
void screenTurned(int width, int height);

}  // namespace shell
