#include <windows.h>

#include "setup/process_hardening.h"
#include "setup/setup_driver.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    setup::HardenProcess();
    return setup::RunSetup(instance, commandLine);
}
