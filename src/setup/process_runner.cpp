#include "setup/process_runner.h"

#include <shellapi.h>

#include <vector>

#include "common/unique_handle.h"
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

void RunInstaller(const std::string& installerPath, const std::string& commandLine)
{
    if (!FitsCommandLineLimit(commandLine)) return;  // as a program that cannot be started

    // CreateProcessA may write into the command line, so it gets its own copy.
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(installerPath.c_str(), writable.data(), nullptr, nullptr, FALSE,
                        NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &started)) {
        return;
    }
    win::UniqueHandle thread(started.hThread);
    win::UniqueHandle process(started.hProcess);

    WaitPumpingMessages(process.Get());
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process.Get(), &exitCode)) exitCode = 0;
    if (ReportsInstallerUnusable(exitCode)) InstallerUsable = false;
}

void ShellRunAndWait(const std::string& file, const std::string& parameters, int showCommand)
{
    SHELLEXECUTEINFOA execution = {};
    execution.cbSize = sizeof execution;
    execution.fMask = SEE_MASK_NOCLOSEPROCESS;
    execution.lpFile = file.c_str();
    execution.lpParameters = parameters.c_str();
    execution.nShow = showCommand;
    ShellExecuteExA(&execution);  // nothing started leaves hProcess empty
    win::UniqueHandle process(execution.hProcess);
    WaitPumpingMessages(process.Get());
}

}  // namespace setup
