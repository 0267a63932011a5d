#include "setup/runtime_update.h"

#include "version/product_version.h"

namespace setup {

void ProbeInstalledRuntime(SetupContext& context)
{
    context.libraryPresent = GetFileAttributesA(context.libraryPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    // Stays empty when the library or its version cannot be read.
    char version[MAX_PATH] = "";
    version::GetProductVersion(context.libraryPath.c_str(), version, sizeof version);
    context.installedVersion = version;
}

RuntimeUpdateOutcome UpdateInstallerRuntime(const SetupContext&)
{
    // The runtime update is not in place yet: the installation follows.
    return RuntimeUpdateOutcome::Continue;
}

}  // namespace setup
