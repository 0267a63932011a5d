#pragma once
// The launcher's own diagnostic log, "RIDEvuz.log" beside setup.exe.

#include "log/diagnostic_log.h"

namespace diag {

constexpr char kLauncherLogName[] = "RIDEvuz.log";

// The process-wide log object. It is a namespace-scope global defined beside
// the options editor (src/oem/launcher_globals.cpp), so it is constructed
// during static initialisation after the editor (it reads "DebugLog" and
// writes its header before WinMain) and destroyed at exit before it. No
// other global's constructor or destructor may call this.
DiagnosticLog& LauncherLog();

}  // namespace diag
