#pragma once
// Test support for setup.exe under Wine, shared with the launcher benchmark;
// the launcher's own handle wrappers, folder and registry helpers and options
// library do the Win32 work.
#include <windows.h>
#include <sddl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/module_path.h"
#include "common/registry_values.h"
#include "common/system_library.h"
#include "options/options_library.h"
#include "setup/resource.h"

namespace harness {

using Texts = std::vector<std::string>;
using Ini = std::map<std::string, std::string>;

// The test program's folder, where the build puts setup.exe and the stand-in.
inline std::string BinFolder()
{
    return win::GetSetupFolder();
}
inline bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
inline void WriteFileText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}
inline std::string ReadFileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void SetText(HKEY root, const char* key, const char* name, const std::string& text)
{
    win::UniqueKey opened;
    if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, opened.Put(), nullptr) == ERROR_SUCCESS)
        RegSetValueExA(opened.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), text.size() + 1);
}

// A text value under HKLM: "(no key)" without the key, "" without the value.
inline std::string MachineText(const char* key, const char* name)
{
    win::UniqueKey opened;
    std::string text;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, opened.Put()) != ERROR_SUCCESS) return "(no key)";
    win::ReadPathText(opened.Get(), name, text);
    return text;
}

// The stand-in of stub_program.cpp, in place of the system folder's
// msiexec.exe and wherever InstallAs puts it; plan and record in C:\stubinst.
struct StubPrograms {
    StubPrograms()
    {
        InstallAs(win::SystemFolder() + "\\msiexec.exe");
        // Wine runs its own msiexec.exe, whatever file the system folder holds,
        // unless the prefix prefers the file.
        SetText(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", "msiexec.exe", "native");
        Plan({});
    }
    void InstallAs(const std::string& path) const
    {
        CreateDirectoryA(path.substr(0, path.rfind('\\')).c_str(), nullptr);
        CopyFileA((BinFolder() + "\\stub_program.exe").c_str(), path.c_str(), FALSE);
    }
    std::string Path(const char* name) const { return std::string("C:\\stubinst\\") + name; }
    // Forgets the runs so far. The installation runs end with `exitCodes` in
    // turn (0 after the last), each after `sleepMs`.
    void Plan(const std::vector<int>& exitCodes, unsigned sleepMs = 0) const
    {
        std::string plan = "[plan]\r\nsleepms=" + std::to_string(sleepMs) + "\r\n";
        for (std::size_t run = 1; run <= exitCodes.size(); ++run)
            plan += "run" + std::to_string(run) + "=" + std::to_string(exitCodes[run - 1]) + "\r\n";
        CreateDirectoryA(Path("").c_str(), nullptr);
        for (const char* record : {"runs.txt", "staged.dat"}) DeleteFileA(Path(record).c_str());
        WriteFileText(Path("plan.ini"), plan);
    }
    // Each run in order: an installation run's command line, else the program's name and arguments.
    Texts Runs() const
    {
        Texts runs;
        std::ifstream text(Path("runs.txt"), std::ios::binary);
        for (std::string line; std::getline(text, line);) runs.push_back(line);
        return runs;
    }
};

// A setup folder holding a copy of setup.exe, and its Setup.ini.
struct LauncherFolder {
    explicit LauncherFolder(std::string path = "C:\\setuptest") : folder(std::move(path))
    {
        CreateDirectoryA(folder.c_str(), nullptr);
        CopyFileA((BinFolder() + "\\setup.exe").c_str(), ExePath().c_str(), FALSE);
    }
    std::string ExePath() const { return folder + "\\Setup.exe"; }
    void WriteIni(const Ini& keys) const
    {
        std::string ini = "[ZoveInstaller]\r\n";
        for (const auto& [key, value] : keys) ini += key + "=" + value + "\r\n";
        WriteFileText(folder + "\\Setup.ini", ini);
    }
    std::string folder;
};

struct Launched {
    win::UniqueHandle process, thread;
};

// Starts a program in its own folder, with CreateProcessA's `flags`, as the
// user of `token` when one is given.
inline Launched StartLauncher(const std::string& exePath, const std::string& arguments, DWORD flags = 0,
                              HANDLE token = nullptr)
{
    std::string commandLine = "\"" + exePath + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION started = {};
    const std::string folder = exePath.substr(0, exePath.rfind('\\'));
    if (token) {
        CreateProcessAsUserA(token, exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, flags, nullptr,
                             folder.c_str(), &startup, &started);
    } else {
        CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, flags, nullptr, folder.c_str(),
                       &startup, &started);
    }
    return Launched{win::UniqueHandle(started.hProcess), win::UniqueHandle(started.hThread)};
}

// This process's token with the Administrators group made deny-only, as
// Windows gives an administrator who starts a program without elevation.
inline win::UniqueHandle FilteredToken()
{
    win::UniqueHandle own, filtered;
    OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, own.Put());
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID admins = nullptr;
    AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &admins);
    SID_AND_ATTRIBUTES disabled = {admins, 0};
    CreateRestrictedToken(own.Get(), 0, 1, &disabled, 0, nullptr, 0, nullptr, filtered.Put());
    FreeSid(admins);
    return filtered;
}

// The exit code (STILL_ACTIVE while it runs) and every window shown, in order: a
// box as "caption: text", then " [icon]" and " [cancel]" when it has them; the
// progress dialog as "caption: text".
struct LauncherRun {
    DWORD exitCode = STILL_ACTIVE;
    Texts windows;
};

