#pragma once
// The values the driver holds for the whole run.

#include <windows.h>

#include <string>

#include "setup/quiet_mode.h"

namespace setup {

struct SetupContext {
    HINSTANCE instance = nullptr;
    // The argument text as WinMain received it; the OEM step cuts its
    // switches out of this very buffer.
    char* commandLine = nullptr;
    // Judged on what the installer receives: the arguments without the OEM
    // switches, then also the configured options.
    QuietMode quiet = QuietMode::kNone;
    // "/forcerestart" or REBOOT=Force there: quiet mode restarts only then.
    bool restartRequested = false;

    // The configuration file, and the values read from it.
    std::string iniPath;
    std::string runtimeVersion;
    std::string productName;
    std::string productFile;
    std::string productOptions;
    std::string runtimeProgram;  // "RuntimeNT" or "Runtime9X"

    std::string caption;  // string IDS_SETUP
    std::string systemFolder;
    std::string windowsFolder;
    std::string setupFolder;
    std::string installerPath;
    std::string libraryPath;
    OSVERSIONINFOA platformVersion = {};

    // Filled by the runtime probe.
    bool libraryPresent = false;
    std::string installedVersion;
};

}  // namespace setup
