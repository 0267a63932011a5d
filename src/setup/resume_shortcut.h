#pragma once
// The shortcut that starts setup again after a restart, and its registry record.

namespace setup {

// Removes a resume shortcut and its record left by an earlier run, if any.
void RemoveResumeShortcut();

}  // namespace setup
