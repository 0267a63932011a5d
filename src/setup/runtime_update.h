#pragma once
// Keeps the Windows Installer runtime at the version the package needs.

#include "setup/setup_context.h"

namespace setup {

// Notes whether the installer library is present and reads its product
// version into the context (empty when it cannot be read).
void ProbeInstalledRuntime(SetupContext& context);

enum class RuntimeUpdateOutcome {
    Continue,   // the flow goes on with the installation
    EndSetup,   // a restart was asked for or declined: setup ends with 0
};

// Runs the runtime update when the installed runtime is older than required.
RuntimeUpdateOutcome UpdateInstallerRuntime(const SetupContext& context);

}  // namespace setup
