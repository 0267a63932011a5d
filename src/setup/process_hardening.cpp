#include "setup/process_hardening.h"

#include <windows.h>

#include "common/system_library.h"

namespace setup {
namespace {

constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCSTR);

}  // namespace

void HardenProcess()
{
    // Windows 8, and Windows 7 and Vista with KB2533623, know the
    // system-folder-only search; older systems at least drop the current
    // folder (XP SP1 and later). Windows 98 has neither.
    auto setDefaultDirectories =
        win::LateBoundAs<SetDefaultDllDirectoriesFunction>(win::LateBound::kSetDefaultDllDirectories);
    if (setDefaultDirectories && setDefaultDirectories(kSearchSystem32)) return;

    auto setDllDirectory = win::LateBoundAs<SetDllDirectoryFunction>(win::LateBound::kSetDllDirectoryA);
    if (setDllDirectory) setDllDirectory("");
}

}  // namespace setup
