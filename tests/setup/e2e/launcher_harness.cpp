#include "launcher_harness.h"

#include <objbase.h>
#include <shlobj.h>

#include <set>
#include <sstream>

namespace harness {
namespace {

constexpr char kStubFolder[] = "C:\\stubinst";
// Control ids of a message box: the text and the icon.
constexpr int kBoxTextId = 0xFFFF;
constexpr int kBoxIconId = 0x0440;
// The text control of the launcher's progress dialog.
constexpr int kProgressTextId = 1000;

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string WindowText(HWND window)
{
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// A dialog of the process holding control `controlId`, not yet in `skipped`.
struct DialogSearch {
    DWORD processId;
    int controlId;
    bool visibleOnly;
    const std::set<HWND>* skipped;
    HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<DialogSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[256] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner != search->processId || (search->visibleOnly && !IsWindowVisible(window)) ||
        std::string(className) != "#32770" || GetDlgItem(window, search->controlId) == nullptr ||
        search->skipped->count(window) != 0) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND FindNewDialog(DWORD processId, int controlId, bool visibleOnly, const std::set<HWND>& skipped)
{
    DialogSearch search{processId, controlId, visibleOnly, &skipped};
    EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

MessageBoxSeen ReadBox(HWND box)
{
    MessageBoxSeen seen;
    seen.caption = WindowText(box);
    seen.text = WindowText(GetDlgItem(box, kBoxTextId));
    HWND cancel = GetDlgItem(box, IDCANCEL);
    seen.hasCancel = cancel != nullptr && IsWindowVisible(cancel);
    // A box without an icon keeps the icon control, holding no icon.
    seen.hasIcon = SendDlgItemMessageA(box, kBoxIconId, STM_GETICON, 0, 0) != 0;
    return seen;
}

void SetRegistryValue(HKEY root, const char* keyPath, const char* name, DWORD type, const void* data,
                      DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void SetRegistryText(HKEY root, const char* keyPath, const char* name, const std::string& value)
{
    SetRegistryValue(root, keyPath, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

std::vector<std::string> StubLines(const char* fileName)
{
    std::vector<std::string> lines;
    std::istringstream text(ReadFileText(std::string(kStubFolder) + "\\" + fileName));
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

void WriteStubPlan(const char* fileName, const char* key, const std::string& value)
{
    WritePrivateProfileStringA("plan", key, value.c_str(), (std::string(kStubFolder) + "\\" + fileName).c_str());
}

bool StartProcess(const std::string& exePath, const std::string& arguments, DWORD flags,
                  PROCESS_INFORMATION& started)
{
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    started = PROCESS_INFORMATION{};
    return CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, flags, nullptr,
                          FolderOf(exePath).c_str(), &startup, &started) != FALSE;
}

}  // namespace

std::string BinFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return FolderOf(path);
}

std::string SystemFolder()
{
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

std::string WindowsFolder()
{
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

std::string ReadFileText(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string content;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) content.append(chunk, got);
    CloseHandle(file);
    return content;
}

void WriteFileText(const std::string& path, const std::string& content)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveFolder(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolder(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

void SetDebugLogMode(DWORD mode)
{
    SetRegistryValue(HKEY_LOCAL_MACHINE, "Software\\Kestrova", "DebugLog", REG_DWORD, &mode, sizeof mode);
}

LauncherFolder::LauncherFolder(const std::string& folder, const std::string& exeName)
    : folder_(folder), exePath_(folder + "\\" + exeName)
{
    CreateDirectoryA(folder_.c_str(), nullptr);
    CopyFileA((BinFolder() + "\\setup.exe").c_str(), exePath_.c_str(), FALSE);
}

void LauncherFolder::WriteIni(const std::map<std::string, std::string>& keys) const
{
    std::string ini = "[ZoveInstaller]\r\n";
    for (const auto& [key, value] : keys) ini += key + "=" + value + "\r\n";
    WriteFileText(exePath_.substr(0, exePath_.size() - 3) + "ini", ini);
}

void LauncherFolder::WriteFile(const std::string& relativePath, const std::string& content) const
{
    const std::string path = folder_ + "\\" + relativePath;
    CreateDirectoryA(FolderOf(path).c_str(), nullptr);
    WriteFileText(path, content);
}

StubInstaller::StubInstaller()
{
    CreateDirectoryA(kStubFolder, nullptr);
    CopyFileA((BinFolder() + "\\stub_installer.exe").c_str(),
              (SystemFolder() + "\\msiexec.exe").c_str(), FALSE);
    // Wine 8 runs its own built-in msiexec.exe even when the system folder's
    // file was replaced, unless the prefix says to prefer the native file.
    SetRegistryText(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", "msiexec.exe", "native");
}

void StubInstaller::PlanExitCodes(const std::string& commaSeparated) const
{
    WriteStubPlan("plan.ini", "exitcodes", commaSeparated);
}

void StubInstaller::PlanSleep(unsigned milliseconds) const
{
    WriteStubPlan("plan.ini", "sleepms", std::to_string(milliseconds));
}

std::vector<std::string> StubInstaller::Calls() const { return StubLines("calls.txt"); }

std::vector<std::string> StubInstaller::InstallCalls() const
{
    std::vector<std::string> installs;
    for (const std::string& call : Calls()) {
        if (call.find(" /i ") != std::string::npos) installs.push_back(call);
    }
    return installs;
}

StubRuntimeUpdate::StubRuntimeUpdate(const LauncherFolder& folder,
                                     const std::vector<std::string>& relativePaths)
{
    CreateDirectoryA(kStubFolder, nullptr);
    for (const std::string& relativePath : relativePaths) {
        const std::string path = folder.Folder() + "\\" + relativePath;
        CreateDirectoryA(FolderOf(path).c_str(), nullptr);
        CopyFileA((BinFolder() + "\\stub_runtime_update.exe").c_str(), path.c_str(), FALSE);
    }
}

void StubRuntimeUpdate::PlanSleep(unsigned milliseconds) const
{
    WriteStubPlan("runtime.ini", "sleepms", std::to_string(milliseconds));
}

std::vector<StubRuntimeUpdate::Run> StubRuntimeUpdate::Runs() const
{
    std::vector<Run> runs;
    for (const std::string& line : StubLines("runtime.txt")) {
        const std::size_t tab = line.find('\t');
        if (tab != std::string::npos) runs.push_back(Run{line.substr(0, tab), line.substr(tab + 1)});
    }
    return runs;
}

std::string StartupFolder()
{
    char folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder))) {
        return std::string();
    }
    return folder;
}

ShortcutSeen ReadShortcut(const std::string& linkPath)
{
    ShortcutSeen seen;
    if (!FileExists(linkPath)) return seen;
    seen.exists = true;
    if (FAILED(CoInitialize(nullptr))) return seen;
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IShellLinkA, reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t widePath[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, MAX_PATH);
        if (SUCCEEDED(file->Load(widePath, STGM_READ))) {
            char text[MAX_PATH] = {};
            if (link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH) == S_OK) seen.target = text;
            text[0] = '\0';
            if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) seen.workingFolder = text;
            text[0] = '\0';
            if (SUCCEEDED(link->GetArguments(text, MAX_PATH))) seen.arguments = text;
        }
    }
    if (file) file->Release();
    if (link) link->Release();
    CoUninitialize();
    return seen;
}

bool MachineKeyExists(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

bool ReadResumeRecord(std::string& shortcutName)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kResumeKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    char value[1024] = {};
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    const LONG read = RegQueryValueExA(key, "Shortcut", nullptr, &type,
                                       reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (read != ERROR_SUCCESS || type != REG_SZ) return false;
    shortcutName = value;
    return true;
}

void WriteResumeRecord(const std::string& shortcutName)
{
    SetRegistryText(HKEY_LOCAL_MACHINE, kResumeKey, "Shortcut", shortcutName);
}

void SetWindowsVersion(const std::string& version)
{
    SetRegistryText(HKEY_CURRENT_USER, "Software\\Wine", "Version", version);
}

HANDLE StartLauncher(const std::string& exePath, const std::string& arguments)
{
    PROCESS_INFORMATION started;
    if (!StartProcess(exePath, arguments, 0, started)) return nullptr;
    CloseHandle(started.hThread);
    return started.hProcess;
}

bool StartLauncherSuspended(const std::string& exePath, const std::string& arguments,
                            PROCESS_INFORMATION& started)
{
    return StartProcess(exePath, arguments, CREATE_SUSPENDED, started);
}

bool ShowsMessageBox(DWORD processId)
{
    return FindNewDialog(processId, kBoxTextId, true, {}) != nullptr;
}

LauncherResult RunLauncher(const std::string& exePath, const std::string& arguments,
                           const BoxAnswer& answer, DWORD timeoutMs)
{
    LauncherResult result;
    HANDLE process = StartLauncher(exePath, arguments);
    if (process == nullptr) return result;
    result.started = true;

    const DWORD processId = GetProcessId(process);
    std::set<HWND> answered;
    std::set<HWND> progressSeen;
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(process, 50) == WAIT_TIMEOUT) {
        if (GetTickCount() - start > timeoutMs) {
            TerminateProcess(process, 0xDEAD);
            result.timedOut = true;
            break;
        }
        // Read once shown: the dialog exists a moment before its procedure
        // has set the caption and text and the window is made visible.
        if (HWND dialog = FindNewDialog(processId, kProgressTextId, true, progressSeen)) {
            progressSeen.insert(dialog);
            result.progressDialogs.push_back({WindowText(dialog),
                                              WindowText(GetDlgItem(dialog, kProgressTextId)),
                                              IsWindowVisible(dialog) != FALSE});
        }
        HWND box = FindNewDialog(processId, kBoxTextId, true, answered);
        if (box == nullptr) continue;
        const MessageBoxSeen seen = ReadBox(box);
        result.boxes.push_back(seen);
        answered.insert(box);
        const int button = answer ? answer(seen) : IDOK;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    }
    GetExitCodeProcess(process, &result.exitCode);
    CloseHandle(process);
    return result;
}

}  // namespace harness
