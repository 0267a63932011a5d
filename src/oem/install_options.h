#pragma once
// Carries the computer maker's OEM switches to the package through a staged
// copy of the install-options file.

#include <string>

#include "oem/install_options_editor.h"

namespace oem {

// The launcher's process-wide editor, defined with the launcher's other
// process-wide state (src/setup/launcher_state.cpp).
InstallOptionsEditor& LauncherOptionsEditor();

// Copies the options folder's "instopts.dat" to the Windows "TEMP" folder as
// a file of this run's own, publishes the copy's path as "Instopts" and loads
// the copy. When no fresh copy can be made, nothing is published and the
// failure is logged. True only when the copy, the attribute reset and the
// load all succeeded.
bool StageInstallOptions(const std::string& optionsFolder);

// Cuts every OEM switch out of `commandLine` in place and, when staging
// succeeded, writes them as options into the staged file and saves it.
void ApplyOemSwitches(char* commandLine, const std::string& optionsFolder);

// Removes the staged file and its registry value, and the maker's key when
// nothing else is left in it.
void RemoveStagedInstallOptions();

}  // namespace oem
