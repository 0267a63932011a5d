#include "setup/process_hardening.h"

#include <windows.h>

#include "common/module_path.h"
#include "common/system_library.h"
#include "log/launcher_log.h"

namespace setup {
namespace {

constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCSTR);

// Windows 2000 and XP honour DLL redirection: with a file or folder
// "<program>.local" beside the program, libraries load from the program's
// folder even when asked for by full path. In a download folder anyone may
// put one there.
bool DllRedirectionRequested()
{
    const std::string program = win::ModulePath();
    // Without an ANSI path its ".local" name cannot be asked for; the driver
    // then refuses the folder before it stages or starts anything.
    if (program.empty()) return false;
    const std::string redirection = program + ".local";
    if (GetFileAttributesA(redirection.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    diag::LauncherLog().Write("Setup does not run: %s would make Windows load libraries from the setup folder.",
                              redirection.c_str());
    return true;
}

}  // namespace

bool HardenProcess()
{
    if (DllRedirectionRequested()) return false;

    // Windows 8, and Windows 7 and Vista with KB2533623, know the
    // system-folder-only search; older systems at least drop the current
    // folder (XP SP1 and later). Windows 98 has neither.
    auto setDefaultDirectories =
        win::LateBoundAs<SetDefaultDllDirectoriesFunction>(win::LateBound::kSetDefaultDllDirectories);
    if (setDefaultDirectories && setDefaultDirectories(kSearchSystem32)) return true;

    auto setDllDirectory = win::LateBoundAs<SetDllDirectoryFunction>(win::LateBound::kSetDllDirectoryA);
    if (setDllDirectory) setDllDirectory("");
    return true;
}

}  // namespace setup
