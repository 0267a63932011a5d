// Everything the launcher keeps for the whole process, in one place.
//
// Two objects are built during static initialisation, before WinMain, in the
// order they are defined here (one file fixes it), and destroyed in the
// reverse order when the process exits:
//   1. the options editor (InstallOptionsEditor), with no file loaded yet,
//      and the stateless object it reports its failure lines to.
//      It is built first so that it is destroyed last: when it frees its
//      options handle at exit, the log is already closed and nothing it does
//      then can reach a log that is gone;
//   2. the diagnostic log (DiagnosticLog). Its constructor reads "DebugLog"
//      and, when that switches the log on, opens the file and writes the
//      header line, so the header's time is the process's start.
//
// Two plain records, constant-initialised, so they hold their start values
// before any constructor runs:
//   3. InstallerUsable: true at start, cleared by the process runner when the
//      installer reports its service unusable, set back by the driver before
//      its one retry;
//   4. the platform record that ClassifyPlatform fills for UserIsAdministrator.
// Both stay named state rather than return values: the launcher's flow is
// described and reviewed step by step in their terms (the retry rule reads
// the flag after each installer run; the rights check reads the recorded
// family). Two attempts to fold them into return values were reverted.
//
// Kept beside their code, and why:
//   - the late-bound functions (common/system_library.cpp): the thread
//     runtime's start-up code asks for some before any constructor here has
//     run, so their cache is a constant-initialised array beside the lookup;
//   - the launcher's own path (common/module_path.cpp), found on first use,
//     by the log's constructor, and kept: its short form asks the file system;
//   - the module's string table is reached through the instance WinMain
//     receives, held in the driver's context; there is no global for it.
#include "checks/platform_checks.h"
#include "log/launcher_log.h"
#include "oem/install_options.h"
#include "setup/process_runner.h"

namespace {

// The editor's failure lines go to the diagnostic log as exceptions.
class LauncherFailureLog final : public oem::FailureLog {
public:
    void Write(const char* line) override { diag::LauncherLog().WriteException(line); }
};

LauncherFailureLog g_editorFailures;
oem::InstallOptionsEditor g_optionsEditor(g_editorFailures);
diag::DiagnosticLog g_launcherLog(diag::kLauncherLogName);

}  // namespace

oem::InstallOptionsEditor& oem::LauncherOptionsEditor()
{
    return g_optionsEditor;
}
diag::DiagnosticLog& diag::LauncherLog()
{
    return g_launcherLog;
}

bool setup::InstallerUsable = true;
checks::PlatformRecord checks::RecordedPlatform = {false, false};
