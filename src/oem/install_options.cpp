#include "oem/install_options.h"

namespace oem {

void ApplyOemSwitches(char*, const std::string&)
{
    // OEM switches are not handled yet: the command line reaches the
    // installer as given.
}

void RemoveStagedInstallOptions()
{
    // Nothing is staged yet.
}

}  // namespace oem
