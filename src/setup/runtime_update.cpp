#include "setup/runtime_update.h"

namespace setup {

void ProbeInstalledRuntime(SetupContext& context)
{
    // The version probe is not in place yet: the runtime counts as unknown.
    context.libraryPresent = false;
    context.installedVersion.clear();
}

RuntimeUpdateOutcome UpdateInstallerRuntime(const SetupContext&)
{
    // The runtime update is not in place yet: the installation follows.
    return RuntimeUpdateOutcome::Continue;
}

}  // namespace setup
