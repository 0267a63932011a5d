#pragma once
// Starts the launcher's child programs and waits for each to end while the
// thread's message queue keeps being drained.

#include <windows.h>

#include <string>

namespace setup {

// True at start; cleared by RunInstaller when the installer reports that its
// service cannot be used. The driver sets it back before its one retry.
// Defined with the launcher's other process-wide state.
extern bool InstallerUsable;

// Waits for `process` in 100 ms rounds, dispatching every queued message
// between rounds. Ends at once for a missing or invalid handle.
void WaitPumpingMessages(HANDLE process);

// Runs the installer command line and waits for it. `installerPath` is also
// passed as the application name, so a path with a blank cannot start another
// program. A command line that cannot be started leaves InstallerUsable as it
// was.
void RunInstaller(const std::string& installerPath, const std::string& commandLine);

// Starts `file` with `parameters` through the shell and waits for it; returns
// at once when nothing was started. Exit codes are not looked at.
void ShellRunAndWait(const std::string& file, const std::string& parameters, int showCommand);

}  // namespace setup
