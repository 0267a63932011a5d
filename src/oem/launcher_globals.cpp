// The launcher's two process-wide objects, defined in one file so their order
// is fixed: the options editor is constructed first and destroyed last, the
// diagnostic log (which reads "DebugLog" and writes its header) second.
#include "log/launcher_log.h"
#include "oem/install_options.h"

namespace {

void LogFailureLine(const char* line) { diag::LauncherLog().WriteException(line); }

oem::InstallOptionsEditor g_optionsEditor(&LogFailureLine);
diag::DiagnosticLog g_launcherLog(diag::kLauncherLogName);

}  // namespace

oem::InstallOptionsEditor& oem::LauncherOptionsEditor() { return g_optionsEditor; }
diag::DiagnosticLog& diag::LauncherLog() { return g_launcherLog; }
