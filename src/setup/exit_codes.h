#pragma once
// The exit codes setup ends with where the installer gives none. A
// management tool judges a deployment by the exit code alone, so each is one
// the Windows Installer itself uses with the same meaning; where the
// installer ran, its own code is setup's.

namespace setup {

// Setup refused to run (another setup running, no administrator, an
// unsupported system, the product's installer window open, DLL redirection).
constexpr int kTurnedAway = -1;
// The installation succeeded.
constexpr int kInstalled = 0;
// A Windows Installer program (msiexec.exe, or the runtime update in quiet
// mode) could not be started: ERROR_INSTALL_SERVICE_FAILURE.
constexpr int kInstallerNotStarted = 1601;
// The installer's command line is longer than Windows can pass:
// ERROR_INVALID_COMMAND_LINE.
constexpr int kCommandLineTooLong = 1639;
// The runtime update was installed and setup started the restart that it
// needs: ERROR_SUCCESS_REBOOT_INITIATED. The installation follows at the next logon.
constexpr int kRestartStarted = 1641;
// The runtime update needs a restart that was not started (declined, or quiet
// mode without a request to restart): ERROR_SUCCESS_REBOOT_REQUIRED.
constexpr int kRestartNeeded = 3010;

}  // namespace setup
