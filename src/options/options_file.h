#pragma once
// The file operations over a chosen file back end. OptionsLoad and
// OptionsSave use the system's; tests and the fuzz target pass their own.

#include "options/file_access.h"
#include "options/options_library.h"

namespace options {

OptionsResult LoadOptionsFile(FileAccess& files, const char* path, OptionsLibrary* handle, int verifyDigest);
OptionsResult SaveOptionsFile(FileAccess& files, const char* path, OptionsLibrary* handle);

}  // namespace options
