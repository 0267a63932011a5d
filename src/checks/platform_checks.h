#pragma once
// The three questions the driver asks before any installation work starts.

#include <windows.h>

namespace checks {

// What ClassifyPlatform records for UserIsAdministrator: one record per
// process, defined with the launcher's other process-wide state.
struct PlatformRecord {
    bool recorded;
    bool isNtFamily;
};
extern PlatformRecord RecordedPlatform;

// Records once per process whether `version` is of the NT family.
void ClassifyPlatform(const OSVERSIONINFOA& version);

// True when the user may install: always on the 9x family, otherwise when the
// process token holds the Administrators group.
bool UserIsAdministrator();

enum class PlatformRefusal {
    kNone,
    kNecPc98,        // the NEC PC-98 keyboard
    kWindowsTooOld,  // older than Windows 98, or NT 4.0
};

// Whether the hardware and the Windows `version` are supported, and if not,
// which refusal the driver shows.
PlatformRefusal CheckPlatformSupported(const OSVERSIONINFOA& version);

}  // namespace checks
