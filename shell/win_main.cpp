// Dernolo's entry: start-up, then the one message loop until the main window is gone.
#include "shell/start_up.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand)
{
    if (!startUp(instance, showCommand))
        return 0;
    return runMessageLoop();
}
