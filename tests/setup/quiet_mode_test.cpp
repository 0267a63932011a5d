#include "setup/quiet_mode.h"

#include <gtest/gtest.h>

using setup::QuietMode;

TEST(QuietMode, OnlyWholeUnquotedInstallerOptionsCount)
{
    // clang-format off
    const struct { const char* arguments; QuietMode mode; } rows[] = {
        {"", QuietMode::kNone},
        {"/q", QuietMode::kSilent},
        {"A=1 /QN B=2", QuietMode::kSilent},
        {"-qn+", QuietMode::kSilent},
        {"\t/qn-\t", QuietMode::kSilent},
        {"/Quiet", QuietMode::kSilent},
        {"/passive", QuietMode::kNoBoxes},
        {"-QB-", QuietMode::kNoBoxes},
        {"/qb!-", QuietMode::kNoBoxes},
        {"/qb-!", QuietMode::kNoBoxes},
        {"/passive /qn", QuietMode::kSilent},  // the quieter wins, in either order
        {"/qn /passive", QuietMode::kSilent},
        {"/qb /qr /qf /qb+ /qn! /quieter /vg:1 q", QuietMode::kNone},
        {"/qnx x/qn /q/", QuietMode::kNone},
        {"INSTALLDIR=\"C:\\a /qn b\" /vg:1", QuietMode::kNone},
        {"\"/qn\" \"open /passive", QuietMode::kNone},
        {"DIR=\"C:\\x\" /passive", QuietMode::kNoBoxes},
    };
    // clang-format on
    for (const auto& row : rows) EXPECT_EQ(setup::FindQuietMode(row.arguments), row.mode) << row.arguments;
}

TEST(QuietMode, OnlyAForcedRestartIsARequestToRestart)
{
    // clang-format off
    const struct { const char* arguments; bool requested; } rows[] = {
        {"/forcerestart", true},
        {"A=1 -ForceRestart", true},
        {"REBOOT=Force", true},
        {"REBOOT=\"force\" /qn", true},
        {"", false},
        {"/promptrestart /norestart REBOOT=ReallySuppress", false},
        {"reboot=Force REBOOT=Forced REBOOT= /forcerestartx", false},  // the property's name is case-sensitive
        {"DIR=\"C:\\a /forcerestart\"", false},
    };
    // clang-format on
    for (const auto& row : rows) EXPECT_EQ(setup::RestartRequested(row.arguments), row.requested) << row.arguments;
}

TEST(QuietMode, OptionsOfInstaller30AreSpelledForOlderInstallers)
{
    for (const char* version : {"3.0.3790.2180", "3.1.4000.1823", "4.5.6001.22159", "10.0"})
        EXPECT_TRUE(setup::KnowsInstaller30Options(version)) << version;
    for (const char* version : {"2.0.2600.2", "1.1", "", "x3.0", ".3"})
        EXPECT_FALSE(setup::KnowsInstaller30Options(version)) << version;

    // clang-format off
    const struct { const char* arguments; const char* spelled; std::size_t rewrites; } rows[] = {
        {"/quiet", "/qn", 1},
        {"-Passive  A=1\t/norestart", "/qb!-  A=1\tREBOOT=ReallySuppress", 2},
        {"/forcerestart /promptrestart B=2", "REBOOT=Force  B=2", 2},
        {"/qn /qb!- REBOOT=Force /quieter", "/qn /qb!- REBOOT=Force /quieter", 0},
        {"DIR=\"C:\\a /quiet\" \"/passive\"", "DIR=\"C:\\a /quiet\" \"/passive\"", 0},
    };
    // clang-format on
    for (const auto& row : rows) {
        const setup::Installer20Arguments spelled = setup::InInstaller20Dialect(row.arguments);
        EXPECT_EQ(spelled.arguments, row.spelled) << row.arguments;
        EXPECT_EQ(spelled.rewrites.size(), row.rewrites) << row.arguments;
    }
    EXPECT_EQ(setup::InInstaller20Dialect("/Quiet").rewrites,
              (std::vector<std::string>{"\"/Quiet\" passed as \"/qn\""}));
}
