#include "version/product_version.h"

#include "version/version_info_reader.h"

namespace version {

int GetProductVersion(const char* modulePath, char* buffer, std::size_t bufferSize)
{
    VersionInfoReader reader(modulePath);
    return reader.GetStringValue("ProductVersion", buffer, bufferSize);
}

}  // namespace version
