#include "oem/oem_switches.h"

namespace oem {
namespace {

constexpr char kFactoryRegKeyExistsFailure[] = "Unable to save the factory regkey exist setting.";
constexpr char kFactoryRegKeyFailure[] = "Unable to save factory regkey location setting.";
constexpr char kFactoryFileExistsFailure[] = "Unable to save the factory file exist setting.";
constexpr char kFactoryFileFailure[] = "Unable to save the factory file setting.";

}  // namespace

const OemSwitch kOemSwitches[kOemSwitchCount] = {
    {"/vg:", SwitchValue::kOneIsOn, OemSetting::kEnableVigilux, "INSTALL:EnableVigilux", 0, nullptr,
     "Unable to save the enable Install Vigilux setting.", nullptr},
    {"/sb:", SwitchValue::kOneIsOn, OemSetting::kEnableScriptBlocking, "INSTALL:EnableScriptBlocking", 0, nullptr,
     "Unable to save the enable Install ScriptBlocking setting.", nullptr},
    {"/emi:", SwitchValue::kOneIsOn, OemSetting::kEnableEmailIn, "INSTALL:EnableEmailIn", 0, nullptr,
     "Unable to save the enable Install EmailIn setting.", nullptr},
    {"/emo:", SwitchValue::kOneIsOn, OemSetting::kEnableEmailOut, "INSTALL:EnableEmailOut", 0, nullptr,
     "Unable to save the enable Install EmailOut setting.", nullptr},
    // "/icon:1" asks for the desktop icon, so the stored setting "no icon" is 0.
    {"/icon:", SwitchValue::kOneIsOff, OemSetting::kNoDesktopIcon, "INSTALL:NoDeskTopIcon", 0, nullptr,
     "Unable to save the NoDeskTopIcon setting.", nullptr},
    {"/noreboot", SwitchValue::kPresent, OemSetting::kNoReboot, "INSTALL:NoReboot", 0, nullptr,
     "Unable to save the enable NoReboot setting.", nullptr},
    {"/count:", SwitchValue::kNumber, OemSetting::kRebootCount, "INSTOPTS:RebootCount", 0, nullptr,
     "Unable to set the reboot count setting.", nullptr},
    {"/fw:", SwitchValue::kFirewallLevel, OemSetting::kFirewallSecurityLevel, "INSTOPTS:FirewallSecurityLevel", 0,
     nullptr, "Unable to set the Firewall Security Level setting.", nullptr},
    {"/keyexist:\"", SwitchValue::kQuotedText, OemSetting::kFactoryRegKey, "INSTOPTS:FactoryRegKeyExists", 1,
     "INSTOPTS:FactoryRegKey", kFactoryRegKeyExistsFailure, kFactoryRegKeyFailure},
    {"/keynoexist:\"", SwitchValue::kQuotedText, OemSetting::kFactoryRegKey, "INSTOPTS:FactoryRegKeyExists", 0,
     "INSTOPTS:FactoryRegKey", kFactoryRegKeyExistsFailure, kFactoryRegKeyFailure},
    {"/fileexist:\"", SwitchValue::kQuotedText, OemSetting::kFactoryFile, "INSTOPTS:FactoryFileExists", 1,
     "INSTOPTS:FactoryFile", kFactoryFileExistsFailure, kFactoryFileFailure},
    {"/filenoexist:\"", SwitchValue::kQuotedText, OemSetting::kFactoryFile, "INSTOPTS:FactoryFileExists", 0,
     "INSTOPTS:FactoryFile", kFactoryFileExistsFailure, kFactoryFileFailure},
    {"/reseal", SwitchValue::kPresent, OemSetting::kReseal, "INSTOPTS:Reseal", 0, nullptr,
     "Unable to save the Reseal setting.", nullptr},
    {"/cto", SwitchValue::kPresent, OemSetting::kCto, "CTO", 0, nullptr, "Unable to save the CTO setting.", nullptr},
};

}  // namespace oem
