// A stand-in for the window manager's input side, so the turn-taking of the test driver can be
// tested on its own: input is queued as events, and the "program" reads them with
// fakeui::getEvent, which blocks through the idle handler as the real message loop does.
#pragma once

#include "platform/ui/input.h"

#include <deque>
#include <string>

namespace fakeui {

enum class EventKind { StylusDown, StylusMove, StylusUp, KeyDown, KeyUp, Character, Timer };

struct Event {
    EventKind kind;
    int x = 0, y = 0;
    UINT code = 0;
};

// False when the idle handler asked the program to end.
bool getEvent(Event& event);
// One timer firing after this many milliseconds (-1: none).
void setTimer(int milliseconds);
void reset();

}  // namespace fakeui
