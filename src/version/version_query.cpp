#include "version/version_query.h"

#include "common/system_library.h"

namespace version {

VersionQuery SystemVersionQuery()
{
    return win::LateBoundAs<VersionQuery>(win::LateBound::kVerQueryValueA);
}

}  // namespace version
