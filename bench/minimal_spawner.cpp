// The least a launcher can do: start the installer with a fixed command line
// and wait for it. The launcher's overhead is measured against this.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    char installer[MAX_PATH + 16] = {};
    lstrcpyA(installer, system);
    lstrcatA(installer, "\\msiexec.exe");
    char commandLine[1024] = {};
    wsprintfA(commandLine,
              "%s /i \"C:\\bench\\Package\\Product.msi\"  REBOOT=ReallySuppress /l*v C:\\windows\\Temp\\ZEL.log",
              installer);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(installer, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
        return 1;
    }
    WaitForSingleObject(started.hProcess, INFINITE);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return 0;
}
