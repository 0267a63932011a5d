#pragma once
// The three questions the driver asks before any installation work starts.

#include <string>

namespace checks {

// Records once per process whether this is the NT family.
void ClassifyPlatform();

// True when the user may install: always on the 9x family, otherwise when the
// process token holds the Administrators group.
bool UserIsAdministrator();

// True when the hardware and the Windows version are supported. On false,
// `message` holds the refusal to show (the NEC or the version text), formatted
// with the product name.
bool CheckPlatformSupported(std::string& message, const std::string& productName);

}  // namespace checks
