#include "log/launcher_log.h"

namespace diag {
namespace {

DiagnosticLog g_launcherLog(kLauncherLogName);

}  // namespace

DiagnosticLog& LauncherLog() { return g_launcherLog; }

}  // namespace diag
