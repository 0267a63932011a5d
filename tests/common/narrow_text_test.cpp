#include "common/narrow_text.h"

#include <gtest/gtest.h>

namespace {

using text::CutAtLastChar;
using text::FormatText;
using text::ShiftJisCodePage;
using text::SingleByteCodePage;

// "\x95\x5c" is one Shift-JIS character whose trail byte is a backslash.
constexpr char kTrailBackslash[] = "\x95\x5c";

TEST(LastCharSearch, FindsTheLastWholeBackslash)
{
    EXPECT_EQ(CutAtLastChar("a\\b\\c.msi", '\\', SingleByteCodePage()), "a\\b");
    EXPECT_EQ(CutAtLastChar("package.msi", '\\', SingleByteCodePage()), "package.msi");
    EXPECT_EQ(CutAtLastChar("", '\\', SingleByteCodePage()), "");
    EXPECT_EQ(CutAtLastChar("\\x", '\\', SingleByteCodePage()), "");
}

TEST(LastCharSearch, StepsOverDoubleByteTrailBytes)
{
    const std::string folder = std::string("pkg\\") + kTrailBackslash + "x";
    // A trail byte that equals "\" is part of a character, not a separator.
    EXPECT_EQ(CutAtLastChar(folder, '\\', ShiftJisCodePage()), "pkg");
    // A single-byte code page sees the byte itself.
    EXPECT_EQ(CutAtLastChar(folder, '\\', SingleByteCodePage()), std::string("pkg\\\x95"));
}

TEST(LastCharSearch, LeadByteBeforeTheTerminatorEndsTheWalk)
{
    EXPECT_EQ(text::FindLastChar("a.\x95", '.', ShiftJisCodePage()), 1u);
}

TEST(WholeCharPrefix, NeverSplitsADoubleByteCharacter)
{
    const std::string value = std::string("ab") + kTrailBackslash;
    EXPECT_EQ(text::WholeCharPrefixLength(value.c_str(), 3, ShiftJisCodePage()), 2u);
    EXPECT_EQ(text::WholeCharPrefixLength(value.c_str(), 4, ShiftJisCodePage()), 4u);
    EXPECT_EQ(text::WholeCharPrefixLength(value.c_str(), 3, SingleByteCodePage()), 3u);
}

TEST(FormatText, SubstitutesEveryPlaceholderInOrder)
{
    EXPECT_EQ(FormatText("%s and %s.", {"one", "two"}), "one and two.");
    EXPECT_EQ(FormatText("100%% of %s", {"it"}), "100% of it");
    EXPECT_EQ(FormatText("%s%s", {"x"}), "x");
}

TEST(FormatText, TreatsArgumentsAsData)
{
    EXPECT_EQ(FormatText("[%s]", {"%s %d %%"}), "[%s %d %%]");
}

}  // namespace
