#pragma once
// Carries the computer maker's OEM switches to the package through a staged
// copy of the install-options file.

#include <string>

namespace oem {

// Cuts every OEM switch out of `commandLine` in place and stages the
// install-options file of `optionsFolder`.
void ApplyOemSwitches(char* commandLine, const std::string& optionsFolder);

// Removes the staged file and its registry value.
void RemoveStagedInstallOptions();

}  // namespace oem
