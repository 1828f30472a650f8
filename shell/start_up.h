// The start of the handheld program and its one message loop.
#pragma once

#include "win32.h"

// Everything the program needs before its loop: single instance, the main window, the start
// database, the text styles. False ends the program (with 0) before any loop runs.
bool startUp(HINSTANCE instance, int showCommand);

// The loop of the main window with the program's accelerators; the quit message's code.
int runMessageLoop();

// databaseTitle from the current database's whole title (all lines, at most 80 characters); it
// keeps its text when there is no title.
void showDatabaseTitle();
