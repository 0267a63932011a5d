// The stand-in for msiexec.exe and the update programs. Each run appends to
// C:\stubinst\runs.txt its current folder, "> " and, for an installation run
// ("/i"), its command line, else its file name and arguments. An update program
// stays a second, so its progress dialog can be read. Installation run N keeps,
// when N is 1, a copy of the options file named by HKLM "Software\Kestrova"
// "Instopts" as staged.dat (the name itself when there is no such file), writes
// its "/l*v" log with a truncating open as msiexec does, and after [plan]
// sleepms of plan.ini ends with [plan] runN.
#include "common/maker_key.h"
#include "launcher_harness.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int)
{
    const std::string folder = "C:\\stubinst\\", plan = folder + "plan.ini", self = win::ModulePath();
    const std::string commandLine = GetCommandLineA(), name = self.substr(self.rfind('\\') + 1);
    const bool installs = commandLine.find(" /i ") != std::string::npos;
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    std::ofstream(folder + "runs.txt", std::ios::app | std::ios::binary)
        << current << "> " << (installs ? commandLine : name + " " + arguments) << "\n";
    if (name != "msiexec.exe") Sleep(1000);
    if (!installs) return 0;

    const int run = GetPrivateProfileIntA("state", "installs", 0, plan.c_str()) + 1;
    WritePrivateProfileStringA("state", "installs", std::to_string(run).c_str(), plan.c_str());
    const std::string published = harness::MachineText(win::kMakerKey, "Instopts"), kept = folder + "staged.dat";
    if (run == 1 && published.find('\\') != std::string::npos && !CopyFileA(published.c_str(), kept.c_str(), FALSE))
        harness::WriteFileText(kept, published);
    const std::size_t log = commandLine.find("/l*v ");
    if (log != std::string::npos) std::ofstream(commandLine.substr(log + 5)) << "stub installer log\r\n";

    Sleep(GetPrivateProfileIntA("plan", "sleepms", 0, plan.c_str()));
    return GetPrivateProfileIntA("plan", ("run" + std::to_string(run)).c_str(), 0, plan.c_str());
}
