#pragma once
// The installed Windows Installer runtime's version, read from its library.

#include <cstddef>

namespace version {

// Copies the "ProductVersion" of the module at `modulePath` into `buffer`:
// 1 when found, 0 when not, and then the buffer keeps what it held.
int GetProductVersion(const char* modulePath, char* buffer, std::size_t bufferSize);

}  // namespace version
