#include <windows.h>

#include "setup/process_hardening.h"
#include "setup/setup_driver.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    if (!setup::HardenProcess()) return setup::kTurnedAway;
    return setup::RunSetup(instance, commandLine);
}
