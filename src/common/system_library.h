#pragma once
// Libraries bound at run time are loaded from the system folder by full path,
// never by bare name: a setup program runs from download folders where a
// planted DLL beside it must never load.

#include <windows.h>

#include <string>

#include "common/late_bound_functions.h"
#include "common/unique_handle.h"

namespace win {

// The system folder (GetSystemDirectoryA), without a trailing backslash.
std::string SystemFolder();
// The Windows folder (GetWindowsDirectoryA), without a trailing backslash.
std::string WindowsFolder();

// Loads `fileName` ("version.dll") from the system folder by full path.
UniqueModule LoadSystemLibrary(const char* fileName);

// The system's function of that row of the late-bound table, or null where
// this Windows lacks it or exports only a 9x stub. Looked up on first use;
// its library stays loaded until the process ends.
void* FindLateBound(LateBound function);

template <typename Function>
Function LateBoundAs(LateBound function)
{
    return reinterpret_cast<Function>(FindLateBound(function));
}

}  // namespace win
