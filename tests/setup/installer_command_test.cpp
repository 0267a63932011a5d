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

// The typical run, long inputs and exact text are the end-to-end and
// reliability suites'; here only how empty pieces keep their blanks.
TEST(InstallerCommandLine, EmptyPiecesKeepTheirBlanks)
{
    EXPECT_EQ(ComposeInstallerCommandLine("m", "p", "", "", "l"), "m /i \"p\"   l");
    EXPECT_EQ(ComposeInstallerCommandLine("m", "p", "A=1", "", "l"), "m /i \"p\" A=1  l");
    EXPECT_EQ(setup::InstallerWindowTitle("", "Setup"), " Setup");
}

TEST(InstallerCommandLine, LimitIsThatOfCreateProcess)
{
    EXPECT_TRUE(setup::FitsCommandLineLimit(std::string(32766, 'x')));
    EXPECT_FALSE(setup::FitsCommandLineLimit(std::string(32767, 'x')));
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
