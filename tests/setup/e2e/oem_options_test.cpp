// OEM switches end to end under Wine: the launcher stages the shipped options
// file, writes the switches into the staged copy, and the stub installer
// takes a snapshot of what it finds while it runs.
#include <gtest/gtest.h>

#include "launcher_harness.h"
#include "options_test_support.h"

namespace {

using harness::LauncherFolder;
using harness::RunLauncher;
using harness::StubInstaller;

constexpr char kShippedFile[] = "C:\\setuptest\\Package\\instopts.dat";

const std::map<std::string, std::string> kIni = {
    {"ProductName", "Zove Antivirus"},
    {"ProductFile", "Package\\Product.msi"},
    {"ProductOpts", "REBOOT=ReallySuppress"},
};

std::string StagedPath() { return harness::WindowsFolder() + "\\TEMP\\instopts.dat"; }

using options_test::IntegerRecord;
using options_test::PlainRecord;
using options_test::TextRecord;

// Options as the tests state them: "name=1" or "name=\"text\"".
std::string Int(const std::string& name, std::int32_t value) { return name + "=" + std::to_string(value); }
std::string Text(const std::string& name, const std::string& value) { return name + "=\"" + value + "\""; }

// A file of `records`, in file order.
void WriteOptionsFile(const std::string& path, const std::vector<PlainRecord>& records)
{
    options_test::OptionsFileBuilder builder;
    for (const PlainRecord& record : records) builder.Add(record);
    options_test::WriteFileBytes(path, builder.Build());
}

// The options of a file in file order, read with the digest checked; empty
// when the file does not load.
std::vector<std::string> ReadOptionsFile(const std::string& path)
{
    std::vector<std::string> options;
    options_test::Handle handle;
    if (OptionsLoad(path.c_str(), handle.get(), 1) != OPTS_OK) return options;
    for (const options_test::RecordSummary& r : options_test::Records(handle.get())) {
        const std::int32_t integer = static_cast<std::int32_t>(options_test::GetLittleEndian32(r.value.data()));
        const std::string text(reinterpret_cast<const char*>(r.value.data()));
        options.insert(options.begin(), r.type == OPTION_TYPE_STRING ? Text(r.name, text) : Int(r.name, integer));
    }
    return options;
}

std::string InstallerArguments(const std::string& installerCommandLine)
{
    const std::string afterPackage = "Product.msi\" ";
    const std::size_t start = installerCommandLine.find(afterPackage) + afterPackage.size();
    const std::size_t end = installerCommandLine.find(" REBOOT=ReallySuppress /l*v");
    return installerCommandLine.substr(start, end - start);
}

class OemOptions : public ::testing::Test {
protected:
    void SetUp() override
    {
        setup_.WriteIni(kIni);
        CreateDirectoryA("C:\\setuptest\\Package", nullptr);
    }
    void Ship(const std::vector<PlainRecord>& records)
    {
        WriteOptionsFile(kShippedFile, records);
        shippedBytes_ = harness::ReadFileText(kShippedFile);
    }
    // Runs the launcher; the installer's arguments and the staged options as
    // the installer found them.
    void Run(const std::string& arguments)
    {
        const auto result = RunLauncher(setup_.ExePath(), arguments);
        ASSERT_EQ(result.exitCode, 0u);
        ASSERT_EQ(stub_.InstallCalls().size(), 1u);
        installerArguments_ = InstallerArguments(stub_.InstallCalls()[0]);
        publishedPath_ = harness::ReadFileText("C:\\stubinst\\instopts-value1.txt");
        staged_ = ReadOptionsFile("C:\\stubinst\\staged1.dat");
    }
    void ExpectCleanedUp()
    {
        EXPECT_FALSE(harness::FileExists(StagedPath()));
        EXPECT_FALSE(harness::MachineKeyExists("Software\\Kestrova")) << "the maker's key is left although it is empty";
        EXPECT_EQ(harness::ReadFileText(kShippedFile), shippedBytes_);
    }

