#include "launcher/launcher_state.h"

#include "resources/launcher/launcher_ids.h"

LauncherState launcherState;

namespace {

// Entry 1 is 10 pixels wider than its pictures; it is hit-tested and copied at that width.
const ButtonEntry buttonTable[buttonCount] = {
    {IDB_PETERSBURG, IDB_PETERSBURG_LIT, 292, 159, 158, 35, nullptr, nullptr},
    {IDB_MOSCOW, IDB_MOSCOW_LIT, 461, 159, 168, 35, nullptr, nullptr},
    {IDB_BOTH, IDB_BOTH_LIT, 292, 465, 187, 35, nullptr, nullptr},
    {IDB_NEXT, IDB_NEXT_LIT, 656, 551, 118, 40, nullptr, nullptr},
};

} // namespace

void resetLauncherState(LauncherState& state)
{
    for (int i = 0; i < buttonCount; ++i)
        state.buttons[i] = buttonTable[i];
    state.background = nullptr;
    state.activeButtons = buttonsBeforeChoice;
    state.chosenEdition = 0;
    state.setupCommand[0] = '\0';
    state.editionMessage = nullptr;
}
