#pragma once
// The launcher's registry records: short REG_SZ texts (a path, a product
// name) written under HKEY_LOCAL_MACHINE and read back in a later step or run.

#include <windows.h>

#include <string>

#include "common/unique_handle.h"

namespace win {

// Opens the maker's key (kMakerKey) under HKEY_LOCAL_MACHINE for `access`;
// empty when it does not exist or may not be opened so.
UniqueKey OpenMakerKey(REGSAM access);

// Creates or opens HKLM `keyPath` and sets its REG_SZ value `valueName` to
// `text`. Fails silently: a key that cannot be created stores nothing.
void WriteMachineText(const char* keyPath, const char* valueName, const std::string& text);

// Reads the string value `valueName` of `key` into a buffer of MAX_PATH
// bytes and returns RegQueryValueExA's result; only on ERROR_SUCCESS is
// `text` set, to the value up to its first terminator. A longer value
// answers ERROR_MORE_DATA.
LONG ReadPathText(HKEY key, const char* valueName, std::string& text);

}  // namespace win
