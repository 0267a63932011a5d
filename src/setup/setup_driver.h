#pragma once

#include <windows.h>

#include "setup/exit_codes.h"

namespace setup {

// The whole launcher from start to exit; returns the process exit code
// (setup/exit_codes.h): -1 when setup was turned away, else the installer's
// own code or the one that says why it did not run.
int RunSetup(HINSTANCE instance, char* commandLine);

}  // namespace setup
