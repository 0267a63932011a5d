#include "setup/runtime_rules.h"

namespace setup {

std::string ComparedVersionText(const std::string& version, const text::CodePage& codePage)
{
    return text::CutAtLastChar(version, '.', codePage);
}

bool InstalledRuntimeIsOlder(const std::string& installedVersion, const std::string& requiredVersion,
                             const text::CodePage& codePage, TextComparison compare)
{
    const std::string installed = ComparedVersionText(installedVersion, codePage);
    const std::string required = ComparedVersionText(requiredVersion, codePage);
    return compare(installed.c_str(), required.c_str()) < 0;
}

bool RestartNeededAfterUpdate(bool libraryPresentBeforeUpdate, std::uint32_t platformId, std::uint32_t minorVersion)
{
    return libraryPresentBeforeUpdate && platformId == kPlatformWindows9x && minorVersion != 0;
}

std::string RuntimeUpdatePath(const std::string& setupFolder, const std::string& programName)
{
    return setupFolder + "\\" + programName;
}

std::string ResumeShortcutPath(const std::string& startupFolder, const std::string& productName)
{
    return startupFolder + "\\" + productName + ".lnk";
}

}  // namespace setup
