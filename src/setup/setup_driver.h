#pragma once

#include <windows.h>

namespace setup {

// The exit code of a setup that was turned away.
constexpr int kTurnedAway = -1;

// The whole launcher from start to exit; returns the process exit code:
// -1 when setup was turned away, 0 otherwise.
int RunSetup(HINSTANCE instance, char* commandLine);

}  // namespace setup