// Starts the launcher, reads each dialog it shows, answers each box (OK unless
// told), and waits for the end. The default wait suits a run that ends at
// once, so a broken main path fails within seconds.
inline LauncherRun RunLauncher(const std::string& exePath, const std::string& arguments,
                               const std::function<int()>& answer = {}, DWORD timeoutMs = 10000, HANDLE token = nullptr)
{
    constexpr int kBoxText = 0xFFFF, kBoxIcon = 0x0440;  // a box's icon control is there even without an icon
    const auto WindowText = [](HWND window) {
        char text[4096] = {};
        return std::string(text, GetWindowTextA(window, text, sizeof text));
    };
    LauncherRun run;
    const Launched launcher = StartLauncher(exePath, arguments, 0, token);
    std::set<HWND> seen;
    const HANDLE process = launcher.process.Get();
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs && WaitForSingleObject(process, 50) == WAIT_TIMEOUT) {
        for (HWND dialog = nullptr; (dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(dialog, &owner);
            HWND text = GetDlgItem(dialog, kBoxText), cancel = GetDlgItem(dialog, IDCANCEL);
            if (owner != GetProcessId(process) || !IsWindowVisible(dialog) || !seen.insert(dialog).second) continue;
            run.windows.push_back(WindowText(dialog) + ": " +
                                  WindowText(text ? text : GetDlgItem(dialog, IDC_PROGRESS_TEXT)) +
                                  (SendDlgItemMessageA(dialog, kBoxIcon, STM_GETICON, 0, 0) ? " [icon]" : "") +
                                  (cancel && IsWindowVisible(cancel) ? " [cancel]" : ""));
            const int button = !text ? 0 : answer ? answer() : IDOK;  // no answer to the progress dialog
            if (button) PostMessageA(dialog, WM_COMMAND, button, reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
        }
    }
    GetExitCodeProcess(process, &run.exitCode);
    TerminateProcess(process, 0xDEAD);  // one that did not end in time
    return run;
}

// The strings setup gave ReportEventA, as "error: text" or "information:
// text". Wine writes them on its "eventlog" debug channel to its standard
// error, which cmake/wine-run.sh keeps in the file WINE_RUN_ERRORS names:
// the lines written there after the mark are read.
class EventLogTrace {
public:
    EventLogTrace() { SetEnvironmentVariableA("WINEDEBUG", "+eventlog"); }
    void Mark() { mark_ = Read().size(); }
    Texts Since() const
    {
        Texts events;
        const std::string trace = Read();
        std::istringstream lines(trace.substr(std::min(mark_, trace.size())));
        for (std::string line; std::getline(lines, line);) {
            const std::size_t at = line.find("eventlog:ReportEventW L\"");
            if (at == std::string::npos || line.back() != '"') continue;
            const std::string kind = line.rfind(":err:", at) != std::string::npos ? "error: " : "information: ";
            events.push_back(kind + line.substr(at + 24, line.size() - at - 25));
        }
        return events;
    }
    // A text as Wine's trace escapes it.
    static std::string Escaped(const std::string& text)
    {
        std::string escaped;
        for (char c : text) escaped += c == '\n' ? "\\n" : c == '\\' ? "\\\\" : c == '"' ? "\\\"" : std::string(1, c);
        return escaped;
    }

private:
    static std::string Read()
    {
        char unixPath[MAX_PATH] = {};
        if (!GetEnvironmentVariableA("WINE_RUN_ERRORS", unixPath, sizeof unixPath)) return {};
        std::string path = std::string("Z:") + unixPath;
        std::replace(path.begin(), path.end(), '/', '\\');
        return ReadFileText(path);
    }
    std::size_t mark_ = 0;
};

// The file's access list in the security descriptor language; empty where
// Wine keeps no descriptor for it.
inline std::string AccessList(const std::string& path)
{
    DWORD size = 0;
    GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<char> descriptor(size ? size : 1);
    char* text = nullptr;
    if (!GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size) ||
        !ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor.data(), SDDL_REVISION_1,
                                                              DACL_SECURITY_INFORMATION, &text, nullptr))
        return {};
    const std::string list = text;
    LocalFree(text);
    return list;
}

// Whether a file created with the descriptor `sddl` reads back with its access list.
inline bool KeepsFileSecurity(const char* sddl)
{
    const char* probe = "C:\\security-probe.txt";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr);
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    DeleteFileA(probe);
    CloseHandle(CreateFileA(probe, GENERIC_WRITE, 0, &attributes, CREATE_NEW, 0, nullptr));
    LocalFree(descriptor);
    const bool kept = AccessList(probe) == sddl;
    DeleteFileA(probe);
    return kept;
}

inline std::string ShortcutPath(const std::string& name)
{
    char startup[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, startup);
    return std::string(startup) + "\\" + name + ".lnk";
}

// Options as NAME=1 or NAME="text", in the order the options library lists
// them after a load; "(unreadable)" when it does not load with its digest checked.
inline Texts ReadOptions(const std::string& path)
{
    Texts options;
    OptionsLibrary* handle = nullptr;
    OptionsCreateDefault(&handle);
    if (OptionsLoad(path.c_str(), handle, 1) != OPTS_OK) options.push_back("(unreadable)");
    for (const OptionRecord* record = OptionsFirstRecord(handle); record; record = OptionsNextRecord(record)) {
        const OptionRecordView view = OptionsViewRecord(record);
        const char* text = reinterpret_cast<const char*>(view.value);
        std::int32_t number = 0;
        std::memcpy(&number, text, sizeof number);
        const std::string value = view.type == OPTION_TYPE_INTEGER
                                      ? std::to_string(number)
                                      : '"' + std::string(text, strnlen(text, view.valueLength)) + '"';
        options.push_back(std::string(view.name, view.nameLength) + "=" + value);
    }
    OptionsDestroy(handle);
    return options;
}

}  // namespace harness
