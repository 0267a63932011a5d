#include "oem/oem_option_plan.h"

namespace oem {
namespace {

using ValueQuery = bool (SwitchParser::*)(std::int32_t*);
using TextQuery = bool (SwitchParser::*)(char*, std::size_t);

// One row per switch query, in the order the editor applies them. Integer
// rows have a value query; factory rows have a text query and a fixed
// exists flag.
struct PlanRow {
    OemSetting setting;
    ValueQuery valueQuery;
    TextQuery textQuery;
    std::int32_t existsFlag;
    const char* integerName;
    const char* textName;
    const char* integerFailure;
    const char* textFailure;
};

constexpr char kFactoryRegKeyExistsFailure[] = "Unable to save the factory regkey exist setting.";
constexpr char kFactoryRegKeyFailure[] = "Unable to save factory regkey location setting.";
constexpr char kFactoryFileExistsFailure[] = "Unable to save the factory file exist setting.";
constexpr char kFactoryFileFailure[] = "Unable to save the factory file setting.";

const PlanRow kPlanRows[] = {
    {OemSetting::EnableVigilux, &SwitchParser::GetEnableVigilux, nullptr, 0,
     "INSTALL:EnableVigilux", nullptr, "Unable to save the enable Install Vigilux setting.", nullptr},
    {OemSetting::EnableScriptBlocking, &SwitchParser::GetEnableScriptBlocking, nullptr, 0,
     "INSTALL:EnableScriptBlocking", nullptr, "Unable to save the enable Install ScriptBlocking setting.", nullptr},
    {OemSetting::EnableEmailIn, &SwitchParser::GetEnableEmailIn, nullptr, 0,
     "INSTALL:EnableEmailIn", nullptr, "Unable to save the enable Install EmailIn setting.", nullptr},
    {OemSetting::EnableEmailOut, &SwitchParser::GetEnableEmailOut, nullptr, 0,
     "INSTALL:EnableEmailOut", nullptr, "Unable to save the enable Install EmailOut setting.", nullptr},
    {OemSetting::NoDesktopIcon, &SwitchParser::GetNoDesktopIcon, nullptr, 0,
     "INSTALL:NoDeskTopIcon", nullptr, "Unable to save the NoDeskTopIcon setting.", nullptr},
    {OemSetting::NoReboot, &SwitchParser::GetNoReboot, nullptr, 0,
     "INSTALL:NoReboot", nullptr, "Unable to save the enable NoReboot setting.", nullptr},
    {OemSetting::RebootCount, &SwitchParser::GetRebootCount, nullptr, 0,
     "INSTOPTS:RebootCount", nullptr, "Unable to set the reboot count setting.", nullptr},
    {OemSetting::FirewallSecurityLevel, &SwitchParser::GetFirewallLevel, nullptr, 0,
     "INSTOPTS:FirewallSecurityLevel", nullptr, "Unable to set the Firewall Security Level setting.", nullptr},
    {OemSetting::FactoryRegKey, nullptr, &SwitchParser::GetKeyExistPath, 1,
     "INSTOPTS:FactoryRegKeyExists", "INSTOPTS:FactoryRegKey", kFactoryRegKeyExistsFailure, kFactoryRegKeyFailure},
    {OemSetting::FactoryRegKey, nullptr, &SwitchParser::GetKeyNoExistPath, 0,
     "INSTOPTS:FactoryRegKeyExists", "INSTOPTS:FactoryRegKey", kFactoryRegKeyExistsFailure, kFactoryRegKeyFailure},
    {OemSetting::FactoryFile, nullptr, &SwitchParser::GetFileExistPath, 1,
     "INSTOPTS:FactoryFileExists", "INSTOPTS:FactoryFile", kFactoryFileExistsFailure, kFactoryFileFailure},
    {OemSetting::FactoryFile, nullptr, &SwitchParser::GetFileNoExistPath, 0,
     "INSTOPTS:FactoryFileExists", "INSTOPTS:FactoryFile", kFactoryFileExistsFailure, kFactoryFileFailure},
    {OemSetting::Reseal, &SwitchParser::GetReseal, nullptr, 0,
     "INSTOPTS:Reseal", nullptr, "Unable to save the Reseal setting.", nullptr},
    {OemSetting::Cto, &SwitchParser::GetCto, nullptr, 0,
     "CTO", nullptr, "Unable to save the CTO setting.", nullptr},
};

// Level 1 is the firewall's default: the shipped file keeps whatever it holds.
bool LeavesOptionUntouched(const PlanRow& row, std::int32_t value)
{
    return row.setting == OemSetting::FirewallSecurityLevel && value == 1;
}

}  // namespace

std::vector<OptionWrite> PlanOemOptions(SwitchParser& parser)
{
    std::vector<OptionWrite> writes;
    for (const PlanRow& row : kPlanRows) {
        if (row.valueQuery != nullptr) {
            std::int32_t value = 0;
            if (!(parser.*row.valueQuery)(&value) || LeavesOptionUntouched(row, value)) continue;
            writes.push_back({row.setting, row.integerName, value, nullptr, std::string(), row.integerFailure, nullptr});
        } else {
            char location[kSwitchTextCapacity] = {};
            if (!(parser.*row.textQuery)(location, sizeof location)) continue;
            writes.push_back({row.setting, row.integerName, row.existsFlag, row.textName, location,
                              row.integerFailure, row.textFailure});
        }
    }
    return writes;
}

std::string WithoutOemSwitches(const std::string& commandLine, text::CodePage codePage)
{
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    SwitchParser parser(buffer.data(), codePage);
    PlanOemOptions(parser);
    return buffer.data();
}

}  // namespace oem
