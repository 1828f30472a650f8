#include "tests/scenarios/dernolo_device.h"

#include "card/html_pane.h"
#include "db/database_program.h"
#include "emulator.h"
#include "platform/gdi/screen.h"
#include "platform/shell/shell.h"
#include "platform/ui/window_manager.h"
#include "shell/shell_state.h"

void registerStandardControls();

void switchDernoloDeviceOn()
{
    emu::clearJournal();
    emu::clearFaults();
    gdi::resizeScreen(240, 320);
    ui::resetWindowManager();
    registerStandardControls();
    shell::startShell();
    databaseProgram = DatabaseProgram{};
    shellState = ShellState{};
    pageViewer = PageViewerState{};
}

void switchDernoloDeviceOff()
{
    emu::clearFaults();
    shell::stopShell();
    ui::resetWindowManager();
}
