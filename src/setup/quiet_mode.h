#pragma once
// Quiet mode: the installer options with which nobody answers a dialog. A
// management tool that starts setup with one of them often runs it in a
// session no one sees, where a message box would wait forever.
//
// Every rule here reads the arguments as the installer does: whole words
// separated by blanks, options matched case-insensitively with "-" as well
// as "/", and a word inside double quotes a value, not an option.

#include <string>
#include <string_view>
#include <vector>

namespace setup {

enum class QuietMode {
    kNone,     // boxes and the progress dialog as usual
    kNoBoxes,  // "/passive", "/qb-", "/qb!-": no box; the progress dialog still shows
    kSilent,   // "/q", "/qn", "/qn+", "/qn-", "/quiet": no box and no progress dialog
};

// The quietest mode any option among the words of `arguments` asks for.
QuietMode FindQuietMode(std::string_view arguments);

// The quieter of two modes.
QuietMode Quieter(QuietMode first, QuietMode second);

// True when the arguments ask the installer to restart the computer:
// "/forcerestart", or the property REBOOT=Force (the value in any case,
// quoted or not).
bool RestartRequested(std::string_view arguments);

// Whether the Windows Installer of this version (its "ProductVersion" text)
// knows the options that came with 3.0. A version that could not be read
// counts as older: the older spelling means the same to every version.
bool KnowsInstaller30Options(std::string_view installedVersion);

// The arguments with the options of Windows Installer 3.0 spelled as 2.0
// understands them, with the same meaning: "/quiet" as "/qn", "/passive" as
// "/qb!-", "/norestart" as REBOOT=ReallySuppress, "/forcerestart" as
// REBOOT=Force, and "/promptrestart", what 2.0 does anyway, left out.
// Everything else stays as it was, blanks included. `rewrites` names each
// change, for the log.
struct Installer20Arguments {
    std::string arguments;
    std::vector<std::string> rewrites;
};
Installer20Arguments InInstaller20Dialect(std::string_view arguments);

}  // namespace setup
