#include "setup/installer_command.h"
#include "setup/setup_config.h"

#include <gtest/gtest.h>

namespace {

using setup::ComposeInstallerCommandLine;

TEST(SetupIniPath, ReplacesTheLastThreeCharacters)
{
    EXPECT_EQ(setup::SetupIniPath("C:\\Dist\\Setup.exe"), "C:\\Dist\\Setup.ini");
    EXPECT_EQ(setup::SetupIniPath("C:\\Dist\\install"), "C:\\Dist\\instini");
    EXPECT_EQ(setup::SetupIniPath("C:\\D.x\\setup.EXE"), "C:\\D.x\\setup.ini");
}

TEST(InstallerCommandLine, TypicalRun)
{
    const std::string line = ComposeInstallerCommandLine(
        setup::InstallerProgramPath("C:\\WINDOWS\\system32"),
        setup::PackagePath("D:\\Dist", "Package\\Product.msi"), "", "REBOOT=ReallySuppress",
        setup::VerboseLogArgument("C:\\WINDOWS"));
    EXPECT_EQ(line,
              "C:\\WINDOWS\\system32\\msiexec.exe /i \"D:\\Dist\\Package\\Product.msi\"  "
              "REBOOT=ReallySuppress /l*v C:\\WINDOWS\\Temp\\ZEL.log");
}

TEST(InstallerCommandLine, EmptyPiecesKeepTheirBlanks)
{
    EXPECT_EQ(ComposeInstallerCommandLine("m", "p", "", "", "l"), "m /i \"p\"   l");
    EXPECT_EQ(ComposeInstallerCommandLine("m", "p", "A=1", "", "l"), "m /i \"p\" A=1  l");
}

TEST(InstallerCommandLine, LongArgumentsArriveWhole)
{
    const std::string arguments(30000, 'x');
    const std::string line = ComposeInstallerCommandLine(
        "C:\\WINDOWS\\system32\\msiexec.exe", "C:\\Dist\\Product.msi", arguments,
        std::string(259, 'o'), "/l*v C:\\WINDOWS\\Temp\\ZEL.log");
    EXPECT_NE(line.find(arguments), std::string::npos);
    EXPECT_TRUE(setup::FitsCommandLineLimit(line));
}

TEST(InstallerCommandLine, LimitIsThatOfCreateProcess)
{
    EXPECT_TRUE(setup::FitsCommandLineLimit(std::string(32766, 'x')));
    EXPECT_FALSE(setup::FitsCommandLineLimit(std::string(32767, 'x')));
}

TEST(InstallerWindowTitle, ProductNameBlankCaption)
{
    EXPECT_EQ(setup::InstallerWindowTitle("Zove Antivirus", "Setup"), "Zove Antivirus Setup");
    EXPECT_EQ(setup::InstallerWindowTitle("", "Setup"), " Setup");
}

TEST(InstallerExitCodes, OnlyTheServiceFailuresMakeTheInstallerUnusable)
{
    for (std::uint32_t code : {1601u, 1613u, 1631u}) {
        EXPECT_TRUE(setup::ReportsInstallerUnusable(code)) << code;
    }
    for (std::uint32_t code : {0u, 1u, 1602u, 1603u, 1612u, 1614u, 1630u, 1632u, 3010u}) {
        EXPECT_FALSE(setup::ReportsInstallerUnusable(code)) << code;
    }
}

}  // namespace
