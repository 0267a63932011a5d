#pragma once
// The shortcut that starts setup again after a restart, and its registry record.

#include <string>

namespace setup {

// Plants a shortcut to setup.exe named after the product in the current
// user's Startup folder, recording its name under HKLM
// "Software\Kestrova\Setup.tmp" first. Fails silently.
void PlantResumeShortcut(const std::string& productName);

// Removes a resume shortcut and its record left by an earlier run, if any.
// "Software\Kestrova" itself stays.
void RemoveResumeShortcut();

}  // namespace setup
