#include "oem/oem_option_plan.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using oem::OemSetting;
using oem::OptionWrite;

struct Planned {
    std::vector<OptionWrite> writes;
    std::string rest;
};

Planned Plan(const std::string& commandLine)
{
    std::vector<char> buffer(commandLine.c_str(), commandLine.c_str() + commandLine.size() + 1);
    oem::SwitchParser parser(buffer.data());
    Planned planned{oem::PlanOemOptions(parser), std::string()};
    planned.rest = buffer.data();
    return planned;
}

// What an options file holds after the writes are applied in order.
std::map<std::string, std::string> Apply(const std::vector<OptionWrite>& writes)
{
    std::map<std::string, std::string> options;
    for (const OptionWrite& write : writes) {
        options[write.integerName] = std::to_string(write.value);
        if (write.IsFactoryPair()) options[write.textName] = write.text;
    }
    return options;
}

TEST(OemOptionPlan, EveryRowInOrderWithItsOptionNames)
{
    // Switches given in reverse order still come out in the editor's order.
    const Planned planned = Plan(
        "/cto /reseal /filenoexist:\"F0\" /fileexist:\"F1\" /keynoexist:\"K0\" /keyexist:\"K1\" "
        "/fw:2 /count:3 /noreboot /icon:1 /emo:1 /emi:0 /sb:1 /vg:1 /qn");
    const struct {
        OemSetting setting;
        const char* integerName;
        int value;
        const char* textName;
        const char* text;
    } expected[] = {
        {OemSetting::EnableVigilux, "INSTALL:EnableVigilux", 1, nullptr, ""},
        {OemSetting::EnableScriptBlocking, "INSTALL:EnableScriptBlocking", 1, nullptr, ""},
        {OemSetting::EnableEmailIn, "INSTALL:EnableEmailIn", 0, nullptr, ""},
        {OemSetting::EnableEmailOut, "INSTALL:EnableEmailOut", 1, nullptr, ""},
        {OemSetting::NoDesktopIcon, "INSTALL:NoDeskTopIcon", 0, nullptr, ""},
        {OemSetting::NoReboot, "INSTALL:NoReboot", 1, nullptr, ""},
        {OemSetting::RebootCount, "INSTOPTS:RebootCount", 3, nullptr, ""},
        {OemSetting::FirewallSecurityLevel, "INSTOPTS:FirewallSecurityLevel", 2, nullptr, ""},
        {OemSetting::FactoryRegKey, "INSTOPTS:FactoryRegKeyExists", 1, "INSTOPTS:FactoryRegKey", "K1"},
        {OemSetting::FactoryRegKey, "INSTOPTS:FactoryRegKeyExists", 0, "INSTOPTS:FactoryRegKey", "K0"},
        {OemSetting::FactoryFile, "INSTOPTS:FactoryFileExists", 1, "INSTOPTS:FactoryFile", "F1"},
        {OemSetting::FactoryFile, "INSTOPTS:FactoryFileExists", 0, "INSTOPTS:FactoryFile", "F0"},
        {OemSetting::Reseal, "INSTOPTS:Reseal", 1, nullptr, ""},
        {OemSetting::Cto, "CTO", 1, nullptr, ""},
    };
    ASSERT_EQ(planned.writes.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const OptionWrite& write = planned.writes[i];
        EXPECT_EQ(write.setting, expected[i].setting) << "row " << i + 1;
        EXPECT_STREQ(write.integerName, expected[i].integerName) << "row " << i + 1;
        EXPECT_EQ(write.value, expected[i].value) << "row " << i + 1;
        EXPECT_EQ(write.IsFactoryPair(), expected[i].textName != nullptr) << "row " << i + 1;
        if (write.IsFactoryPair()) {
            EXPECT_STREQ(write.textName, expected[i].textName) << "row " << i + 1;
            EXPECT_NE(write.textFailure, nullptr) << "row " << i + 1;
        }
        EXPECT_EQ(write.text, expected[i].text) << "row " << i + 1;
        EXPECT_NE(write.integerFailure, nullptr) << "row " << i + 1;
    }
    EXPECT_EQ(planned.rest, "/qn");
}

TEST(OemOptionPlan, NoSwitchPlansNothingAndLeavesTheLine)
{
    const Planned planned = Plan("/qn TRANSFORMS=x.mst");
    EXPECT_TRUE(planned.writes.empty());
    EXPECT_EQ(planned.rest, "/qn TRANSFORMS=x.mst");
}

TEST(OemOptionPlan, SecondFactorySwitchWinsWhenAppliedInOrder)
{
    const auto options = Apply(Plan("/keynoexist:\"HKLM\\B\" /keyexist:\"HKLM\\A\" "
                                    "/fileexist:\"C:\\A\" /filenoexist:\"C:\\B\"")
                                   .writes);
    EXPECT_EQ(options.at("INSTOPTS:FactoryRegKeyExists"), "0");
    EXPECT_EQ(options.at("INSTOPTS:FactoryRegKey"), "HKLM\\B");
    EXPECT_EQ(options.at("INSTOPTS:FactoryFileExists"), "0");
    EXPECT_EQ(options.at("INSTOPTS:FactoryFile"), "C:\\B");
}

TEST(OemOptionPlan, FirewallLevelOneWritesNothing)
{
    for (const char* level : {"0", "2"}) {
        const auto options = Apply(Plan(std::string("/fw:") + level).writes);
        EXPECT_EQ(options.at("INSTOPTS:FirewallSecurityLevel"), level);
    }
    for (const char* level : {"1", "7", "-2"}) {
        const Planned planned = Plan(std::string("/fw:") + level + " /qn");
        EXPECT_TRUE(planned.writes.empty()) << level;
        EXPECT_EQ(planned.rest, level[0] == '-' ? "-2 /qn" : "/qn") << "the switch is cut all the same";
    }
}

TEST(OemOptionPlan, PresenceSwitchesWriteOneAndCountIsWrittenAsDecoded)
{
    const auto options = Apply(Plan("/noreboot /reseal /cto /count:-3").writes);
    EXPECT_EQ(options.at("INSTALL:NoReboot"), "1");
    EXPECT_EQ(options.at("INSTOPTS:Reseal"), "1");
    EXPECT_EQ(options.at("CTO"), "1");
    EXPECT_EQ(options.at("INSTOPTS:RebootCount"), "-3");
    EXPECT_EQ(options.size(), 4u);

    EXPECT_EQ(Apply(Plan("/count:").writes).at("INSTOPTS:RebootCount"), "0");
}

}  // namespace
