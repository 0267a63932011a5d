#pragma once
// VerQueryValueA, bound at run time from the system folder's "version.dll".
//
// "version.dll" is not one of the libraries Windows always takes from the
// system folder: imported by name, a copy planted beside a setup program in
// a download folder would load instead.

#include <windows.h>

namespace version {

using VersionQuery = BOOL(WINAPI*)(LPCVOID block, LPCSTR subBlock, LPVOID* buffer, PUINT length);

// The system's VerQueryValueA, loaded on first use and kept for the process;
// null when the library or the function cannot be found.
VersionQuery SystemVersionQuery();

}  // namespace version
