#pragma once
// Files setup creates for itself where every user may create files (the
// Windows Temp folder). Each is created new, so nothing planted at its name
// (a link to another file, a file another user can read) is ever opened, and
// on the NT family only Administrators and SYSTEM may open it.

#include <windows.h>

#include <string>

#include "common/unique_handle.h"

namespace win {

// How many numbered names CreateOwnFileNear tries after the given one.
constexpr unsigned kOwnFileNumberedNames = 99;

// Who may open an own file besides setup's own handle.
enum class OwnFileAccess {
    kAdministratorsOnly,  // Administrators and SYSTEM (the NT family)
    kAsTheFolderGives,    // what the folder's inheritable permissions give
};

// `path` created as an own file, or else the first of its numbered names
// beside it ("ZEL-1.log", "ZEL-2.log" …) that can be; `path` is empty and
// `file` invalid when none can.
struct OwnFile {
    UniqueFile file;
    std::string path;
};
OwnFile CreateOwnFileNear(const std::string& path, DWORD access,
                          OwnFileAccess who = OwnFileAccess::kAdministratorsOnly);

}  // namespace win
