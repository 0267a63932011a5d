#pragma once
// Every function the launcher binds at run time instead of importing it: one
// row each, the library it lives in and its export name. A function is
// bound at run time when a Windows the launcher supports lacks it (Windows
// refuses to start a program with a missing import), or when its library is
// not one Windows always takes from the system folder (imported by name, a
// copy planted beside setup.exe would load instead).
//
// Windows 98 and Me export some NT functions only as stubs that always fail;
// a row marked so is taken on the NT family only, and its caller's fallback
// serves the 9x family.
//
// Portable, so the import check of the build can read the same list.

namespace win {

enum class LateBound : int {
    kSetDefaultDllDirectories,
    kSetDllDirectoryA,
    kMoveFileExA,
    kGetTickCount64,
    kAddVectoredExceptionHandler,
    kRemoveVectoredExceptionHandler,
    kTryEnterCriticalSection,
    kGetHandleInformation,
    kIsDebuggerPresent,
    kSetProcessAffinityMask,
    kOpenProcessToken,
    kGetTokenInformation,
    kGetLengthSid,
    kIsValidSid,
    kShell32GetFolderPath,
    kShFolderGetFolderPath,
    kSHDeleteEmptyKeyA,
    kVerQueryValueA,
    kGetModuleFileNameW,
    kGetShortPathNameW,
    kRegisterEventSourceA,
    kReportEventA,
    kDeregisterEventSource,
    kConvertStringSecurityDescriptorA,
    kLocalFree,
    kCount
};

struct LateBoundRow {
    const char* library;
    const char* function;
    bool stubOn9x;
};

// In the order of LateBound.
constexpr LateBoundRow kLateBoundRows[] = {
    {"kernel32.dll", "SetDefaultDllDirectories", false},        // Windows 8, or 7 and Vista with KB2533623
    {"kernel32.dll", "SetDllDirectoryA", false},                // XP SP1
    {"kernel32.dll", "MoveFileExA", true},                      // 9x: fails with ERROR_CALL_NOT_IMPLEMENTED
    {"kernel32.dll", "GetTickCount64", false},                  // Vista
    {"kernel32.dll", "AddVectoredExceptionHandler", false},     // XP
    {"kernel32.dll", "RemoveVectoredExceptionHandler", false},  // XP
    {"kernel32.dll", "TryEnterCriticalSection", true},
    {"kernel32.dll", "GetHandleInformation", true},
    {"kernel32.dll", "IsDebuggerPresent", false},  // not on Windows 95
    {"kernel32.dll", "SetProcessAffinityMask", true},
    {"advapi32.dll", "OpenProcessToken", true},
    {"advapi32.dll", "GetTokenInformation", true},
    {"advapi32.dll", "GetLengthSid", true},
    {"advapi32.dll", "IsValidSid", true},
    {"shell32.dll", "SHGetFolderPathA", false},   // Windows 2000 and Me
    {"shfolder.dll", "SHGetFolderPathA", false},  // Windows 98 with the redistributable
    {"shlwapi.dll", "SHDeleteEmptyKeyA", false},  // not always taken from the system folder
    {"version.dll", "VerQueryValueA", false},     // likewise
    {"kernel32.dll", "GetModuleFileNameW", true},
    {"kernel32.dll", "GetShortPathNameW", true},
    {"advapi32.dll", "RegisterEventSourceA", true},  // 9x: no event log
    {"advapi32.dll", "ReportEventA", true},
    {"advapi32.dll", "DeregisterEventSource", true},
    {"advapi32.dll", "ConvertStringSecurityDescriptorToSecurityDescriptorA", false},  // Windows 2000
    {"kernel32.dll", "LocalFree", false},  // frees what the row above gives; not on the Windows 98 list
};
static_assert(sizeof kLateBoundRows / sizeof kLateBoundRows[0] == static_cast<int>(LateBound::kCount),
              "one row per late-bound function");

// Whether the system's export is used: found, and not a 9x stub on the 9x family.
constexpr bool TakesSystemExport(const LateBoundRow& row, bool found, bool is9xFamily)
{
    return found && !(row.stubOn9x && is9xFamily);
}

}  // namespace win
