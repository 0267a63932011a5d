#pragma once
// Builders and a driver for end-to-end tests of setup.exe under Wine: a setup
// folder with its configuration, a stub installer in the system folder, and
// a run of the launcher that reads and answers its message boxes.

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace harness {

// The folder of the running test program, where the build puts setup.exe and
// the test helpers.
std::string BinFolder();
std::string SystemFolder();
std::string WindowsFolder();

std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& content);
bool FileExists(const std::string& path);
// Deletes a folder with everything in it.
void RemoveFolder(const std::string& folder);

// Sets HKLM "Software\Kestrova" "DebugLog" for the launchers started from now on.
void SetDebugLogMode(DWORD mode);

// A setup folder holding a copy of setup.exe under `exeName`.
class LauncherFolder {
public:
    explicit LauncherFolder(const std::string& folder = "C:\\setuptest",
                            const std::string& exeName = "Setup.exe");
    const std::string& Folder() const { return folder_; }
    const std::string& ExePath() const { return exePath_; }
    // Writes the "ZoveInstaller" section of the configuration file beside the
    // executable (its name: the executable's with the last three characters
    // replaced by "ini").
    void WriteIni(const std::map<std::string, std::string>& keys) const;
    void WriteFile(const std::string& relativePath, const std::string& content) const;

private:
    std::string folder_;
    std::string exePath_;
};

// The stub installer of stub_installer.cpp, copied over the system folder's
// msiexec.exe. Its plan and its record of calls live in C:\stubinst.
class StubInstaller {
public:
    StubInstaller();
    void PlanExitCodes(const std::string& commaSeparated) const;
    void PlanSleep(unsigned milliseconds) const;
    // Each command line the stub was started with, in order.
    std::vector<std::string> Calls() const;
    // The command lines of the installation runs (those with "/i").
    std::vector<std::string> InstallCalls() const;
};

// The runtime update stub of stub_runtime_update.cpp, copied into a setup
// folder under the configured names. Its plan and record live in C:\stubinst.
class StubRuntimeUpdate {
public:
    StubRuntimeUpdate(const LauncherFolder& folder, const std::vector<std::string>& relativePaths);
    void PlanSleep(unsigned milliseconds) const;
    struct Run {
        std::string fileName;
        std::string arguments;
    };
    std::vector<Run> Runs() const;
};

// The current user's Startup folder, where the resume shortcut goes.
std::string StartupFolder();

// What a shell link file holds, as IShellLinkA reads it.
struct ShortcutSeen {
    bool exists = false;
    std::string target;
    std::string workingFolder;
    std::string arguments;
};
ShortcutSeen ReadShortcut(const std::string& linkPath);

// HKLM "Software\Kestrova\Setup.tmp" and its "Shortcut" value.
constexpr char kResumeKey[] = "Software\\Kestrova\\Setup.tmp";
bool MachineKeyExists(const std::string& path);
// The "Shortcut" value of the resume record; false when there is none.
bool ReadResumeRecord(std::string& shortcutName);
void WriteResumeRecord(const std::string& shortcutName);

// The Windows version Wine reports to processes started from now on
// ("win95", "win98", "winme", "nt40", "win2k", "winxp").
void SetWindowsVersion(const std::string& version);

struct MessageBoxSeen {
    std::string caption;
    std::string text;
    bool hasCancel = false;
    bool hasIcon = false;
};

// Picks the button to press for a box; IDOK by default.
using BoxAnswer = std::function<int(const MessageBoxSeen&)>;

// The launcher's progress dialog as the test saw it while it was open.
struct ProgressDialogSeen {
    std::string caption;
    std::string text;
    bool visible = false;
};

struct LauncherResult {
    bool started = false;
    bool timedOut = false;
    DWORD exitCode = 0;
    std::vector<MessageBoxSeen> boxes;
    std::vector<ProgressDialogSeen> progressDialogs;
};

// Starts `exePath` with `arguments`, answers every message box it shows,
// notes every progress dialog it opens, and waits for it to end (at most `timeoutMs`).
LauncherResult RunLauncher(const std::string& exePath, const std::string& arguments,
                           const BoxAnswer& answer = BoxAnswer(), DWORD timeoutMs = 60000);

// Starts the launcher without waiting; the caller owns the returned handle.
HANDLE StartLauncher(const std::string& exePath, const std::string& arguments);

// Starts the launcher with its first thread suspended; false when it could
// not be started. The caller owns both handles.
bool StartLauncherSuspended(const std::string& exePath, const std::string& arguments,
                            PROCESS_INFORMATION& started);

// True when the process shows a message box (a visible dialog with a text
// control) at this moment.
bool ShowsMessageBox(DWORD processId);

}  // namespace harness
