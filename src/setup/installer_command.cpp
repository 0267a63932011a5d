#include "setup/installer_command.h"

namespace setup {

std::string PackagePath(const std::string& setupFolder, const std::string& productFile)
{
    return setupFolder + "\\" + productFile;
}

std::string InstallerProgramPath(const std::string& systemFolder)
{
    return systemFolder + "\\msiexec.exe";
}

std::string InstallerLibraryPath(const std::string& systemFolder)
{
    return systemFolder + "\\msi.dll";
}

std::string InstallerLogPath(const std::string& windowsFolder)
{
    return windowsFolder + "\\Temp\\" + kInstallerLogName;
}

std::string VerboseLogArgument(const std::string& logPath)
{
    // A blank would end the path; the usual one, without, stays unquoted.
    const bool hasBlank = logPath.find_first_of(" \t") != std::string::npos;
    return "/l*v " + (hasBlank ? "\"" + logPath + "\"" : logPath);
}

std::string InstallerWindowTitle(const std::string& productName, const std::string& caption)
{
    return productName + " " + caption;
}

std::string ComposeInstallerCommandLine(const std::string& installerPath, const std::string& packagePath,
                                        const std::string& arguments, const std::string& productOptions,
                                        const std::string& logArgument)
{
    return installerPath + " /i \"" + packagePath + "\" " + arguments + " " + productOptions + " " + logArgument;
}

bool FitsCommandLineLimit(const std::string& commandLine)
{
    return commandLine.size() < kMaxCommandLineChars;
}

bool ReportsInstallerUnusable(std::uint32_t exitCode)
{
    return exitCode == 1601 || exitCode == 1613 || exitCode == 1631;
}

}  // namespace setup
