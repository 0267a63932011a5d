// The launcher with Wine's own msiexec.exe on the sample package of the build.
#include <gtest/gtest.h>

#include <cstring>

#include "launcher_harness.h"
#include "options/options_library.h"

namespace {

TEST(SampleInstall, WinesInstallerInstallsTheSamplePackage)
{
    const std::string sample = harness::BinFolder() + "\\..\\sample-setup";
    ASSERT_TRUE(harness::FileExists(sample + "\\Package\\ZoveAntivirus.msi"));
    harness::LauncherFolder setup("C:\\sample");
    CreateDirectoryA("C:\\sample\\Package", nullptr);
    ASSERT_TRUE(CopyFileA((sample + "\\Setup.ini").c_str(), "C:\\sample\\Setup.ini", FALSE));
    ASSERT_TRUE(CopyFileA((sample + "\\Package\\ZoveAntivirus.msi").c_str(),
                          "C:\\sample\\Package\\ZoveAntivirus.msi", FALSE));
    const std::string log = harness::WindowsFolder() + "\\Temp\\ZEL.log";
    DeleteFileA(log.c_str());

    const auto result = harness::RunLauncher(setup.ExePath(), "", {}, 120000);

    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(result.boxes.empty());
    EXPECT_TRUE(harness::FileExists(log));
    EXPECT_NE(harness::ReadFileText(log).find("Zove Antivirus Sample"), std::string::npos);
    char programFiles[MAX_PATH] = {};
    ExpandEnvironmentStringsA("%ProgramFiles%", programFiles, MAX_PATH);
    EXPECT_TRUE(harness::FileExists(std::string(programFiles) +
                                    "\\Kestrova\\Zove Antivirus\\ReadMe.txt"));
}

// The integer a verified options file holds under `name`; -1000 when the
// file does not load or lacks the option.
std::int32_t IntegerOption(const std::string& path, const char* name)
{
    std::int32_t value = -1000;
    OptionsLibrary* handle = nullptr;
    if (OptionsCreateDefault(&handle) != OPTS_OK) return value;
    if (OptionsLoad(path.c_str(), handle, 1) == OPTS_OK) {
        if (const OptionRecord* record = OptionsFind(name, OPTION_TYPE_INTEGER, handle)) {
            std::memcpy(&value, OptionsViewRecord(record).value, 4);
        }
    }
    OptionsDestroy(handle);
    return value;
}

// The sample package copies the staged options file, found through the
// registry, to C:\windows\Temp\SampleOptionsSeen.dat while it installs.
TEST(SampleInstall, PackageFindsTheOemSwitchesInTheStagedOptions)
{
    const std::string sample = harness::BinFolder() + "\\..\\sample-setup";
    harness::LauncherFolder setup("C:\\sample");
    CreateDirectoryA("C:\\sample\\Package", nullptr);
    for (const char* file : {"Setup.ini", "Package\\ZoveAntivirus.msi", "Package\\instopts.dat"}) {
        ASSERT_TRUE(CopyFileA((sample + "\\" + file).c_str(), ("C:\\sample\\" + std::string(file)).c_str(), FALSE));
    }
    const std::string seen = harness::WindowsFolder() + "\\Temp\\SampleOptionsSeen.dat";
    DeleteFileA(seen.c_str());

    const auto result = harness::RunLauncher(setup.ExePath(), "/vg:1 /noreboot", {}, 120000);

    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(IntegerOption(seen, "INSTALL:EnableVigilux"), 1);
    EXPECT_EQ(IntegerOption(seen, "INSTALL:NoReboot"), 1);
    EXPECT_EQ(IntegerOption(seen, "INSTALL:EnableScriptBlocking"), 1);  // shipped, untouched
    EXPECT_EQ(IntegerOption("C:\\sample\\Package\\instopts.dat", "INSTALL:EnableVigilux"), 0);
    EXPECT_FALSE(harness::FileExists(harness::WindowsFolder() + "\\TEMP\\instopts.dat"));
}

}  // namespace
