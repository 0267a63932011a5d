#include "setup/process_runner.h"

#include <shellapi.h>

#include <vector>

#include "common/unique_handle.h"
#include "log/launcher_log.h"
#include "setup/exit_codes.h"
#include "setup/installer_command.h"

namespace setup {

namespace {

constexpr DWORD kPollMilliseconds = 100;

void DrainMessageQueue()
{
    MSG message = {};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
        message = MSG{};
    }
}

}  // namespace

void WaitPumpingMessages(HANDLE process)
{
    while (WaitForSingleObject(process, kPollMilliseconds) == WAIT_TIMEOUT) {
        DrainMessageQueue();
    }
}

int RunInstaller(const std::string& installerPath, const std::string& commandLine)
{
    if (!FitsCommandLineLimit(commandLine)) {
        diag::LauncherLog().Write("The installer was not started: its command line holds %d characters.",
                                  static_cast<int>(commandLine.size()));
        return kCommandLineTooLong;
    }

    // CreateProcessA may write into the command line, so it gets its own copy.
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(installerPath.c_str(), writable.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                        nullptr, &startup, &started)) {
        diag::LauncherLog().Write("The installer %s was not started (error %lu).", installerPath.c_str(),
                                  GetLastError());
        return kInstallerNotStarted;
    }
    win::UniqueHandle thread(started.hThread);
    win::UniqueHandle process(started.hProcess);

    WaitPumpingMessages(process.Get());
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process.Get(), &exitCode)) exitCode = 0;
    if (ReportsInstallerUnusable(exitCode)) InstallerUsable = false;
    return static_cast<int>(exitCode);
}

ULONG ShellStartMask(QuietMode quiet, const OSVERSIONINFOA& platformVersion)
{
    ULONG mask = SEE_MASK_NOCLOSEPROCESS;
    if (quiet == QuietMode::kNone) return mask;
    mask |= SEE_MASK_FLAG_NO_UI;
    const bool xpOrLater = platformVersion.dwPlatformId == VER_PLATFORM_WIN32_NT &&
                           (platformVersion.dwMajorVersion > 5 ||
                            (platformVersion.dwMajorVersion == 5 && platformVersion.dwMinorVersion >= 1));
    if (xpOrLater) mask |= SEE_MASK_NOZONECHECKS;
    return mask;
}

bool ShellRunAndWait(const std::string& file, const std::string& parameters, int showCommand, ULONG mask)
{
    SHELLEXECUTEINFOA execution = {};
    execution.cbSize = sizeof execution;
    execution.fMask = mask;
    execution.lpFile = file.c_str();
    execution.lpParameters = parameters.c_str();
    execution.nShow = showCommand;
    if (!ShellExecuteExA(&execution)) {
        diag::LauncherLog().Write("%s %s was not started (error %lu).", file.c_str(), parameters.c_str(),
                                  GetLastError());
        return false;
    }
    win::UniqueHandle process(execution.hProcess);  // none when the shell started it another way
    WaitPumpingMessages(process.Get());
    return true;
}

}  // namespace setup
