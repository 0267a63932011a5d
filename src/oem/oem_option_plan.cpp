#include "oem/oem_option_plan.h"

namespace oem {
namespace {

// Level 1 is the firewall's default: the shipped file keeps whatever it holds.
bool LeavesOptionUntouched(const OemSwitch& oemSwitch, std::int32_t value)
{
    return oemSwitch.value == SwitchValue::kFirewallLevel && value == 1;
}

}  // namespace

std::vector<OptionWrite> PlanOemOptions(SwitchParser& parser)
{
    std::vector<OptionWrite> writes;
    for (std::size_t row = 0; row < kOemSwitchCount; ++row) {
        const OemSwitch& s = kOemSwitches[row];
        if (s.value != SwitchValue::kQuotedText) {
            std::int32_t value = 0;
            if (!parser.CutValue(row, &value) || LeavesOptionUntouched(s, value)) continue;
            writes.push_back({s.setting, s.integerOption, value, nullptr, std::string(), s.integerFailure, nullptr});
        } else {
            char location[kSwitchTextCapacity] = {};
            if (!parser.CutText(row, location, sizeof location)) continue;
            writes.push_back(
                {s.setting, s.integerOption, s.existsFlag, s.textOption, location, s.integerFailure, s.textFailure});
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