    StubInstaller stub_;
    LauncherFolder setup_;
    std::string shippedBytes_;
    std::string installerArguments_;
    std::string publishedPath_;
    std::vector<std::string> staged_;
};

TEST_F(OemOptions, SwitchesBecomeOptionsAndNeverReachTheInstaller)
{
    Ship({IntegerRecord("INSTOPTS:FirewallSecurityLevel", 1), TextRecord("Existing", "kept")});

    Run("PROP=1 /vg:1 /noreboot /count:3 /fw:2 /cto /keyexist:\"HKLM\\Software\\Maker\"");

    EXPECT_EQ(installerArguments_, "PROP=1 ");
    EXPECT_EQ(publishedPath_, StagedPath());
    // Saved head first: the newest option leads the file.
    EXPECT_EQ(staged_, (std::vector<std::string>{
                           Int("CTO", 1),
                           Text("INSTOPTS:FactoryRegKey", "HKLM\\Software\\Maker"),
                           Int("INSTOPTS:FactoryRegKeyExists", 1),
                           Int("INSTOPTS:FirewallSecurityLevel", 2),
                           Int("INSTOPTS:RebootCount", 3),
                           Int("INSTALL:NoReboot", 1),
                           Int("INSTALL:EnableVigilux", 1),
                           Text("Existing", "kept"),
                       }));
    ExpectCleanedUp();
}

TEST_F(OemOptions, WithoutSwitchesTheFileIsStillStagedAndSaved)
{
    Ship({TextRecord("B", "two"), IntegerRecord("A", 1)});

    Run("");

    EXPECT_EQ(publishedPath_, StagedPath());
    // The shipped file holds B, A; load and save turn the order around.
    EXPECT_EQ(staged_, (std::vector<std::string>{Int("A", 1), Text("B", "two")}));
    ExpectCleanedUp();
}

TEST_F(OemOptions, TheLaterOfTwoKeySwitchesWins)
{
    Ship({});

    Run("/keyexist:\"HKLM\\A\" /keynoexist:\"HKLM\\B\" /fileexist:\"C:\\f.txt\"");

    EXPECT_EQ(installerArguments_, "");
    EXPECT_EQ(staged_, (std::vector<std::string>{
                           Text("INSTOPTS:FactoryFile", "C:\\f.txt"),
                           Int("INSTOPTS:FactoryFileExists", 1),
                           Text("INSTOPTS:FactoryRegKey", "HKLM\\B"),
                           Int("INSTOPTS:FactoryRegKeyExists", 0),
                       }));
}

TEST_F(OemOptions, FirewallLevelOneKeepsTheShippedSetting)
{
    for (const char* level : {"0", "1", "2"}) {
        SCOPED_TRACE(level);
        DeleteFileA("C:\\stubinst\\state.ini");
        DeleteFileA("C:\\stubinst\\calls.txt");
        Ship({IntegerRecord("INSTOPTS:FirewallSecurityLevel", 7)});

        Run(std::string("/fw:") + level);

        const std::int32_t expected = level[0] == '1' ? 7 : level[0] - '0';
        EXPECT_EQ(staged_, (std::vector<std::string>{Int("INSTOPTS:FirewallSecurityLevel", expected)}));
    }
}

TEST_F(OemOptions, NothingIsPublishedWithoutAFreshCopy)
{
    // No shipped file, and an earlier run's staged file still in place:
    // loading that file would work, but the package is only ever pointed at
    // a copy made by this run. The same holds for a folder in the way.
    harness::SetDebugLogMode(1);
    for (const bool folderInTheWay : {false, true}) {
        SCOPED_TRACE(folderInTheWay ? "folder" : "stale file");
        DeleteFileA("C:\\stubinst\\state.ini");
        DeleteFileA("C:\\stubinst\\calls.txt");
        if (folderInTheWay) {
            Ship({IntegerRecord("Fresh", 1)});
            CreateDirectoryA(StagedPath().c_str(), nullptr);
            harness::WriteFileText(StagedPath() + "\\inside.txt", "x");
        } else {
            WriteOptionsFile(StagedPath(), {IntegerRecord("Stale", 1)});
        }

        Run("/vg:1 /cto");

        EXPECT_EQ(installerArguments_, "");
        EXPECT_EQ(publishedPath_, "");
        if (folderInTheWay) {
            EXPECT_TRUE(harness::FileExists(StagedPath() + "\\inside.txt"));
        } else {
            EXPECT_FALSE(harness::FileExists(StagedPath()));
        }
        const std::string log = harness::ReadFileText("C:\\setuptest\\RIDEvuz.log");
        EXPECT_NE(log.find("Exception: Unable to copy the InstOpts.dat file to the TEMP folder (error "),
                  std::string::npos) << log;
    }
}

// A standard user may plant a hard link at any of setup's fixed names in the
// Windows TEMP folder; none of setup's writes (nor the installer's log) may
// reach the file it points to.
TEST_F(OemOptions, LinksPlantedAtFixedNamesAreNeverWrittenThrough)
{
    const std::string temp = harness::WindowsFolder() + "\\TEMP\\";
    for (const char* name : {"instopts.dat", "instopts.dat.new", "ZEL.log"}) {
        SCOPED_TRACE(name);
        DeleteFileA("C:\\stubinst\\state.ini");
        DeleteFileA("C:\\stubinst\\calls.txt");
        Ship({IntegerRecord("Fresh", 1)});
        harness::WriteFileText("C:\\victim.txt", "not for setup");
        DeleteFileA((temp + name).c_str());
        ASSERT_TRUE(CreateHardLinkA((temp + name).c_str(), "C:\\victim.txt", nullptr));

        Run("/vg:1");

        EXPECT_EQ(harness::ReadFileText("C:\\victim.txt"), "not for setup");
        EXPECT_EQ(publishedPath_, StagedPath());
        EXPECT_EQ(staged_, (std::vector<std::string>{Int("INSTALL:EnableVigilux", 1), Int("Fresh", 1)}));
        ExpectCleanedUp();
    }
}

TEST_F(OemOptions, MissingTempFolderIsCreated)
{
    Ship({});
    const std::string temp = harness::WindowsFolder() + "\\TEMP";
    harness::RemoveFolder(temp);
    ASSERT_FALSE(harness::FileExists(temp));

    Run("/noreboot");

    EXPECT_EQ(staged_, (std::vector<std::string>{Int("INSTALL:NoReboot", 1)}));
    ExpectCleanedUp();
}

TEST_F(OemOptions, DamagedShippedFileIsLoggedAndNothingIsApplied)
{
    Ship({IntegerRecord("A", 1)});
    std::string damaged = shippedBytes_;
    damaged[damaged.size() - 1] ^= 0x01;
    harness::WriteFileText(kShippedFile, damaged);
    shippedBytes_ = damaged;
    harness::SetDebugLogMode(1);

    Run("FOO=1 /vg:1 /count:5");

    EXPECT_EQ(installerArguments_, "FOO=1 ");
    EXPECT_TRUE(staged_.empty());  // the damaged copy, untouched
    EXPECT_EQ(harness::ReadFileText("C:\\stubinst\\staged1.dat"), damaged);
    const std::string log = harness::ReadFileText("C:\\setuptest\\RIDEvuz.log");
    EXPECT_NE(log.find("Log started at "), std::string::npos) << log;
    EXPECT_NE(log.find("Exception: Unable to load the InstOpts.dat file.\r\n"), std::string::npos)
        << log;
    // "DebugLog" keeps the maker's key in place; only the staged value goes.
    EXPECT_FALSE(harness::FileExists(StagedPath()));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Kestrova", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_NE(RegQueryValueExA(key, "Instopts", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(key, "DebugLog", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    RegCloseKey(key);
}

}  // namespace
