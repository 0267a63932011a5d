#pragma once
// Keeps the Windows Installer runtime at the version the package needs.

#include "setup/setup_context.h"

namespace setup {

// Notes whether the installer library is present and reads its product
// version into the context (empty when it cannot be read).
void ProbeInstalledRuntime(SetupContext& context);

enum class RuntimeUpdateOutcome {
    kContinue,        // current, or updated without a restart: the installation follows
    kRestartStarted,  // setup started the restart the update needs
    kRestartNeeded,   // the restart was declined, or not asked for in quiet mode
    kNotStarted,      // quiet mode: the update program could not be started
};

// Runs the runtime update when the installed runtime is older than required,
// then reads the installed version again. Setup ends after every outcome but
// kContinue, with nothing staged yet.
RuntimeUpdateOutcome UpdateInstallerRuntime(SetupContext& context);

}  // namespace setup
