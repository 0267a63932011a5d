// Prepares a full launcher run for the library-search check and runs it: a
// setup folder with its configuration and shipped options file, the stub
// installer, and OEM switches on the command line, so that the runtime probe,
// the staging and the registry clean-up all happen. Prints the launcher's
// process id as Wine's traces write it, for check_library_trace.sh.
#include <cstdio>

#include "launcher_harness.h"
#include "options/options_library.h"

namespace {

constexpr char kSetupFolder[] = "C:\\tracedsetup";

bool WriteShippedOptions(const std::string& path)
{
    OptionsLibrary* handle = nullptr;
    if (OptionsCreateDefault(&handle) != OPTS_OK) return false;
    const bool saved = OptionsSetInteger(handle, "INSTALL:NoReboot", 0) == OPTS_OK &&
                       OptionsSave(path.c_str(), handle) == OPTS_OK;
    OptionsDestroy(handle);
    return saved;
}

}  // namespace

int main()
{
    harness::StubInstaller stub;
    harness::LauncherFolder setup(kSetupFolder);
    // Any required version makes the probe read the installer library's
    // version; this one is old enough that no update runs.
    setup.WriteIni({{"RuntimeVersion", "1.0"},
                    {"ProductName", "Zove Antivirus"},
                    {"ProductFile", "Package\\Product.msi"}});
    setup.WriteFile("Package\\Product.msi", "");
    if (!WriteShippedOptions(std::string(kSetupFolder) + "\\Package\\instopts.dat")) {
        std::printf("could not write the shipped options file\n");
        return 2;
    }

    HANDLE launcher = harness::StartLauncher(setup.ExePath(), "/vg:1 /noreboot");
    if (launcher == nullptr) {
        std::printf("could not start %s\n", setup.ExePath().c_str());
        return 2;
    }
    std::printf("setup folder %s\n", kSetupFolder);
    std::printf("launcher process %04lx\n", GetProcessId(launcher));
    std::fflush(stdout);
    const bool ended = WaitForSingleObject(launcher, 60000) == WAIT_OBJECT_0;
    DWORD exitCode = 0;
    GetExitCodeProcess(launcher, &exitCode);
    CloseHandle(launcher);

    // The run counts only when every step that binds a library happened.
    const bool staged = harness::FileExists("C:\\stubinst\\instopts-value1.txt");
    const bool cleanedUp = !harness::MachineKeyExists("Software\\Kestrova");
    std::printf("launcher exit %ld, installer runs %u, staged %s, maker key removed %s\n",
                static_cast<long>(exitCode), static_cast<unsigned>(stub.InstallCalls().size()),
                staged ? "yes" : "no", cleanedUp ? "yes" : "no");
    return ended && exitCode == 0 && stub.InstallCalls().size() == 1 && staged && cleanedUp ? 0 : 1;
}
