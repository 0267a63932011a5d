#include "setup/runtime_update.h"

#include "version/product_version.h"

#include "common/ansi_code_page.h"
#include "common/narrow_text.h"
#include "common/string_resources.h"
#include "setup/launcher_messages.h"
#include "setup/process_runner.h"
#include "setup/progress_dialog.h"
#include "setup/resource.h"
#include "setup/resume_shortcut.h"
#include "setup/runtime_rules.h"

namespace setup {

void ProbeInstalledRuntime(SetupContext& context)
{
    context.libraryPresent = GetFileAttributesA(context.libraryPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    // Stays empty when the library or its version cannot be read.
    char version[MAX_PATH] = "";
    version::GetProductVersion(context.libraryPath.c_str(), version, sizeof version);
    context.installedVersion = version;
}

namespace {

// The system's locale-aware, case-sensitive text comparison.
int CompareAsSystem(const char* left, const char* right)
{
    return lstrcmpA(left, right);
}

bool RuntimeIsOlderThanRequired(const SetupContext& context)
{
    return InstalledRuntimeIsOlder(context.installedVersion, context.runtimeVersion, win::AnsiCodePage(),
                                   &CompareAsSystem);
}

bool RunRuntimeUpdate(const SetupContext& context)
{
    return ShellRunAndWait(RuntimeUpdatePath(context.setupFolder, context.runtimeProgram), "/Q", SW_SHOW,
                           ShellStartMask(context.quiet, context.platformVersion));
}

bool StartedWithoutArguments(const SetupContext& context)
{
    return context.commandLine == nullptr || context.commandLine[0] == '\0';
}

// Asks for the restart; a resumed setup takes over after it. In quiet mode
// nobody answers: the restart happens only when the arguments ask for one.
RuntimeUpdateOutcome PromptForRestart(const SetupContext& context)
{
    const std::string& name = context.productName;
    const std::string prompt =
        text::FormatText(win::LoadResourceText(context.instance, IDS_RESTART_REQUIRED), {name, name});
    // A start with arguments cannot be resumed as it was, so none is planted.
    if (StartedWithoutArguments(context)) PlantResumeShortcut(name);
    int answer = ShowMessage(context, prompt, MB_OKCANCEL);
    if (context.quiet != QuietMode::kNone) answer = context.restartRequested ? IDOK : IDCANCEL;
    if (answer != IDOK) return RuntimeUpdateOutcome::kRestartNeeded;
    return ExitWindowsEx(EWX_REBOOT, 0) ? RuntimeUpdateOutcome::kRestartStarted : RuntimeUpdateOutcome::kRestartNeeded;
}

}  // namespace

RuntimeUpdateOutcome UpdateInstallerRuntime(SetupContext& context)
{
    if (!RuntimeIsOlderThanRequired(context)) return RuntimeUpdateOutcome::kContinue;

    // Nobody watches a silent run: it shows no progress either.
    UniqueDialog progress;
    if (context.quiet != QuietMode::kSilent) progress = ShowProgressDialog(context.instance, context.productName);
    const bool started = RunRuntimeUpdate(context);
    const bool restartNeeded = RestartNeededAfterUpdate(context.libraryPresent, context.platformVersion.dwPlatformId,
                                                        context.platformVersion.dwMinorVersion);
    progress.Reset();
    // Windows told an interactive user why; an unattended run must not go on
    // as if the runtime were current.
    if (!started && context.quiet != QuietMode::kNone) return RuntimeUpdateOutcome::kNotStarted;
    if (restartNeeded) return PromptForRestart(context);
    ProbeInstalledRuntime(context);  // the version the update brought
    return RuntimeUpdateOutcome::kContinue;
}

}  // namespace setup
