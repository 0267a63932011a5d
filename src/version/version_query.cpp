#include "version/version_query.h"

#include "common/system_library.h"

namespace version {

VersionQuery SystemVersionQuery()
{
    static const VersionQuery query = [] {
        // Released on purpose: the function stays valid until the process ends.
        HMODULE library = win::LoadSystemLibrary("version.dll").Release();
        if (library == nullptr) return VersionQuery{};
        return win::FindFunctionAs<VersionQuery>(library, "VerQueryValueA");
    }();
    return query;
}

}  // namespace version
