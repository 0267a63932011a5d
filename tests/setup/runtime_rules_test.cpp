#include "setup/runtime_rules.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using setup::InstalledRuntimeIsOlder;
using setup::RestartNeededAfterUpdate;

// lstrcmpA orders digits and dots as a plain byte comparison does.
int ByteCompare(const char* left, const char* right) { return std::strcmp(left, right); }

bool IsOlder(const std::string& installed, const std::string& required)
{
    return InstalledRuntimeIsOlder(installed, required, text::SingleByteCodePage(), &ByteCompare);
}

TEST(RuntimeVersionComparison, TheLastFieldNeverCounts)
{
    EXPECT_FALSE(IsOlder("2.0.1.0", "2.0.1.1"));
    EXPECT_FALSE(IsOlder("2.0.26.0", "2.0.26.1"));
    EXPECT_FALSE(IsOlder("2.0.26.9", "2.0.26.0"));
    EXPECT_TRUE(IsOlder("2.0.26.0", "2.0.30.0"));
    EXPECT_TRUE(IsOlder("2.0.1.9", "2.0.2.0"));
}

TEST(RuntimeVersionComparison, ComparesAsTextNotAsNumbers)
{
    EXPECT_FALSE(IsOlder("1.2.0.0", "1.10.0.0"));
    EXPECT_TRUE(IsOlder("1.10.0.0", "1.2.0.0"));
    EXPECT_FALSE(IsOlder("2.0.9.0", "2.0.10.0"));
}

TEST(RuntimeVersionComparison, EmptyVersions)
{
    EXPECT_TRUE(IsOlder("", "2.0.2600.0"));
    EXPECT_TRUE(IsOlder("", "2"));
    EXPECT_FALSE(IsOlder("", ""));
    EXPECT_FALSE(IsOlder("5.0.2600.0", ""));
    // A required text whose only dot leads cuts to nothing: no update.
    EXPECT_FALSE(IsOlder("", ".5"));
}

TEST(RuntimeVersionComparison, TextWithoutDotStaysWhole)
{
    EXPECT_EQ(setup::ComparedVersionText("3", text::SingleByteCodePage()), "3");
    EXPECT_TRUE(IsOlder("2", "3"));
    EXPECT_FALSE(IsOlder("3", "3.0"));  // "3" against "3"
}

TEST(RuntimeVersionComparison, DotInsideADoubleByteCharacterIsNotCut)
{
    // 0x81 0x2E is one Shift-JIS character whose trail byte is a dot.
    const std::string version = "2.0\x81.";
    EXPECT_EQ(setup::ComparedVersionText(version, text::ShiftJisCodePage()), "2");
    EXPECT_EQ(setup::ComparedVersionText(version, text::SingleByteCodePage()), "2.0\x81");
}

constexpr std::uint32_t kNt = 2;

TEST(RestartRule, OnlyWindows98AndMeWithTheLibraryPresent)
{
    EXPECT_TRUE(RestartNeededAfterUpdate(true, setup::kPlatformWindows9x, 10));   // 98
    EXPECT_TRUE(RestartNeededAfterUpdate(true, setup::kPlatformWindows9x, 90));   // Me
    EXPECT_FALSE(RestartNeededAfterUpdate(true, setup::kPlatformWindows9x, 0));   // 95
    EXPECT_FALSE(RestartNeededAfterUpdate(false, setup::kPlatformWindows9x, 10));
    EXPECT_FALSE(RestartNeededAfterUpdate(false, setup::kPlatformWindows9x, 90));
    EXPECT_FALSE(RestartNeededAfterUpdate(true, kNt, 1));
    EXPECT_FALSE(RestartNeededAfterUpdate(true, kNt, 0));
}

}  // namespace
