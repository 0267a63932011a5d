#include "oem/oem_option_plan.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

struct Planned {
    std::vector<oem::OptionWrite> writes;
    std::string rest;
};

Planned Plan(const std::string& commandLine)
{
    std::vector<char> buffer(commandLine.c_str(), commandLine.c_str() + commandLine.size() + 1);
    oem::SwitchParser parser(buffer.data());
    std::vector<oem::OptionWrite> writes = oem::PlanOemOptions(parser);
    return {writes, buffer.data()};
}

// One "name=value" item per option written, in order.
std::string Render(const std::vector<oem::OptionWrite>& writes)
{
    std::string out;
    for (const oem::OptionWrite& write : writes) {
        EXPECT_NE(write.integerFailure, nullptr);
        out += std::string(write.integerName) + "=" + std::to_string(write.value) + " ";
        if (write.IsFactoryPair()) out += std::string(write.textName) + "=" + write.text + " ";
    }
    return out;
}

// What an options file holds after the writes are applied in order.
std::map<std::string, std::string> Apply(const std::vector<oem::OptionWrite>& writes)
{
    std::map<std::string, std::string> options;
    for (const oem::OptionWrite& write : writes) {
        options[write.integerName] = std::to_string(write.value);
        if (write.IsFactoryPair()) options[write.textName] = write.text;
    }
    return options;
}

TEST(OemOptionPlan, EveryRowInTheEditorsOrder)
{
    // Given in reverse order, the switches still come out in the editor's order.
    const Planned planned = Plan(
        "/cto /reseal /filenoexist:\"F0\" /fileexist:\"F1\" /keynoexist:\"K0\" /keyexist:\"K1\" "
        "/fw:2 /count:3 /noreboot /icon:1 /emo:1 /emi:0 /sb:1 /vg:1 /qn");
    EXPECT_EQ(Render(planned.writes),
              "INSTALL:EnableVigilux=1 INSTALL:EnableScriptBlocking=1 INSTALL:EnableEmailIn=0 "
              "INSTALL:EnableEmailOut=1 INSTALL:NoDeskTopIcon=0 INSTALL:NoReboot=1 INSTOPTS:RebootCount=3 "
              "INSTOPTS:FirewallSecurityLevel=2 "
              "INSTOPTS:FactoryRegKeyExists=1 INSTOPTS:FactoryRegKey=K1 "
              "INSTOPTS:FactoryRegKeyExists=0 INSTOPTS:FactoryRegKey=K0 "
              "INSTOPTS:FactoryFileExists=1 INSTOPTS:FactoryFile=F1 "
              "INSTOPTS:FactoryFileExists=0 INSTOPTS:FactoryFile=F0 "
              "INSTOPTS:Reseal=1 CTO=1 ");
    EXPECT_EQ(planned.writes[8].setting, oem::OemSetting::FactoryRegKey);
    EXPECT_EQ(planned.writes[13].setting, oem::OemSetting::Cto);
    EXPECT_EQ(planned.rest, "/qn");

    const Planned none = Plan("/qn TRANSFORMS=x.mst");
    EXPECT_TRUE(none.writes.empty());
    EXPECT_EQ(none.rest, "/qn TRANSFORMS=x.mst");
}

TEST(OemOptionPlan, SecondFactorySwitchWinsWhenAppliedInOrder)
{
    const auto options =
        Apply(Plan("/keynoexist:\"HKLM\\B\" /keyexist:\"HKLM\\A\" /fileexist:\"C:\\A\" /filenoexist:\"C:\\B\"").writes);
    EXPECT_EQ(options.at("INSTOPTS:FactoryRegKeyExists"), "0");
    EXPECT_EQ(options.at("INSTOPTS:FactoryRegKey"), "HKLM\\B");
    EXPECT_EQ(options.at("INSTOPTS:FactoryFileExists"), "0");
    EXPECT_EQ(options.at("INSTOPTS:FactoryFile"), "C:\\B");
}

TEST(OemOptionPlan, FirewallLevelOneWritesNothingButIsCut)
{
    EXPECT_EQ(Render(Plan("/fw:0").writes), "INSTOPTS:FirewallSecurityLevel=0 ");
    EXPECT_EQ(Render(Plan("/fw:2").writes), "INSTOPTS:FirewallSecurityLevel=2 ");
    for (const char* level : {"1", "7"}) {
        const Planned planned = Plan(std::string("/fw:") + level + " /qn");
        EXPECT_TRUE(planned.writes.empty()) << level;
        EXPECT_EQ(planned.rest, "/qn");
    }
}

TEST(OemOptionPlan, PresenceSwitchesWriteOneAndCountIsWrittenAsDecoded)
{
    EXPECT_EQ(Render(Plan("/count:-3 /cto /noreboot /reseal").writes),
              "INSTALL:NoReboot=1 INSTOPTS:RebootCount=-3 INSTOPTS:Reseal=1 CTO=1 ");
    EXPECT_EQ(Render(Plan("/count:").writes), "INSTOPTS:RebootCount=0 ");
}

}  // namespace
