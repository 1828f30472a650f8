// Vantory's program-wide state: the button table and the current edition choice.
#pragma once

#include <windows.h>

// One picture button of the launcher window, in client pixels.
struct ButtonEntry {
    int normalBitmapId;
    int highlightedBitmapId;
    int x;
    int y;
    int width;
    int height;
    HBITMAP normal;
    HBITMAP highlighted;
};

constexpr int buttonCount = 4;
constexpr int nextButtonEntry = 3;        // shown only once an edition is chosen
constexpr int buttonsBeforeChoice = 3;
constexpr int linkHitCode = 10;
constexpr int noHitCode = -1;
constexpr int pathCapacity = 512;

struct LauncherState {
    HINSTANCE instance;
    HBITMAP background;
    ButtonEntry buttons[buttonCount];
    int activeButtons;          // entries drawn and hit-tested
    int chosenEdition;          // 0 = none, else the chosen entry + 1
    char setupCommand[pathCapacity];
    const char* editionMessage; // sentence under the buttons, or none
    char launcherFolder[pathCapacity];
};

// The one launcher of the program.
extern LauncherState launcherState;

// Puts the button geometry and bitmap identifiers into place and clears the choice,
// keeping the launcher's folder.
void resetLauncherState(LauncherState& state);
