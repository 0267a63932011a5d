#include "setup/setup_config.h"

namespace setup {

std::string SetupIniPath(const std::string& modulePath)
{
    const std::size_t keep = modulePath.size() >= 3 ? modulePath.size() - 3 : 0;
    return modulePath.substr(0, keep) + "ini";
}

}  // namespace setup
