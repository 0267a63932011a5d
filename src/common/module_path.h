#pragma once
// The running executable's path and folder.

#include <string>

namespace win {

// GetModuleFileNameA of the executable (at most 259 characters).
std::string ModulePath();

// The executable's folder without a trailing backslash, found with a
// double-byte-aware search for the last backslash; the whole path when it
// holds none.
std::string GetSetupFolder();

}  // namespace win
