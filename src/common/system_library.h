#pragma once
// Libraries bound at run time are loaded from the system folder by full path,
// never by bare name: a setup program runs from download folders where a
// planted DLL beside it must never load.

#include <windows.h>

#include <string>

#include "common/unique_handle.h"

namespace win {

// The system folder (GetSystemDirectoryA), without a trailing backslash.
std::string SystemFolder();
// The Windows folder (GetWindowsDirectoryA), without a trailing backslash.
std::string WindowsFolder();

// Loads `fileName` ("version.dll") from the system folder by full path.
UniqueModule LoadSystemLibrary(const char* fileName);

// A function of `module` as its own pointer type, or null where the module
// or the function is missing.
template <typename Function>
Function FindFunctionAs(HMODULE module, const char* functionName)
{
    return module ? reinterpret_cast<Function>(
                        reinterpret_cast<void*>(GetProcAddress(module, functionName)))
                  : nullptr;
}

// A function of a library that is always loaded (kernel32, user32, advapi32),
// or null where this Windows lacks it.
template <typename Function>
Function FindSystemFunctionAs(const char* moduleName, const char* functionName)
{
    return FindFunctionAs<Function>(GetModuleHandleA(moduleName), functionName);
}

}  // namespace win
