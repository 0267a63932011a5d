// The launcher with Wine's own msiexec.exe on the sample package of the build.
#include <gtest/gtest.h>

#include "launcher_harness.h"

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

}  // namespace
