#pragma once
// The launcher's own diagnostic log, "RIDEvuz.log" beside setup.exe.

#include "log/diagnostic_log.h"

namespace diag {

constexpr char kLauncherLogName[] = "RIDEvuz.log";

// The process-wide log object, defined with the launcher's other
// process-wide state (src/setup/launcher_state.cpp, which says in which
// order they are built). No other global's constructor or destructor may
// call this.
DiagnosticLog& LauncherLog();

}  // namespace diag
