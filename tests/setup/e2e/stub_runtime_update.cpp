// A stand-in for the Windows Installer runtime update programs in end-to-end
// tests. It appends one line to C:\stubinst\runtime.txt: its own file name,
// a tab, and its arguments. It stays running for the time runtime.ini,
// section "plan", key "sleepms", names, so a test can look at the launcher
// meanwhile.
#include <windows.h>

#include <string>

namespace {

constexpr char kPlanFolder[] = "C:\\stubinst";

std::string PlanPath(const char* name) { return std::string(kPlanFolder) + "\\" + name; }

std::string OwnFileName()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string whole = path;
    return whole.substr(whole.find_last_of('\\') + 1);
}

void AppendRun(const std::string& line)
{
    HANDLE file = CreateFileA(PlanPath("runtime.txt").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int)
{
    CreateDirectoryA(kPlanFolder, nullptr);
    AppendRun(OwnFileName() + "\t" + arguments + "\n");
    const UINT sleepMs = GetPrivateProfileIntA("plan", "sleepms", 0, PlanPath("runtime.ini").c_str());
    if (sleepMs > 0) Sleep(sleepMs);
    return 0;
}
