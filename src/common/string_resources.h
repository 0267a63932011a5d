#pragma once
// The launcher's string table, loaded from the module the driver registered.

#include <windows.h>

#include <string>

namespace win {

// Stored once by the driver before any text is loaded.
void SetResourceModule(HINSTANCE instance);

// The text of string `id`, whole; empty when the table has no such string.
std::string LoadResourceText(UINT id);

}  // namespace win
