// The longest inputs the launcher takes: every configuration value at its
// 259-character bound, and a command line of 30,000 characters. Buffers are
// sized exactly, so an overrun by one byte is caught by the sanitizers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "oem/oem_option_plan.h"
#include "oem/switch_parser.h"
#include "setup/installer_command.h"
#include "setup/runtime_rules.h"
#include "setup/setup_config.h"

namespace {

constexpr std::size_t kLongestValue = setup::kConfigValueBytes - 1;
constexpr std::size_t kArgumentLength = 30000;

// Installer properties up to exactly `length` characters.
std::string LongArguments(std::size_t length)
{
    std::string arguments;
    while (arguments.size() < length) arguments += "PROPERTY" + std::to_string(arguments.size()) + "=1 ";
    arguments.resize(length, 'x');
    return arguments;
}

std::string ValueOf(char fill, const std::string& start = std::string())
{
    return start + std::string(kLongestValue - start.size(), fill);
}

TEST(LongestInputs, InstallerCommandLineCarriesEveryValueWhole)
{
    const std::string productFile = ValueOf('P', "Package\\");
    const std::string productOptions = ValueOf('O');
    const std::string productName = ValueOf('N');
    const std::string arguments = LongArguments(kArgumentLength);
    const std::string setupFolder = "C:\\Dist";

    const std::string line = setup::ComposeInstallerCommandLine(
        setup::InstallerProgramPath("C:\\WINDOWS\\system32"), setup::PackagePath(setupFolder, productFile),
        arguments, productOptions, setup::VerboseLogArgument("C:\\WINDOWS"));

    EXPECT_EQ(line, "C:\\WINDOWS\\system32\\msiexec.exe /i \"C:\\Dist\\" + productFile + "\" " + arguments + " " +
                        productOptions + " /l*v C:\\WINDOWS\\Temp\\ZEL.log");
    EXPECT_TRUE(setup::FitsCommandLineLimit(line));
    EXPECT_EQ(setup::InstallerWindowTitle(productName, "Setup"), productName + " Setup");
    EXPECT_EQ(setup::RuntimeUpdatePath(setupFolder, ValueOf('R')), setupFolder + "\\" + ValueOf('R'));
    EXPECT_EQ(setup::ResumeShortcutPath("C:\\Startup", productName), "C:\\Startup\\" + productName + ".lnk");
}

TEST(LongestInputs, RuntimeVersionsOfTheLongestLengthCompare)
{
    const std::string required = ValueOf('0', "3.1.");
    const auto compare = [](const char* a, const char* b) { return std::strcmp(a, b); };
    EXPECT_TRUE(setup::InstalledRuntimeIsOlder("2.0.2600.0", required, text::SingleByteCodePage(), compare));
    EXPECT_FALSE(setup::InstalledRuntimeIsOlder(required, required, text::SingleByteCodePage(), compare));
    EXPECT_FALSE(setup::InstalledRuntimeIsOlder("5.0.2600.0", ValueOf('9', "4"), text::SingleByteCodePage(), compare));
}

// Every OEM switch at the far end of a 30,000-character command line, the
// quoted ones with texts at their 259-character bound.
TEST(LongestInputs, SwitchesAtTheEndOfAThirtyThousandCharacterLine)
{
    const std::string keyPath = ValueOf('k', "HKLM\\Software\\");
    const std::string filePath = ValueOf('f', "C:\\");
    const std::string switches = "/vg:1 /sb:1 /emi:1 /emo:1 /icon:1 /noreboot /count:3 /fw:2 /reseal /cto "
                                 "/keyexist:\"" + keyPath + "\" /fileexist:\"" + filePath + "\"";
    const std::string arguments = LongArguments(kArgumentLength - switches.size());
    std::vector<char> commandLine(arguments.begin(), arguments.end());
    commandLine.insert(commandLine.end(), switches.begin(), switches.end());
    ASSERT_EQ(commandLine.size(), kArgumentLength);
    commandLine.push_back('\0');

    oem::SwitchParser parser(commandLine.data());
    const std::vector<oem::OptionWrite> writes = oem::PlanOemOptions(parser);

    ASSERT_EQ(writes.size(), 12u);
    for (const oem::OptionWrite& write : writes) {
        if (!write.IsFactoryPair()) continue;
        EXPECT_EQ(write.value, 1);
        EXPECT_EQ(write.text, write.setting == oem::OemSetting::FactoryRegKey ? keyPath : filePath);
    }
    // The switches are cut out; the properties before them stay as they were.
    const std::string rest = commandLine.data();
    EXPECT_EQ(rest.substr(0, arguments.size()), arguments);
    EXPECT_EQ(rest.find_first_not_of(' ', arguments.size()), std::string::npos) << rest.substr(arguments.size());
}

// A quoted text beyond the bound, at the very end of the buffer and never
// closed, is cut at 259 characters without reading past the terminator.
TEST(LongestInputs, UnclosedQuotedTextAtTheEndOfTheLine)
{
    const std::string tail = "/filenoexist:\"" + std::string(400, 'u');
    std::string text = LongArguments(kArgumentLength - tail.size()) + tail;
    std::vector<char> commandLine(text.begin(), text.end());
    commandLine.push_back('\0');

    oem::SwitchParser parser(commandLine.data());
    std::vector<char> found(oem::kSwitchTextCapacity);
    ASSERT_TRUE(parser.GetFileNoExistPath(found.data(), found.size()));
    EXPECT_EQ(std::string(found.data()), std::string(kLongestValue, 'u'));
}

}  // namespace
