// A stand-in for msiexec.exe in end-to-end tests. It appends its command line
// to calls.txt in its plan folder and ends with the exit code the plan names
// for this installation run.
//
// The plan folder is C:\stubinst. plan.ini, section "plan":
//   exitcodes=1601,0   exit codes of the runs with "/i", in order (then 0)
//   sleepms=N          time to stay running on each "/i" run
// Runs without "/i" (the service re-registration) end with 0 at once.
//
// Each "/i" run also takes a snapshot of the staged install options the
// launcher published: the registry value "Instopts" goes to
// instopts-value<N>.txt (absent when there is none) and the file it names to
// staged<N>.dat, N counting the runs from 1.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr char kPlanFolder[] = "C:\\stubinst";

std::string PlanPath(const char* name) { return std::string(kPlanFolder) + "\\" + name; }

int CountInstallRuns()
{
    return static_cast<int>(GetPrivateProfileIntA("state", "installruns", 0, PlanPath("state.ini").c_str()));
}

void RecordInstallRun(int runs)
{
    WritePrivateProfileStringA("state", "installruns", std::to_string(runs).c_str(),
                               PlanPath("state.ini").c_str());
}

DWORD ExitCodeForRun(int run)
{
    char codes[1024] = {};
    GetPrivateProfileStringA("plan", "exitcodes", "", codes, sizeof codes, PlanPath("plan.ini").c_str());
    const char* p = codes;
    for (int i = 0; *p != '\0'; ++i) {
        char* end = nullptr;
        const unsigned long code = std::strtoul(p, &end, 10);
        if (i == run) return static_cast<DWORD>(code);
        p = end;
        while (*p == ',' || *p == ' ') ++p;
    }
    return 0;
}

void AppendCall(const char* commandLine)
{
    HANDLE file = CreateFileA(PlanPath("calls.txt").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string line = std::string(commandLine) + "\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

void SnapshotStagedOptions(int run)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Kestrova", 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return;
    }
    char staged[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    const bool published = RegQueryValueExA(key, "Instopts", nullptr, nullptr,
                                            reinterpret_cast<BYTE*>(staged), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (!published) return;
    const std::string suffix = std::to_string(run);
    HANDLE file = CreateFileA(PlanPath(("instopts-value" + suffix + ".txt").c_str()).c_str(),
                              GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, staged, static_cast<DWORD>(std::strlen(staged)), &written, nullptr);
        CloseHandle(file);
    }
    CopyFileA(staged, PlanPath(("staged" + suffix + ".dat").c_str()).c_str(), FALSE);
}

// Like msiexec, opens the "/l*v" log (the rest of the command line) with a
// truncating open and writes a line to it.
void WriteInstallerLog(const char* commandLine)
{
    const char* log = std::strstr(commandLine, "/l*v ");
    if (!log) return;
    HANDLE file = CreateFileA(log + 5, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, "stub installer log\r\n", 20, &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CreateDirectoryA(kPlanFolder, nullptr);
    const char* commandLine = GetCommandLineA();
    AppendCall(commandLine);
    if (std::strstr(commandLine, " /i ") == nullptr) return 0;

    const int run = CountInstallRuns();
    RecordInstallRun(run + 1);
    SnapshotStagedOptions(run + 1);
    WriteInstallerLog(commandLine);
    const UINT sleepMs = GetPrivateProfileIntA("plan", "sleepms", 0, PlanPath("plan.ini").c_str());
    if (sleepMs > 0) Sleep(sleepMs);
    return static_cast<int>(ExitCodeForRun(run));
}
