#pragma once

#include <windows.h>

namespace setup {

// The whole launcher from start to exit; returns the process exit code:
// -1 when setup was turned away, 0 otherwise.
int RunSetup(HINSTANCE instance, char* commandLine);

}  // namespace setup
