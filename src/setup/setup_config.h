#pragma once
// Where the launcher's configuration lives and how its values are bounded.

#include <cstddef>
#include <string>

namespace setup {

// The section of the configuration file that holds every key.
constexpr char kSetupSection[] = "ZoveInstaller";

// Each value is read into a buffer of this many bytes, so it holds at most
// 259 characters; a missing key or file reads as empty text.
constexpr std::size_t kConfigValueBytes = 260;

// The configuration file's path: the executable's path with its last three
// characters replaced by "ini". No dot is searched for, so "Setup.exe" gives
// "Setup.ini" and "install" gives "instini".
std::string SetupIniPath(const std::string& modulePath);

}  // namespace setup
