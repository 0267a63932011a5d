#include "setup/installer_command.h"
#include "setup/setup_config.h"

#include <gtest/gtest.h>

TEST(SetupIniPath, ReplacesTheLastThreeCharacters)
{
    EXPECT_EQ(setup::SetupIniPath("C:\\D.x\\setup.EXE"), "C:\\D.x\\setup.ini");
    EXPECT_EQ(setup::SetupIniPath("C:\\Dist\\install"), "C:\\Dist\\instini");
}

// The typical command line and the longest inputs are the end-to-end and
// reliability suites'; here the blanks of empty pieces and the length bound.
TEST(InstallerCommandLine, EmptyPiecesKeepTheirBlanksWithinTheCreateProcessLimit)
{
    EXPECT_EQ(setup::ComposeInstallerCommandLine("m", "p", "", "", "l"), "m /i \"p\"   l");
    EXPECT_EQ(setup::ComposeInstallerCommandLine("m", "p", "A=1", "", "l"), "m /i \"p\" A=1  l");
    EXPECT_EQ(setup::ComposeInstallerCommandLine("m", "p", "", "B=2", "l"), "m /i \"p\"  B=2 l");
    EXPECT_EQ(setup::InstallerWindowTitle("", "Setup"), " Setup");
    EXPECT_EQ(setup::VerboseLogArgument(setup::InstallerLogPath("C:\\WINDOWS")), "/l*v C:\\WINDOWS\\Temp\\ZEL.log");
    EXPECT_EQ(setup::VerboseLogArgument(setup::InstallerLogPath("D:\\My Windows")),
              "/l*v \"D:\\My Windows\\Temp\\ZEL.log\"");
    EXPECT_TRUE(setup::FitsCommandLineLimit(std::string(32766, 'x')));
    EXPECT_FALSE(setup::FitsCommandLineLimit(std::string(32767, 'x')));
}

TEST(InstallerExitCodes, OnlyTheServiceFailuresMakeTheInstallerUnusable)
{
    for (std::uint32_t code : {1601u, 1613u, 1631u}) EXPECT_TRUE(setup::ReportsInstallerUnusable(code)) << code;
    for (std::uint32_t code : {0u, 1600u, 1602u, 1603u, 1612u, 1614u, 1630u, 1632u, 3010u})
        EXPECT_FALSE(setup::ReportsInstallerUnusable(code)) << code;
}
