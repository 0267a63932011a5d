#pragma once
// The launcher's own diagnostic log, "RIDEvuz.log" beside setup.exe.

#include "log/diagnostic_log.h"

namespace diag {

constexpr char kLauncherLogName[] = "RIDEvuz.log";

// The process-wide log object. It is a namespace-scope global of its own
// translation unit, so it is constructed during static initialisation (it
// reads "DebugLog" and writes its header before WinMain) and destroyed at
// exit. No other global's constructor or destructor may call this.
DiagnosticLog& LauncherLog();

}  // namespace diag
