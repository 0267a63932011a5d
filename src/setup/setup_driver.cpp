#include "setup/setup_driver.h"

#include "checks/platform_checks.h"
#include "common/ansi_code_page.h"
#include "common/module_path.h"
#include "common/narrow_text.h"
#include "common/own_file.h"
#include "common/string_resources.h"
#include "common/system_library.h"
#include "common/unique_handle.h"
#include "log/launcher_log.h"
#include "oem/install_options.h"
#include "oem/oem_option_plan.h"
#include "setup/installer_command.h"
#include "setup/launcher_messages.h"
#include "setup/process_runner.h"
#include "setup/resource.h"
#include "setup/resume_shortcut.h"
#include "setup/runtime_update.h"
#include "setup/setup_config.h"
#include "setup/setup_context.h"

namespace setup {
namespace {

constexpr char kMutexName[] = "SetupMutex";
constexpr char kInstallerWindowClass[] = "MsiDialogCloseClass";

// Creating the mutex is the test: a start that opens an existing one, or
// finds one it may not open, yields to the setup already running. Test and
// creation are one step, so two starts at the same instant cannot both pass.
bool ClaimSingleInstance(win::UniqueHandle& mutex)
{
    SECURITY_ATTRIBUTES attributes = {};
    attributes.nLength = sizeof attributes;
    attributes.bInheritHandle = TRUE;
    mutex.Reset(CreateMutexA(&attributes, TRUE, kMutexName));
    const DWORD error = GetLastError();
    if (mutex && error == ERROR_ALREADY_EXISTS) return false;
    if (!mutex && error == ERROR_ACCESS_DENIED) return false;
    return true;  // a creation that fails otherwise is not examined
}

std::string ReadSetupValue(const std::string& iniPath, const char* key)
{
    char value[kConfigValueBytes] = {};
    GetPrivateProfileStringA(kSetupSection, key, "", value, sizeof value, iniPath.c_str());
    return value;
}

std::string ProductMessage(const SetupContext& context, UINT id)
{
    const std::string& name = context.productName;
    return text::FormatText(win::LoadResourceText(context.instance, id), {name, name});
}

void ReadConfiguration(SetupContext& context)
{
    context.iniPath = SetupIniPath(win::ModulePath());
    context.runtimeVersion = ReadSetupValue(context.iniPath, "RuntimeVersion");
    context.productName = ReadSetupValue(context.iniPath, "ProductName");
    context.productFile = ReadSetupValue(context.iniPath, "ProductFile");
    context.productOptions = ReadSetupValue(context.iniPath, "ProductOpts");
    context.quiet = Quieter(context.quiet, FindQuietMode(context.productOptions));
    context.restartRequested = context.restartRequested || RestartRequested(context.productOptions);
}

// Quiet mode and the restart request are judged on what the installer will
// receive, before any box can show: the arguments without the OEM switches.
void JudgeArguments(SetupContext& context)
{
    const std::string arguments =
        oem::WithoutOemSwitches(context.commandLine ? context.commandLine : "", win::AnsiCodePage());
    context.quiet = FindQuietMode(arguments);
    context.restartRequested = RestartRequested(arguments);
}

// Nothing beside setup.exe can be reached when its path has no ANSI form:
// Setup.ini would not be found and the installer would be started on a
// package that does not exist.
bool SetupFolderReachable(const SetupContext& context)
{
    if (!win::ModulePath().empty()) return true;
    ShowMessage(context, win::LoadResourceText(context.instance, IDS_FOLDER_NOT_SUPPORTED), MB_ICONERROR);
    return false;
}

// Read once and kept: the platform checks, the runtime program's key and the
// restart rule all go by it.
void ReadPlatformVersion(SetupContext& context)
{
    context.platformVersion.dwOSVersionInfoSize = sizeof context.platformVersion;
    GetVersionExA(&context.platformVersion);  // on failure the zero fields are refused
}

UINT RefusalText(checks::PlatformRefusal refusal)
{
    return refusal == checks::PlatformRefusal::kNecPc98 ? IDS_NEC_NOT_SUPPORTED : IDS_OS_NOT_SUPPORTED;
}

bool PassesPlatformChecks(const SetupContext& context)
{
    checks::ClassifyPlatform(context.platformVersion);
    if (!checks::UserIsAdministrator()) {
        ShowMessage(context, ProductMessage(context, IDS_NOT_ADMIN), MB_ICONERROR);
        return false;
    }
    const checks::PlatformRefusal refusal = checks::CheckPlatformSupported(context.platformVersion);
    if (refusal != checks::PlatformRefusal::kNone) {
        const std::string text = win::LoadResourceText(context.instance, RefusalText(refusal));
        ShowMessage(context, text::FormatText(text, {context.productName}), MB_ICONERROR);
        return false;
    }
    return true;
}

void GatherPlatformValues(SetupContext& context)
{
    const bool isNt = context.platformVersion.dwPlatformId == VER_PLATFORM_WIN32_NT;
    context.runtimeProgram = ReadSetupValue(context.iniPath, isNt ? "RuntimeNT" : "Runtime9X");

    context.installedVersion.clear();
    context.systemFolder = win::SystemFolder();
    context.windowsFolder = win::WindowsFolder();
    context.setupFolder = win::GetSetupFolder();
    context.installerPath = InstallerProgramPath(context.systemFolder);
    context.libraryPath = InstallerLibraryPath(context.systemFolder);
}

// The Windows Installer's own window for this product is already open.
bool InstallerWindowOpen(const SetupContext& context)
{
    const std::string title = InstallerWindowTitle(context.productName, context.caption);
    if (!FindWindowA(kInstallerWindowClass, title.c_str())) return false;
    ShowMessage(context, text::FormatText(win::LoadResourceText(context.instance, IDS_ALREADY_RUNNING), {title}),
                MB_OK);
    return true;
}

// An installer older than 3.0 does not know the options that came with it:
// given one, it shows its usage box and waits, even in a silent run.
std::string InInstallerDialect(const SetupContext& context, const std::string& arguments)
{
    if (KnowsInstaller30Options(context.installedVersion)) return arguments;
    Installer20Arguments spelled = InInstaller20Dialect(arguments);
    for (const std::string& rewrite : spelled.rewrites) {
        diag::LauncherLog().Write("Windows Installer \"%s\" predates 3.0: %s.", context.installedVersion.c_str(),
                                  rewrite.c_str());
    }
    return spelled.arguments;
}

std::string ComposeCommandLine(const SetupContext& context, const std::string& logPath)
{
    return ComposeInstallerCommandLine(context.installerPath, PackagePath(context.setupFolder, context.productFile),
                                       InInstallerDialect(context, context.commandLine ? context.commandLine : ""),
                                       InInstallerDialect(context, context.productOptions),
                                       VerboseLogArgument(logPath));
}

// The installer writes its log under a fixed name in a folder where every
// user may create files: a link planted there would turn the log against
// another file, and a file planted there would keep its planter's rights over
// everything the installer logs. Setup deletes what is there (a link, never
// its target) and creates the log itself, for Administrators and SYSTEM only;
// the installer then writes into it. A name it cannot have (a folder, a
// read-only file) gives way to a numbered one beside it.
std::string ClaimInstallerLog(const SetupContext& context)
{
    const std::string fixedPath = InstallerLogPath(context.windowsFolder);
    DeleteFileA(fixedPath.c_str());
    const win::OwnFile log = win::CreateOwnFileNear(fixedPath, GENERIC_WRITE);
    if (log.path.empty()) {
        diag::LauncherLog().Write("No installer log could be created beside %s.", fixedPath.c_str());
        return fixedPath;
    }
    if (log.path != fixedPath) {
        diag::LauncherLog().Write("The installer's log is %s: %s could not be created.", log.path.c_str(),
                                  fixedPath.c_str());
    }
    return log.path;
}

int StartInstallation(const SetupContext& context)
{
    return RunInstaller(context.installerPath, ComposeCommandLine(context, ClaimInstallerLog(context)));
}

// Registers the installer service anew. An interactive user saw Windows' own
// box when a start failed; an unattended run stops there.
bool ReregisterInstaller(const SetupContext& context)
{
    const ULONG mask = ShellStartMask(context.quiet, context.platformVersion);
    for (const char* step : {"/unregister", "/regserver"}) {
        if (!ShellRunAndWait(context.installerPath, step, SW_SHOWNORMAL, mask) && context.quiet != QuietMode::kNone) {
            return false;
        }
    }
    return true;
}

// The installer reported its service unusable: register the service anew and
// run the installation once more, with a log claimed anew. Returns the retry's exit code.
int RepairAndRetry(const SetupContext& context)
{
    ShowMessage(context, ProductMessage(context, IDS_INSTALLER_RETRY), MB_ICONERROR);
    if (!ReregisterInstaller(context)) return kInstallerNotStarted;
    InstallerUsable = true;
    const int exitCode = StartInstallation(context);
    if (!InstallerUsable) {
        ShowMessage(context, ProductMessage(context, IDS_INSTALLER_FAILED), MB_OK);
    }
    return exitCode;
}

int ExitCodeOf(RuntimeUpdateOutcome outcome)
{
    switch (outcome) {
    case RuntimeUpdateOutcome::kRestartStarted: return kRestartStarted;
    case RuntimeUpdateOutcome::kRestartNeeded: return kRestartNeeded;
    case RuntimeUpdateOutcome::kNotStarted: return kInstallerNotStarted;
    case RuntimeUpdateOutcome::kContinue: break;
    }
    return kInstalled;
}

}  // namespace

int RunSetup(HINSTANCE instance, char* commandLine)
{
    RemoveResumeShortcut();

    win::UniqueHandle mutex;
    if (!ClaimSingleInstance(mutex)) return kTurnedAway;

    SetupContext context;
    context.instance = instance;
    context.commandLine = commandLine;
    JudgeArguments(context);
    context.caption = win::LoadResourceText(instance, IDS_SETUP);
    if (!SetupFolderReachable(context)) return kTurnedAway;
    ReadConfiguration(context);
    ReadPlatformVersion(context);

    if (!PassesPlatformChecks(context)) return kTurnedAway;

    GatherPlatformValues(context);
    ProbeInstalledRuntime(context);
    if (InstallerWindowOpen(context)) return kTurnedAway;

    const RuntimeUpdateOutcome update = UpdateInstallerRuntime(context);
    if (update != RuntimeUpdateOutcome::kContinue) {
        ReleaseMutex(mutex.Get());
        return ExitCodeOf(update);
    }

    const std::string optionsFolder = text::CutAtLastChar(context.productFile, '\\', win::AnsiCodePage());
    oem::ApplyOemSwitches(commandLine, optionsFolder);

    int exitCode = StartInstallation(context);
    if (!InstallerUsable) exitCode = RepairAndRetry(context);

    oem::RemoveStagedInstallOptions();
    ReleaseMutex(mutex.Get());
    return exitCode;
}

}  // namespace setup
