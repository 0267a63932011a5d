#pragma once
// The installer's command line, composed from the launcher's values.

#include <cstddef>
#include <cstdint>
#include <string>

namespace setup {

// CreateProcessA takes at most 32,767 characters, terminator included.
constexpr std::size_t kMaxCommandLineChars = 32767;

// The installer's verbose log goes to the Windows "Temp" folder under this name.
constexpr char kInstallerLogName[] = "ZEL.log";

// "%s\%s" of the setup folder and the configured package file.
std::string PackagePath(const std::string& setupFolder, const std::string& productFile);

// "%s\msiexec.exe" and "%s\msi.dll" on the system folder.
std::string InstallerProgramPath(const std::string& systemFolder);
std::string InstallerLibraryPath(const std::string& systemFolder);

// The installer's log file in the Windows "Temp" folder.
std::string InstallerLogPath(const std::string& windowsFolder);
// "/l*v %s" of the installer's log, usually InstallerLogPath; the path is
// quoted when it holds a blank.
std::string VerboseLogArgument(const std::string& logPath);

// The title of the installer's own window for this product: the product name,
// one blank, then the caption.
std::string InstallerWindowTitle(const std::string& productName, const std::string& caption);

// "%s /i "%s" %s %s %s": the installer, the quoted package, the user's
// arguments, the configured options and the log argument. Empty pieces keep
// their separating blanks.
std::string ComposeInstallerCommandLine(const std::string& installerPath, const std::string& packagePath,
                                        const std::string& arguments, const std::string& productOptions,
                                        const std::string& logArgument);

// True when CreateProcessA can take the command line whole.
bool FitsCommandLineLimit(const std::string& commandLine);

// Exit codes with which the Windows Installer reports that its service cannot
// be used: 1601 (cannot be accessed), 1613 (a newer service is needed) and
// 1631 (failed to start). Every other code leaves the installer usable.
bool ReportsInstallerUnusable(std::uint32_t exitCode);

}  // namespace setup
