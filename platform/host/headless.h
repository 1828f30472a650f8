// The presenter of runs without a window: only the framebuffer is kept. A run ends when the
// program waits with nothing that could ever wake it (no input source, no timer), or after the
// time allowed, so that an unattended run never hangs.
#pragma once

namespace host {

void startHeadless(int timeoutSeconds);
// The window manager's idle handler.
bool headlessIdle(int maxWaitMs);

}  // namespace host
