#include "common/narrow_text.h"

#include <gtest/gtest.h>

// "\x95\x5c" is one Shift-JIS character whose trail byte is a backslash.
TEST(NarrowText, DoubleByteCharactersAreSteppedOverWhole)
{
    EXPECT_EQ(text::CutAtLastChar("a\\b\\c.msi", '\\', text::ShiftJisCodePage()), "a\\b");
    EXPECT_EQ(text::CutAtLastChar("package.msi", '\\', text::ShiftJisCodePage()), "package.msi");
    EXPECT_EQ(text::CutAtLastChar("pkg\\\x95\x5cx", '\\', text::ShiftJisCodePage()), "pkg");
    EXPECT_EQ(text::CutAtLastChar("pkg\\\x95\x5cx", '\\', text::SingleByteCodePage()), "pkg\\\x95");
    // A lead byte just before the terminator is one byte; the walk ends there.
    EXPECT_EQ(text::FindLastChar("a.\x95", '.', text::ShiftJisCodePage()), 1u);
    EXPECT_EQ(text::WholeCharPrefixLength("ab\x95\x5c", 3, text::ShiftJisCodePage()), 2u);
    EXPECT_EQ(text::WholeCharPrefixLength("ab\x95\x5c", 4, text::ShiftJisCodePage()), 4u);
    EXPECT_EQ(text::WholeCharPrefixLength("ab\x95\x5c", 3, text::SingleByteCodePage()), 3u);
}

TEST(NarrowText, FormatTextSubstitutesArgumentsAsData)
{
    EXPECT_EQ(text::FormatText("%s and %s.", {"one", "two"}), "one and two.");
    EXPECT_EQ(text::FormatText("100%% of [%s]", {"%s %d %%"}), "100% of [%s %d %%]");
    EXPECT_EQ(text::FormatText("%s%s%", {"x"}), "x%");
}
