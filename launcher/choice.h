// The launcher's behaviour, apart from any window: where a click lands and what it does to
// the choice.
#pragma once

#include "launcher/launcher_state.h"

// The maker's web site, opened by the link in the picture.
extern const char makerSiteAddress[];

// The first active entry under (x, y), else linkHitCode inside the link, else noHitCode.
int hitTest(const LauncherState& state, int x, int y);

// Chooses entry 0, 1 or 2: the next button appears and the setup path and the sentence are set.
void chooseEdition(LauncherState& state, int entry);

// Back to no choice: no highlight, no sentence, no setup path, the next button hidden.
void clearChoice(LauncherState& state);

// Takes the launcher's folder, with its trailing backslash, from the executable's full path.
// A path without a backslash leaves the folder empty.
void setLauncherFolder(LauncherState& state, const char* modulePath);

// The picture an entry shows now.
HBITMAP buttonPicture(const LauncherState& state, int entry);

enum class ReleaseAction {
    Repaint,    // the choice changed: redraw the window
    StartSetup, // start setupCommand and end the launcher
    OpenSite,   // the choice was cleared: open the maker's web site and redraw
};

// What releasing the stylus on hit code `hit` does to the choice, and what is left to do.
ReleaseAction releaseOn(LauncherState& state, int hit);

// Where a window of `windowExtent` starts so that it is centred on `screenExtent`; negative
// when the screen is smaller than the window.
int centredOrigin(int screenExtent, int windowExtent);
