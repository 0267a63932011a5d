#pragma once
// Starts the launcher's child programs and waits for each to end while the
// thread's message queue keeps being drained.

#include <windows.h>

#include <string>

#include "setup/quiet_mode.h"

namespace setup {

// True at start; cleared by RunInstaller when the installer reports that its
// service cannot be used. The driver sets it back before its one retry.
// Defined with the launcher's other process-wide state.
extern bool InstallerUsable;

// Waits for `process` in 100 ms rounds, dispatching every queued message
// between rounds. Ends at once for a missing or invalid handle.
void WaitPumpingMessages(HANDLE process);

// Runs the installer command line, waits for it and returns its exit code.
// `installerPath` is also passed as the application name, so a path with a
// blank cannot start another program. A command line that cannot be started
// returns kInstallerNotStarted, or kCommandLineTooLong when it is too long,
// with a diagnostic-log line, and leaves InstallerUsable as it was.
int RunInstaller(const std::string& installerPath, const std::string& commandLine);

// The ShellExecuteEx mask for the launcher's other programs. In quiet mode
// Windows may show no box of its own either ("cannot find", the warning for
// a downloaded file), which would wait for a click no one gives; the zone
// check is turned off only where the shell knows the flag (XP and later).
ULONG ShellStartMask(QuietMode quiet, const OSVERSIONINFOA& platformVersion);

// Starts `file` with `parameters` through the shell with `mask` and waits
// for it. Returns false, with a diagnostic-log line, when nothing was
// started. Exit codes are not looked at.
bool ShellRunAndWait(const std::string& file, const std::string& parameters, int showCommand, ULONG mask);

}  // namespace setup
