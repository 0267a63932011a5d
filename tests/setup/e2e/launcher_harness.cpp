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

std::string ClassOf(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct BoxSearch {
    DWORD processId;
    const std::set<HWND>* answered;
    HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    if (ClassOf(window) != "#32770" || GetDlgItem(window, kBoxTextId) == nullptr) return TRUE;
    if (search->answered->count(window) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

struct ProgressSearch {
    DWORD processId;
    const std::set<HWND>* seen;
    HWND found;
};

BOOL CALLBACK FindProgressDialog(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<ProgressSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || ClassOf(window) != "#32770") return TRUE;
    if (GetDlgItem(window, kProgressTextId) == nullptr || search->seen->count(window) != 0) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

ProgressDialogSeen ReadProgressDialog(HWND dialog)
{
    ProgressDialogSeen seen;
    seen.caption = WindowText(dialog);
    seen.text = WindowText(GetDlgItem(dialog, kProgressTextId));
    seen.visible = IsWindowVisible(dialog) != FALSE;
    return seen;
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

void SetWineRegistryText(const char* keyPath, const char* name, const std::string& value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
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
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Kestrova", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    RegSetValueExA(key, "DebugLog", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode), sizeof mode);
    RegCloseKey(key);
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
    SetWineRegistryText("Software\\Wine\\DllOverrides", "msiexec.exe", "native");
}

void StubInstaller::PlanExitCodes(const std::string& commaSeparated) const
{
    WritePrivateProfileStringA("plan", "exitcodes", commaSeparated.c_str(),
                               (std::string(kStubFolder) + "\\plan.ini").c_str());
}

void StubInstaller::PlanSleep(unsigned milliseconds) const
{
    WritePrivateProfileStringA("plan", "sleepms", std::to_string(milliseconds).c_str(),
                               (std::string(kStubFolder) + "\\plan.ini").c_str());
}

std::vector<std::string> StubInstaller::Calls() const
{
    std::vector<std::string> calls;
    std::istringstream lines(ReadFileText(std::string(kStubFolder) + "\\calls.txt"));
    for (std::string line; std::getline(lines, line);) calls.push_back(line);
    return calls;
}

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
    WritePrivateProfileStringA("plan", "sleepms", std::to_string(milliseconds).c_str(),
                               (std::string(kStubFolder) + "\\runtime.ini").c_str());
}

std::vector<StubRuntimeUpdate::Run> StubRuntimeUpdate::Runs() const
{
    std::vector<Run> runs;
    std::istringstream lines(ReadFileText(std::string(kStubFolder) + "\\runtime.txt"));
    for (std::string line; std::getline(lines, line);) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        runs.push_back(Run{line.substr(0, tab), line.substr(tab + 1)});
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
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kResumeKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    RegSetValueExA(key, "Shortcut", 0, REG_SZ, reinterpret_cast<const BYTE*>(shortcutName.c_str()),
                   static_cast<DWORD>(shortcutName.size() + 1));
    RegCloseKey(key);
}

void SetWindowsVersion(const std::string& version)
{
    SetWineRegistryText("Software\\Wine", "Version", version);
}

HANDLE StartLauncher(const std::string& exePath, const std::string& arguments)
{
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        FolderOf(exePath).c_str(), &startup, &started)) {
        return nullptr;
    }
    CloseHandle(started.hThread);
    return started.hProcess;
}

bool StartLauncherSuspended(const std::string& exePath, const std::string& arguments,
                            PROCESS_INFORMATION& started)
{
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    started = PROCESS_INFORMATION{};
    return CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                          CREATE_SUSPENDED, nullptr, FolderOf(exePath).c_str(), &startup,
                          &started) != FALSE;
}

bool ShowsMessageBox(DWORD processId)
{
    const std::set<HWND> none;
    BoxSearch search{processId, &none, nullptr};
    EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
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
        ProgressSearch progress{processId, &progressSeen, nullptr};
        EnumWindows(&FindProgressDialog, reinterpret_cast<LPARAM>(&progress));
        if (progress.found != nullptr) {
            progressSeen.insert(progress.found);
            result.progressDialogs.push_back(ReadProgressDialog(progress.found));
        }
        BoxSearch search{processId, &answered, nullptr};
        EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) continue;
        const MessageBoxSeen seen = ReadBox(search.found);
        result.boxes.push_back(seen);
        answered.insert(search.found);
        const int button = answer ? answer(seen) : IDOK;
        PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(search.found, button)));
    }
    GetExitCodeProcess(process, &result.exitCode);
    CloseHandle(process);
    return result;
}

}  // namespace harness
