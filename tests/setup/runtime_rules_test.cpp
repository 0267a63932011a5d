#include "setup/runtime_rules.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(RuntimeVersionComparison, AsTextWithoutTheLastField)
{
    // clang-format off
    const struct { const char* installed; const char* required; bool older; } cases[] = {
        {"2.0.26.0", "2.0.26.1", false}, {"2.0.26.9", "2.0.26.0", false}, {"2.0.1.9", "2.0.2.0", true},
        {"1.2.0.0", "1.10.0.0", false},  {"", "2.0.2600.0", true},        {"5.0.2600.0", "", false},
        {"", ".5", false},  // a required text whose only dot leads cuts to nothing
        {"2", "3", true},                {"3", "3.0", false},             // "3" against "3"
        {"3.1.4000", "3.1.4000.2435", true},  // "3.1" against "3.1.4000"
    };
    // clang-format on
    for (const auto& c : cases) {
        // lstrcmpA orders digits and dots as a plain byte comparison does.
        EXPECT_EQ(setup::InstalledRuntimeIsOlder(c.installed, c.required, text::SingleByteCodePage(), &std::strcmp),
                  c.older)
            << c.installed << " against " << c.required;
    }
    // 0x81 0x2E is one Shift-JIS character whose trail byte is a dot.
    EXPECT_EQ(setup::ComparedVersionText("2.0\x81.", text::ShiftJisCodePage()), "2");
}

TEST(RestartRule, OnlyWindows98AndMeWithTheLibraryPresent)
{
    constexpr std::uint32_t k9x = setup::kPlatformWindows9x, kNt = 2;
    EXPECT_TRUE(setup::RestartNeededAfterUpdate(true, k9x, 10));  // 98
    EXPECT_TRUE(setup::RestartNeededAfterUpdate(true, k9x, 90));  // Me
    EXPECT_FALSE(setup::RestartNeededAfterUpdate(true, k9x, 0));  // 95
    EXPECT_FALSE(setup::RestartNeededAfterUpdate(false, k9x, 10));
    EXPECT_FALSE(setup::RestartNeededAfterUpdate(true, kNt, 1));
}
