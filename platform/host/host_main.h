// The emulator's start: reads its options, sets up the device (file system, memory, screen,
// phone), picks the presenter and runs the program's WinMain. The programs take no arguments.
#pragma once

#include "win32/types.h"

#include <functional>

namespace host {

struct ProgramEntry {
    std::function<int(HINSTANCE instance)> winMain;
    // A handheld program: its captions are the shell's task bar; a desktop one draws its own.
    bool handheld = true;
};

int runHostProgram(int argc, char** argv, const ProgramEntry& entry);

}  // namespace host
