#include "setup/quiet_mode.h"

#include <gtest/gtest.h>

using setup::QuietMode;

TEST(QuietMode, OnlyWholeUnquotedInstallerOptionsCount)
{
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
    for (const auto& row : rows) EXPECT_EQ(setup::FindQuietMode(row.arguments), row.mode) << row.arguments;
}
