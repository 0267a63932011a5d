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
int CompareAsSystem(const char* left, const char* right) { return lstrcmpA(left, right); }

bool RuntimeIsOlderThanRequired(const SetupContext& context)
{
    return InstalledRuntimeIsOlder(context.installedVersion, context.runtimeVersion,
                                   win::AnsiCodePage(), &CompareAsSystem);
}

void RunRuntimeUpdate(const SetupContext& context)
{
    ShellRunAndWait(RuntimeUpdatePath(context.setupFolder, context.runtimeProgram), "/Q",
                    SW_SHOW);
}

bool StartedWithoutArguments(const SetupContext& context)
{
    return context.commandLine == nullptr || context.commandLine[0] == '\0';
}

// Asks for the restart; a resumed setup takes over after it. Setup ends here
// whatever the answer, with nothing staged yet.
void PromptForRestart(const SetupContext& context)
{
    const std::string& name = context.productName;
    const std::string prompt =
        text::FormatText(win::LoadResourceText(context.instance, IDS_RESTART_REQUIRED), {name, name});
    // A start with arguments cannot be resumed as it was, so none is planted.
    if (StartedWithoutArguments(context)) PlantResumeShortcut(name);
    if (ShowMessage(context, prompt, MB_OKCANCEL) == IDOK) {
        ExitWindowsEx(EWX_REBOOT, 0);  // its result is not examined
    }
}

}  // namespace

RuntimeUpdateOutcome UpdateInstallerRuntime(const SetupContext& context)
{
    if (!RuntimeIsOlderThanRequired(context)) return RuntimeUpdateOutcome::Continue;

    // Nobody watches a silent run: it shows no progress either.
    UniqueDialog progress;
    if (context.quiet != QuietMode::kSilent) progress = ShowProgressDialog(context.instance, context.productName);
    RunRuntimeUpdate(context);
    const bool restartNeeded =
        RestartNeededAfterUpdate(context.libraryPresent, context.platformVersion.dwPlatformId,
                                 context.platformVersion.dwMinorVersion);
    progress.Reset();
    if (!restartNeeded) return RuntimeUpdateOutcome::Continue;

    PromptForRestart(context);
    return RuntimeUpdateOutcome::EndSetup;  // the driver releases the mutex and ends with 0
}

}  // namespace setup
