#include "launcher/choice.h"

#include "launcher/editions.h"

#include <cstdio>
#include <cstring>

const char makerSiteAddress[] = "https://www.morvane.example/";

namespace {

// The link is part of the background picture; its bounds are exclusive.
constexpr int linkLeft = 487;
constexpr int linkTop = 241;
constexpr int linkRight = 583;
constexpr int linkBottom = 266;

bool inside(const ButtonEntry& button, int x, int y)
{
    return x >= button.x && y >= button.y && x < button.x + button.width && y < button.y + button.height;
}

} // namespace

int hitTest(const LauncherState& state, int x, int y)
{
    for (int entry = 0; entry < state.activeButtons; ++entry) {
        if (inside(state.buttons[entry], x, y))
            return entry;
    }
    if (x > linkLeft && x < linkRight && y > linkTop && y < linkBottom)
        return linkHitCode;
    return noHitCode;
}

void chooseEdition(LauncherState& state, int entry)
{
    const EditionChoice& edition = editionChoices[entry];
    state.activeButtons = buttonCount;
    state.chosenEdition = entry + 1;
    // A path that does not fit is not cut short: a shortened path could name another program.
    int length = std::snprintf(state.setupCommand, sizeof state.setupCommand, edition.setupFormat,
                               state.launcherFolder);
    if (length < 0 || length >= static_cast<int>(sizeof state.setupCommand))
        state.setupCommand[0] = '\0';
    state.editionMessage = edition.message;
}

void clearChoice(LauncherState& state)
{
    state.activeButtons = buttonsBeforeChoice;
    state.chosenEdition = 0;
    state.editionMessage = nullptr;
    state.setupCommand[0] = '\0';
}

void setLauncherFolder(LauncherState& state, const char* modulePath)
{
    state.launcherFolder[0] = '\0';
    const char* lastBackslash = std::strrchr(modulePath, '\\');
    if (lastBackslash == nullptr)
        return;
    size_t length = static_cast<size_t>(lastBackslash - modulePath) + 1;
    if (length >= sizeof state.launcherFolder)
        return;
    std::memcpy(state.launcherFolder, modulePath, length);
    state.launcherFolder[length] = '\0';
}

HBITMAP buttonPicture(const LauncherState& state, int entry)
{
    const ButtonEntry& button = state.buttons[entry];
    return state.chosenEdition == entry + 1 ? button.highlighted : button.normal;
}

ReleaseAction releaseOn(LauncherState& state, int hit)
{
    if (hit >= 0 && hit < nextButtonEntry) {
        chooseEdition(state, hit);
        return ReleaseAction::Repaint;
    }
    if (hit == nextButtonEntry) {
        state.activeButtons = buttonsBeforeChoice;
        return ReleaseAction::StartSetup;
    }
    clearChoice(state);
    return hit == linkHitCode ? ReleaseAction::OpenSite : ReleaseAction::Repaint;
}

int centredOrigin(int screenExtent, int windowExtent)
{
    return (screenExtent - windowExtent) / 2;
}
