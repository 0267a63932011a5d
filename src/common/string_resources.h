#pragma once
// The launcher's string table.

#include <windows.h>

#include <string>

namespace win {

// The text of string `id` of `module`, whole; empty when the table has no
// such string.
std::string LoadResourceText(HINSTANCE module, UINT id);

}  // namespace win
