// The stylus trail behind GetMouseMovePoints: the digitizer's samples in quarter pixels of the
// screen, recorded by the window manager's stylus input as it arrives (input.cpp).
#pragma once

namespace emu {

enum class StylusPhase { down, move, up };

// Screen pixels. A move is recorded as samples along the way from the previous point, as the
// digitizer reports them between two mouse messages.
void recordStylus(StylusPhase phase, int x, int y);
void clearStylusTrail();

}  // namespace emu
